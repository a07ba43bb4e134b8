#include "builder/OpenProjectDialog.h"

#include <algorithm>
#include <system_error>

namespace tav::builder {

std::filesystem::path SaveFolder() {
    std::error_code error;
    return std::filesystem::current_path(error) / "save";
}

std::vector<std::string> ProjectFileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError; // an entry that vanished meanwhile is skipped, not the rest
        if (name.ends_with(".tvp") && it->is_regular_file(typeError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void FillProjectList(CTavListBox* list) {
    if (list == nullptr)
        return;
    for (const std::string& name : ProjectFileNames(SaveFolder()))
        list->AddItem(name.c_str());
}

OpenProjectDialog::OpenProjectDialog() : DialogKit(300, 300) {}

void OpenProjectDialog::AfterInitialize() {
    const int w = GetWidth();
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddLabel(TitleLabel, "List of current projects:", kMargin, 16, w - 2 * kMargin);
    if (CTavListBox* list = AddList(FileList, kMargin, 42, w - 2 * kMargin, GetHeight() - 100)) {
        list->AddColumn("File Name", w - 2 * kMargin);
        FillProjectList(list);
    }
    AddOkCancel(OkButton, CancelButton);
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
        ShowError("Please select a file first");
        return;
    }
    resultPath = (SaveFolder() / list->GetItemText(row)).string();
    confirmed = 1;
    Close();
}

} // namespace tav::builder
