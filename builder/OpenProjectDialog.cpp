#include "builder/OpenProjectDialog.h"

#include "builder/FormControls.h"

namespace tav::builder {

void OpenProjectDialog::AfterInitialize() {
    const int w = GetWidth();
    const int h = GetHeight();
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddLabel(this, TitleLabel, "List of current projects:", 21, 21, w - 42, 18);
    if (CTavListBox* list = AddListBox(this, FileList, 20, 50, w - 40, 200)) {
        list->AddColumn("File Name", w - 40);
        FillProjectList(list);
    }
    AddButton(this, OkButton, "OK", w - 130, h - 40);
    AddButton(this, CancelButton, "Cancel", w - 75, h - 40);
}

BOOL OpenProjectDialog::OnButtonDown(DWORD bID) {
    if (bID == OkButton) {
        Accept();
        return TRUE;
    }
    if (bID == CancelButton) {
        confirmed = 0;
        Close();
        return TRUE;
    }
    return FALSE;
}

void OpenProjectDialog::OnListBoxItemDoubleClicked(DWORD lID, int) {
    if (lID == FileList)
        Accept();
}

void OpenProjectDialog::Accept() {
    const auto* list = dynamic_cast<CTavListBox*>(GetObjectByID(FileList));
    const int row = list != nullptr ? list->GetSelection() : -1;
    if (row < 0 || row >= list->GetRowCount()) {
        MessageBox("Please select a file first");
        return;
    }
    resultPath = (SaveFolder() / list->GetItemText(row)).string();
    confirmed = 1;
    Close();
}

} // namespace tav::builder
