#include "HelloScreens.h"

namespace {

constexpr int kPopupWidth = 360;
constexpr int kPopupHeight = 200;

} // namespace

void HelloScreen::AfterInitialize() {
    SetBackgroundImage("art/dback.bmp", TAVBACK_STRETCH);

    auto* title = new CTavStatic;
    title->Initialize("Hello from TavCtrls", HELLO_TITLE, 40, 60, 500, 40, this);
    title->SetBackColor(0);
    title->SetTransparent(TRUE, title->GetBackColor());
    title->SetTextColor(RGB(255, 255, 255));
    title->SetFont("DejaVu Sans", 0, 32, FW_BOLD);
    AddObject(title);

    auto* open = new CTavButton;
    open->Initialize("Open popup", HELLO_OPEN_BUTTON, 40, 140, 160, 36, this, "art/buttonnormal.bmp",
                     "art/buttonover.bmp", "art/buttondown.bmp");
    open->SetTextColor(RGB(24, 32, 40));
    open->SetFont("DejaVu Sans", 0, 16, FW_BOLD);
    open->SetTextOffset(30, 9);
    AddObject(open);
}

BOOL HelloScreen::OnButtonDown(DWORD bID) {
    if (bID != HELLO_OPEN_BUTTON)
        return FALSE;
    auto* popup = new HelloPopup;
    popup->Initialize(0, (GetWidth() - kPopupWidth) / 2, (GetHeight() - kPopupHeight) / 2, kPopupWidth,
                      kPopupHeight, TAVSCREEN_POPUP, this);
    ++popupsShown;
    SetChildScreen(popup);
    lastChecked = popup->checked;
    RemoveChildScreen();
    return FALSE;
}

void HelloPopup::AfterInitialize() {
    SetBackgroundImage("art/mboxback.bmp", TAVBACK_STRETCH);

    auto* text = new CTavStatic;
    text->Initialize("This popup is modal.\nThe screen behind it waits\nuntil you close it.",
                     HELLO_POPUP_TEXT, 20, 16, 320, 70, this);
    text->SetMultiline(TRUE);
    text->SetBackColor(0);
    text->SetTransparent(TRUE, text->GetBackColor());
    text->SetTextColor(RGB(240, 240, 240));
    text->SetFont("DejaVu Sans", 0, 16, 0);
    AddObject(text);

    auto* check = new CTavCheckBox;
    check->Initialize("Remember me", HELLO_POPUP_CHECK, 20, 100, 200, 20, this, "art/checkyes.bmp",
                      "art/checkno.bmp");
    check->SetBackColor(0);
    check->SetTransparent(TRUE, check->GetBackColor());
    check->SetTextColor(RGB(240, 240, 240));
    check->SetFont("DejaVu Sans", 0, 16, 0);
    check->SetBoxSide(1);
    AddObject(check);

    auto* close = new CTavButton;
    close->Initialize("Close", HELLO_POPUP_CLOSE, 220, 146, 120, 36, this, "art/buttonnormal.bmp",
                      "art/buttonover.bmp", "art/buttondown.bmp");
    close->SetTextColor(RGB(24, 32, 40));
    close->SetFont("DejaVu Sans", 0, 16, FW_BOLD);
    close->SetTextOffset(36, 9);
    AddObject(close);
}

BOOL HelloPopup::OnButtonDown(DWORD bID) {
    if (bID == HELLO_POPUP_CLOSE)
        Close();
    return FALSE;
}

void HelloPopup::OnCheckBoxClick(DWORD, BOOL newValue) {
    checked = newValue;
}
