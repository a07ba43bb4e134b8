#include "builder/SaveAsDialog.h"

#include "builder/OpenProjectDialog.h"

#include <filesystem>
#include <system_error>

namespace tav::builder {

SaveAsDialog::SaveAsDialog() : DialogKit(300, 300) {}

void SaveAsDialog::AfterInitialize() {
    const int w = GetWidth();
    const int h = GetHeight();
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddLabel(TitleLabel, "List of current projects", kMargin, 16, w - 2 * kMargin);
    if (CTavListBox* list = AddList(FileList, kMargin, 42, w - 2 * kMargin, h - 130)) {
        list->AddColumn("File Name", w - 2 * kMargin);
        FillProjectList(list);
    }
    AddLabel(NameLabel, "File Name:", kMargin, h - 78, 72);
    AddEdit(NameEdit, "", kMargin + 76, h - 78, w - 2 * kMargin - 76);
    AddOkCancel(OkButton, CancelButton);
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
    ShowError(message);
    return false;
}

void SaveAsDialog::Accept() {
    confirmed = 1;
    std::string name = TextOf(this, NameEdit);
    if (name.empty()) {
        ShowError("Please enter a filename first");
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
