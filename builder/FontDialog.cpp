#include "builder/FontDialog.h"

#include "ChooserStyle.h"

#include <utility>

namespace tav::builder {

FontDialog::FontDialog(std::vector<std::string> fontNames) : m_fontNames(std::move(fontNames)) {}

void FontDialog::AfterInitialize() {
    SetBackgroundImage("art//mboxback.bmp", TAVBACK_STRETCH);
    const int w = GetWidth(), h = GetHeight();
    CTavListBox* list = AddChooserList(this, ID_LIST, "Font Name", 0, 0, w, h - 40, 100);
    for (const std::string& name : m_fontNames)
        list->AddItem(name.c_str());
    AddChooserButton(this, ID_OK, "OK", w - 120, h - 30);
    AddChooserButton(this, ID_CANCEL, "Cancel", w - 60, h - 30);
}

void FontDialog::Accept() {
    auto* list = static_cast<CTavListBox*>(GetObjectByID(ID_LIST));
    if (list == nullptr || list->GetSelection() < 0) {
        MessageBox("Select a font first");
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
