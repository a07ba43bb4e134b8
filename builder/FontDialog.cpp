#include "builder/FontDialog.h"

#include <utility>

namespace tav::builder {

FontDialog::FontDialog(std::vector<std::string> fontNames)
    : DialogKit(260, 280), m_fontNames(std::move(fontNames)) {}

void FontDialog::AfterInitialize() {
    SetBackgroundImage("art//mboxback.bmp", TAVBACK_STRETCH);
    const int w = GetWidth() - 2 * kMargin;
    if (CTavListBox* list =
            AddList(ID_LIST, kMargin, kMargin, w, GetHeight() - 3 * kMargin - kButtonHeight)) {
        list->AddColumn("Font Name", w - 18);
        for (const std::string& name : m_fontNames)
            list->AddItem(name.c_str());
    }
    AddOkCancel(ID_OK, ID_CANCEL);
}

void FontDialog::Accept() {
    auto* list = static_cast<CTavListBox*>(GetObjectByID(ID_LIST));
    if (list == nullptr || list->GetSelection() < 0) {
        ShowError("Select a font first");
        return;
    }
    chosenName = list->GetItemText(list->GetSelection());
    confirmed = 1;
    Close();
}

BOOL FontDialog::OnButtonDown(DWORD bID) {
    if (bID == ID_OK) {
        Accept();
        return TRUE;
    }
    if (bID == ID_CANCEL) {
        confirmed = 0;
        Close();
        return TRUE;
    }
    return FALSE;
}

void FontDialog::OnListBoxItemDoubleClicked(DWORD lID, int) {
    if (lID == ID_LIST)
        Accept();
}

} // namespace tav::builder
