#include "builder/DestinationDialog.h"

#include "ModalRun.h"
#include "builder/Choosers.h"
#include "builder/FormControls.h"
#include "codegen/BitmapRelocation.h"

#include <algorithm>

namespace tav::builder {

namespace {

// "Browse" is wider than its 50 pixels in the dialogs' bold face: a smaller one, centred.
void FitCaption(CTavButton* button) {
    constexpr int kHeight = 13;
    CTavSurface probe;
    int width = 0;
    if (probe.Create(1, 1) != TAVERROR_OK ||
        !probe.GetTextExtent(button->GetCaption(), "Verdana", 0, kHeight, FW_BOLD, &width, nullptr))
        return;
    button->SetFont("Verdana", 0, kHeight, FW_BOLD);
    button->SetTextOffset(std::max(0, (button->GetWidth() - width) / 2), (button->GetHeight() - kHeight) / 2);
}

} // namespace

void DestinationDialog::AfterInitialize() {
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddLabel(this, kCaption, "Select Destination Directory:", 35, 35, 200, 20);
    CTavEdit* edit = AddEdit(this, kFolderEdit, "", 35, 60, 200, 20);
    // Typing goes straight into the folder field.
    SetFocus(TRUE);
    if (edit != nullptr)
        edit->SetFocus(TRUE);
    if (CTavButton* browse = AddButton(this, kBrowseButton, "Browse", 240, 60))
        FitCaption(browse);
    AddButton(this, kCancelButton, "Cancel", GetWidth() - 70, GetHeight() - 40);
    AddButton(this, kOkButton, "OK", GetWidth() - 130, GetHeight() - 40);
}

CTavEdit* DestinationDialog::FolderEdit() const {
    return dynamic_cast<CTavEdit*>(GetObjectByID(kFolderEdit));
}

BOOL DestinationDialog::OnButtonDown(DWORD bID) {
    switch (bID) {
    case kCancelButton:
        m_result = 0;
        Close();
        return TRUE;
    case kOkButton: {
        const CTavEdit* edit = FolderEdit();
        m_folder = edit != nullptr ? edit->GetText() : "";
        if (m_folder.empty())
            MessageBox("You have to specify a directory");
        else if (EnsureDirectory(m_folder)) {
            m_result = 1;
            Close();
            return TRUE;
        }
        // Stays open: back to the field for a correction.
        if (CTavEdit* field = FolderEdit())
            field->SetFocus(TRUE);
        return TRUE;
    }
    case kBrowseButton:
        BrowseForDestination();
        return TRUE;
    default:
        return FALSE;
    }
}

bool DestinationDialog::EnsureDirectory(const std::string& folder) {
    if (tav::IsDirectory(folder))
        return true;
    if (!QuestionBox("Directory does not exist. Do you wish to create it?"))
        return false;
    // Only the last component is made: a folder whose parent is missing fails.
    if (tav::CreateOneDirectory(folder))
        return true;
    MessageBox("Error creating directory");
    return false;
}

void DestinationDialog::BrowseForDestination() {
    CTavEdit* edit = FolderEdit();
    const std::optional<std::string> chosen = ChooseFolder(this, edit != nullptr ? edit->GetText() : "");
    if (!chosen)
        return;
    m_folder = *chosen;
    if (edit != nullptr) {
        edit->SetText(m_folder.c_str());
        edit->SetCaretPosition(static_cast<int>(m_folder.size()));
    }
}

std::optional<std::string> DestinationDialog::Ask(CTavScreen* parent, int x, int y, int width, int height) {
    return RunModal(parent, new DestinationDialog, x, y, width, height,
                    [](const DestinationDialog& done) -> std::optional<std::string> {
                        if (done.GetResult() != 1)
                            return std::nullopt;
                        return done.GetFolder();
                    });
}

} // namespace tav::builder
