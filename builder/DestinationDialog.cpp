#include "builder/DestinationDialog.h"

#include "builder/Choosers.h"
#include "codegen/BitmapRelocation.h"
#include "codegen/GeneratedFile.h"

namespace tav::builder {

DestinationDialog::DestinationDialog() : DialogKit(380, 150) {}

void DestinationDialog::AfterInitialize() {
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddLabel(kCaption, "Select Destination Directory:", kMargin + 8, 24, 260);
    const int browseX = GetWidth() - kMargin - 8 - kButtonWidth;
    AddEdit(kFolderEdit, "", kMargin + 8, 50, browseX - kMargin - 16);
    AddButton(kBrowseButton, "Browse", browseX, 49);
    AddCheckBox(kKeepCheck, "Keep my code (merge with the new design)", kMargin + 8, 80, 300);
    AddOkCancel(kOkButton, kCancelButton);
    FollowFolder();
}

void DestinationDialog::FollowFolder() {
    const std::string text = TextOf(this, kFolderEdit);
    if (m_keepSet || text == m_followed)
        return;
    m_followed = text;
    m_keepUserCode = !text.empty() && HoldsGeneratedFiles(text);
    SetValueOf(this, kKeepCheck, m_keepUserCode ? TRUE : FALSE);
}

void DestinationDialog::AfterBackBufferRedrawn() {
    FollowFolder();
    DialogKit::AfterBackBufferRedrawn();
}

void DestinationDialog::OnCheckBoxClick(DWORD cID, BOOL newValue) {
    if (cID != kKeepCheck)
        return;
    m_keepSet = true;
    m_keepUserCode = newValue == TRUE;
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
            ShowError("You have to specify a directory");
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
    ShowError("Error creating directory");
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

std::optional<std::string> DestinationDialog::Ask(CTavScreen* parent, bool* keepUserCode) {
    return Run(parent, new DestinationDialog,
               [keepUserCode](const DestinationDialog& done) -> std::optional<std::string> {
                   if (done.GetResult() != 1)
                       return std::nullopt;
                   if (keepUserCode != nullptr)
                       *keepUserCode = done.GetKeepUserCode();
                   return done.GetFolder();
               });
}

} // namespace tav::builder
