#include "builder/AboutBox.h"

namespace tav::builder {

const char* const kAboutText = "Tavrin Builder 1.0\nby Tavrin Software\nEmail: builder@example.org";

AboutBox::AboutBox() : DialogKit(300, 170) {}

void AboutBox::AfterInitialize() {
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddText(AboutText, kAboutText, 30, 30, GetWidth() - 60, 66);
    const int x = GetWidth() - kMargin - kButtonWidth;
    AddButton(CloseButton, "Close", x, GetHeight() - kMargin - kButtonHeight);
    SetKeyButtons(CloseButton, CloseButton);
}

BOOL AboutBox::OnButtonDown(DWORD) {
    Close();
    return TRUE;
}

} // namespace tav::builder
