#include "builder/SaveAsDialog.h"

#include "builder/FormControls.h"

#include <filesystem>
#include <system_error>

namespace tav::builder {

void SaveAsDialog::AfterInitialize() {
    const int w = GetWidth();
    const int h = GetHeight();
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddLabel(this, TitleLabel, "List of current projects", 30, 20, w, 18);
    if (CTavListBox* list = AddListBox(this, FileList, 30, 40, w - 60, h - 120)) {
        list->AddColumn("File Name", w - 60);
        FillProjectList(list);
    }
    AddButton(this, OkButton, "OK", w - 130, h - 40);
    AddButton(this, CancelButton, "Cancel", w - 75, h - 40);
    AddLabel(this, NameLabel, "File Name:", 21, h - 70, 65, 20);
    AddEdit(this, NameEdit, "", 90, h - 70, w - 120, 20);
}

CTavListBox* SaveAsDialog::List() const {
    return dynamic_cast<CTavListBox*>(GetObjectByID(FileList));
}

BOOL SaveAsDialog::OnButtonDown(DWORD bID) {
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

void SaveAsDialog::OnListBoxItemChange(DWORD lID, int item) {
    if (lID == FileList && List() != nullptr)
        SetTextOf(this, NameEdit, List()->GetItemText(item));
}

void SaveAsDialog::OnListBoxItemDoubleClicked(DWORD lID, int item) {
    if (lID != FileList)
        return;
    OnListBoxItemChange(lID, item);
    Accept();
}

bool SaveAsDialog::MakeSaveFolder() {
    const std::filesystem::path folder = SaveFolder();
    std::error_code error;
    if (std::filesystem::is_directory(folder, error))
        return true;
    if (std::filesystem::create_directory(folder, error) && !error)
        return true;
    const std::string message = "Could not create the folder " + folder.string();
    MessageBox(message.c_str());
    return false;
}

void SaveAsDialog::Accept() {
    confirmed = 1;
    std::string name = TextOf(this, NameEdit);
    if (name.empty()) {
        MessageBox("Please enter a filename first");
        return;
    }
    if (!(name.size() > 3 && name.ends_with(".tvp")))
        name += ".tvp";
    SetTextOf(this, NameEdit, name);
    resultPath = (SaveFolder() / name).string();
    if (!MakeSaveFolder())
        return;
    const CTavListBox* list = List();
    for (int row = 0; list != nullptr && row < list->GetRowCount(); ++row) {
        if (list->GetItemText(row) != name)
            continue;
        const std::string question = "Are you sure you want to overwrite " + name;
        if (QuestionBox(question.c_str()))
            Close();
        return;
    }
    Close();
}

} // namespace tav::builder
