#include "builder/AboutBox.h"

#include <algorithm>

namespace tav::builder {

const char* const kAboutText = "Tavrin Builder 1.0\nby Tavrin Software\nEmail: builder@example.org";

namespace {

constexpr COLORREF kKey = RGB(0, 0, 255); // the text's back colour, keyed out over the background
constexpr COLORREF kLight = RGB(235, 240, 245);
constexpr COLORREF kInk = RGB(24, 32, 40);
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 20;
constexpr int kFontHeight = 15;

void AddOrDrop(CTavScreen* screen, CTavObject* object, DWORD initialized) {
    if (initialized != TAVERROR_OK || screen->AddObject(object) != TAVERROR_OK)
        TavDeleteObject(object);
}

int CaptionWidth(const char* caption) {
    CTavSurface probe;
    int width = 0;
    if (probe.Create(1, 1) == TAVERROR_OK)
        probe.GetTextExtent(caption, "Verdana", 0, kFontHeight, FW_BOLD, &width, nullptr);
    return width;
}

} // namespace

void AboutBox::AfterInitialize() {
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);

    auto* text = new CTavStatic;
    const DWORD madeText = text->Initialize(kAboutText, AboutText, 30, 50, 240, 60, this);
    if (madeText == TAVERROR_OK) {
        text->SetMultiline(TRUE);
        text->SetBackColor(kKey);
        text->SetTransparent(TRUE, kKey);
        text->SetTextColor(kLight);
        text->SetFont("Verdana", 0, kFontHeight, FW_BOLD);
    }
    AddOrDrop(this, text, madeText);

    auto* close = new CTavButton;
    const DWORD madeButton =
        close->Initialize("Close", CloseButton, static_cast<float>(GetWidth() - 70),
                          static_cast<float>(GetHeight() - 50), kButtonWidth, kButtonHeight, this,
                          "art//buttonnormal.bmp", "art//buttonover.bmp", "art//buttondown.bmp");
    if (madeButton == TAVERROR_OK) {
        close->SetTextColor(kInk);
        close->SetTextOffset(std::max(0, (kButtonWidth - CaptionWidth("Close")) / 2),
                             (kButtonHeight - kFontHeight) / 2);
    }
    AddOrDrop(this, close, madeButton);
}

BOOL AboutBox::OnButtonDown(DWORD) {
    Close();
    return TRUE;
}

} // namespace tav::builder
