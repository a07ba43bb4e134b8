#pragma once

#include "codegen/GenerationUi.h"

class CTavScreen;

namespace tav::builder {

// Answers the code generator's questions with the designer's modal dialogs over a parent screen. How
// files are handled is the destination dialog's choice, or what a derived command sets.
class DialogGenerationUi : public GenerationUi {
public:
    explicit DialogGenerationUi(CTavScreen* parent) : m_parent(parent) {}

    int AskOverwrite(const std::string& message) override;
    bool AskYesNo(YesNoQuestion which, const std::string& question) override;
    void ShowMessage(const std::string& message, MessageKind kind) override;
    std::optional<std::string> ChooseStartupScreen(const Project& project) override;
    std::optional<std::string> ChooseDestination(DestinationRequest request) override;
    void Warn(const std::string& message) override;
    FileHandling Handling() const override { return m_handling; }

protected:
    CTavScreen* m_parent;
    FileHandling m_handling;
};

} // namespace tav::builder
