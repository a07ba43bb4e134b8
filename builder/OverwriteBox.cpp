#include "builder/OverwriteBox.h"

#include "ModalRun.h"

#include <algorithm>

namespace tav::builder {

namespace {

constexpr const char* kButtonNormal = "art//buttonnormal.bmp";
constexpr const char* kButtonOver = "art//buttonover.bmp";
constexpr const char* kButtonDown = "art//buttondown.bmp";

// Place of the box relative to its parent.
constexpr int kX = 250;
constexpr int kY = 150;
constexpr int kWidth = 300;
constexpr int kHeight = 300;

constexpr COLORREF kLight = RGB(235, 240, 245);
constexpr COLORREF kInk = RGB(24, 32, 40);
constexpr const char* kFont = "Verdana";
constexpr int kFontHeight = 15;

int CaptionWidth(const char* caption) {
    CTavSurface probe;
    int width = 0;
    if (probe.Create(1, 1) == TAVERROR_OK)
        probe.GetTextExtent(caption, kFont, 0, kFontHeight, FW_BOLD, &width, nullptr);
    return width;
}

void AddOrDrop(CTavScreen* screen, CTavObject* object, DWORD initialized) {
    if (initialized != TAVERROR_OK || screen->AddObject(object) != TAVERROR_OK)
        TavDeleteObject(object);
}

} // namespace

void OverwriteBox::AfterInitialize() {
    SetBackgroundImage("art//mboxback.bmp", TAVBACK_STRETCH);
    const int width = GetWidth();
    const int height = GetHeight();
    const int buttonWidth = (width - 40) / 4;
    const char* captions[] = {"Always", "Yes", "No", "Never"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new CTavButton;
        const DWORD made = button->Initialize(
            captions[i], static_cast<DWORD>(i), static_cast<float>(20 + i * buttonWidth),
            static_cast<float>(height - 40), buttonWidth, 20, this, kButtonNormal, kButtonOver, kButtonDown);
        if (made == TAVERROR_OK) {
            button->SetTextColor(kInk);
            button->SetFont(kFont, 0, kFontHeight, FW_BOLD);
            button->SetTextOffset(std::max(0, (buttonWidth - CaptionWidth(captions[i])) / 2),
                                  (20 - kFontHeight) / 2);
        }
        AddOrDrop(this, button, made);
    }
    auto* text = new CTavStatic;
    const DWORD made =
        text->Initialize(m_message.c_str(), kMessageText, 20, 20, width - 40, height - 60, this);
    if (made == TAVERROR_OK) {
        text->SetMultiline(TRUE);
        text->SetTextColor(kLight);
        text->SetFont(kFont, 0, kFontHeight, 0);
        // Only the text's pixels show over the background.
        text->SetBackColor(0);
        text->SetTranslucent(TRUE, 255);
    }
    AddOrDrop(this, text, made);
}

BOOL OverwriteBox::OnButtonDown(DWORD bID) {
    m_result = static_cast<int>(bID);
    Close();
    return TRUE;
}

int OverwriteBox::Ask(CTavScreen* parent, const std::string& message) {
    auto* box = new OverwriteBox;
    box->SetMessage(message);
    return RunModal(parent, box, kX, kY, kWidth, kHeight,
                    [](const OverwriteBox& done) { return done.GetResult(); });
}

} // namespace tav::builder
