#include "builder/OverwriteBox.h"

namespace tav::builder {

OverwriteBox::OverwriteBox() : DialogKit(340, 180) {}

void OverwriteBox::AfterInitialize() {
    SetBackgroundImage("art//mboxback.bmp", TAVBACK_STRETCH);
    const int width = GetWidth();
    const int height = GetHeight();
    const int buttonWidth = (width - 2 * kMargin - 3 * 8) / 4;
    const char* captions[] = {"Always", "Yes", "No", "Never"};
    for (int i = 0; i < 4; ++i)
        AddButton(static_cast<DWORD>(i), captions[i], kMargin + i * (buttonWidth + 8),
                  height - kMargin - kButtonHeight, buttonWidth);
    AddText(kMessageText, m_message, kMargin + 4, kMargin + 4, width - 2 * kMargin - 8,
            height - 3 * kMargin - kButtonHeight - 4);
    // Return and Escape keep the file: nothing is overwritten by accident.
    SetKeyButtons(kNoButton, kNoButton);
    FocusField(GetObjectByID(kNoButton));
}

BOOL OverwriteBox::OnButtonDown(DWORD bID) {
    m_result = static_cast<int>(bID);
    Close();
    return TRUE;
}

int OverwriteBox::Ask(CTavScreen* parent, const std::string& message) {
    auto* box = new OverwriteBox;
    box->SetMessage(message);
    return Run(parent, box, [](const OverwriteBox& done) { return done.GetResult(); });
}

} // namespace tav::builder
