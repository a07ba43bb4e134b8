#include "builder/ScreenListDialog.h"

#include "model/Project.h"

namespace tav::builder {

namespace {

bool PassesFilter(ScreenType type, int filter) {
    switch (filter) {
    case 1:
        return type == ScreenType::FullScreen;
    case 2:
        return type == ScreenType::Popup;
    case 3:
        return ShownScreenType(type) == ScreenType::SubScreen;
    default:
        return true;
    }
}

const char* TypeName(ScreenType type) {
    switch (ShownScreenType(type)) {
    case ScreenType::FullScreen:
        return "Full Screen";
    case ScreenType::Popup:
        return "Popup";
    default:
        return "Sub Screen";
    }
}

} // namespace

ScreenListDialog::ScreenListDialog() : DialogKit(300, 300) {}

void ScreenListDialog::AfterInitialize() {
    const int w = GetWidth();
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    if (CTavListBox* list = AddList(ScreenList, kMargin, kMargin, w - 2 * kMargin, GetHeight() - 76)) {
        list->AddColumn("Name", (w - 2 * kMargin) / 2);
        list->AddColumn("Type", (w - 2 * kMargin) / 2);
        for (int i = 0; project != nullptr && i < project->ScreenCount(); ++i) {
            const ScreenDef& screen = project->Screen(i);
            if (!PassesFilter(screen.type, typeFilter))
                continue;
            const int row = list->AddItem(screen.name.c_str());
            list->SetItemText(row, 1, TypeName(screen.type));
        }
    }
    AddOkCancel(SelectButton, CancelButton, "Select");
}

BOOL ScreenListDialog::OnButtonDown(DWORD bID) {
    if (bID == SelectButton) {
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

void ScreenListDialog::OnListBoxItemDoubleClicked(DWORD lID, int) {
    if (lID == ScreenList)
        Accept();
}

void ScreenListDialog::Accept() {
    const auto* list = dynamic_cast<CTavListBox*>(GetObjectByID(ScreenList));
    const int row = list != nullptr ? list->GetSelection() : -1;
    if (row < 0 || row >= list->GetRowCount()) {
        ShowError("Select an item from the list first");
        return;
    }
    chosenName = list->GetItemText(row);
    confirmed = 1;
    Close();
}

} // namespace tav::builder
