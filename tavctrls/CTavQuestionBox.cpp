#include "CTavQuestionBox.h"

#include "CTavButton.h"
#include "CTavStatic.h"
#include "TavRuntime.h"

#include <algorithm>

namespace {

constexpr const char* kBackground = "art//mboxback.bmp";
constexpr const char* kButtonNormal = "art//buttonnormal.bmp";
constexpr const char* kButtonOver = "art//buttonover.bmp";
constexpr const char* kButtonDown = "art//buttondown.bmp";

constexpr int kLineHeight = 15;

} // namespace

CTavQuestionBox::CTavQuestionBox(const char* text) : CTavMessageBox(text) {}

CTavMessageBox::Room CTavQuestionBox::NeededRoom() const {
    // The static at (25, 25) is 50 narrower than the box; its lines end above the buttons, which stand
    // 30 above the bottom, each half the box minus 30 wide and so at least as wide as its caption.
    const int caption = std::max(TextWidth("Yes", FW_BOLD), TextWidth("No", FW_BOLD));
    return Room{50, 60, 2 * (caption + 34), 60 + kLineHeight};
}

void CTavQuestionBox::AfterInitialize() {
    const int w = GetWidth();
    const int h = GetHeight();
    SetBackgroundImage(kBackground, TAVBACK_STRETCH);
    const float buttonY = static_cast<float>(h - 30);
    const int buttonWidth = w / 2 - 30;
    auto* yes = new CTavButton;
    AddOrDrop(yes, yes->Initialize("Yes", 0, 25, buttonY, buttonWidth, 20, this, kButtonNormal, kButtonOver,
                                   kButtonDown));
    auto* no = new CTavButton;
    AddOrDrop(no, no->Initialize("No", 1, static_cast<float>(w / 2), buttonY, buttonWidth, 20, this,
                                 kButtonNormal, kButtonOver, kButtonDown));
    auto* text = new CTavStatic;
    const DWORD made = text->Initialize(m_text.c_str(), 2, 25, 25, w - 50, h - 20, this);
    if (made == TAVERROR_OK) {
        text->SetBackColor(0);
        text->SetTranslucent(TRUE, 255);
        text->SetMultiline(TRUE);
    }
    AddOrDrop(text, made);
}

BOOL CTavQuestionBox::OnButtonDown(DWORD bID) {
    m_answer = bID == 0 ? TRUE : FALSE;
    Close();
    return TRUE;
}

void CTavQuestionBox::AfterKeyDown(UINT nChar) {
    if (nChar == VK_RETURN || nChar == VK_ESCAPE)
        OnButtonDown(nChar == VK_RETURN ? 0 : 1);
}

BOOL CTavScreen::QuestionBox(const char* text) {
    // The box outlives its removal until its answer has been read.
    tav::BusyScope busy;
    auto* box = new CTavQuestionBox(text);
    CTavMessageBox::ShowOver(this, box);
    return box->GetAnswer();
}
