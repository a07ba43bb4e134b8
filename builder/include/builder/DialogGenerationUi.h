#pragma once

#include "codegen/GenerationUi.h"

#include <string>

class CTavScreen;

namespace tav::builder {

// Answers the code generator's questions with the designer's modal dialogs over a parent screen. How
// files are handled is the destination dialog's choice.
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

    // The folder the destination dialog gave last; empty before.
    const std::string& ChosenFolder() const { return m_chosen; }

protected:
    CTavScreen* m_parent;

private:
    FileHandling m_handling;
    std::string m_chosen;
};

// Build and Run's answers: the destination is `folder` (made when missing), bitmaps are copied, existing
// files keep the user's code, and neither an overwrite question nor the completion message is shown;
// the startup-screen question and the errors are the dialogs'.
class BuildRunGenerationUi : public DialogGenerationUi {
public:
    BuildRunGenerationUi(CTavScreen* parent, std::string folder)
        : DialogGenerationUi(parent), m_folder(std::move(folder)) {}

    int AskOverwrite(const std::string&) override { return kAnswerAlways; }
    bool AskYesNo(YesNoQuestion which, const std::string& question) override;
    void ShowMessage(const std::string& message, MessageKind kind) override;
    std::optional<std::string> ChooseDestination(DestinationRequest request) override;
    void Warn(const std::string& message) override {
        DialogGenerationUi::ShowMessage(message, MessageKind::Information);
    }
    FileHandling Handling() const override { return {.keepUserCode = true, .dryRun = false}; }

private:
    std::string m_folder;
};

} // namespace tav::builder
