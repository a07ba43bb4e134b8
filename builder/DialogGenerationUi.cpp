#include "builder/DialogGenerationUi.h"

#include "builder/DestinationDialog.h"
#include "builder/OverwriteBox.h"
#include "builder/ScreenListDialog.h"
#include "tavctrls/TavCtrls.h"

#include <filesystem>
#include <system_error>

namespace tav::builder {

int DialogGenerationUi::AskOverwrite(const std::string& message) {
    return OverwriteBox::Ask(m_parent, message);
}

bool DialogGenerationUi::AskYesNo(YesNoQuestion, const std::string& question) {
    return m_parent != nullptr && m_parent->QuestionBox(question.c_str()) == TRUE;
}

void DialogGenerationUi::ShowMessage(const std::string& message, MessageKind) {
    if (m_parent != nullptr)
        m_parent->MessageBox(message.c_str());
}

std::optional<std::string> DialogGenerationUi::ChooseStartupScreen(const Project& project) {
    auto* dialog = new ScreenListDialog;
    dialog->project = &project;
    dialog->typeFilter = 1; // full screens only
    return DialogKit::Run(m_parent, dialog, [](const ScreenListDialog& done) -> std::optional<std::string> {
        if (!done.confirmed)
            return std::nullopt;
        return done.chosenName;
    });
}

std::optional<std::string> DialogGenerationUi::ChooseDestination(DestinationRequest) {
    bool keep = m_handling.keepUserCode;
    std::optional<std::string> folder = DestinationDialog::Ask(m_parent, &keep);
    m_handling.keepUserCode = keep;
    if (folder)
        m_chosen = *folder;
    return folder;
}

void DialogGenerationUi::Warn(const std::string& message) {
    ShowMessage(message, MessageKind::Information);
}

bool BuildRunGenerationUi::AskYesNo(YesNoQuestion which, const std::string& question) {
    return which != YesNoQuestion::SelectStartupScreen || DialogGenerationUi::AskYesNo(which, question);
}

void BuildRunGenerationUi::ShowMessage(const std::string& message, MessageKind kind) {
    if (kind == MessageKind::Error)
        DialogGenerationUi::ShowMessage(message, kind);
}

std::optional<std::string> BuildRunGenerationUi::ChooseDestination(DestinationRequest) {
    std::error_code error;
    if (!std::filesystem::is_directory(m_folder, error) &&
        (!std::filesystem::create_directories(m_folder, error) || error)) {
        ShowMessage("Cannot create the folder " + m_folder, MessageKind::Error);
        return std::nullopt;
    }
    return m_folder;
}

} // namespace tav::builder
