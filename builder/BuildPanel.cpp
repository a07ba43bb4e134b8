#include "builder/BuildPanel.h"

#include "builder/MainScreen.h"

#include <algorithm>

namespace tav::builder {
namespace {

// Below the design view, over the palette and the status line: a sub screen lying over the view would
// never get a click, since the view comes first among the main screen's sub screens.
constexpr int kLeft = 210, kWidth = 550, kTop = 482;
constexpr int kSmallHeight = 76, kTallHeight = 116;
constexpr int kBarTop = 46, kBarHeight = 12, kBarRight = 110;
constexpr DWORD kTrack = 0x2A3540, kFill = 0x4FC08D, kEdge = 0x7F8C99;

int HeightOf(BuildPanel::Mode mode) {
    return mode == BuildPanel::Mode::Failed ? kTallHeight : kSmallHeight;
}

} // namespace

BuildPanel::BuildPanel(Mode mode, std::string title, std::vector<std::string> errors)
    : DialogKit(kWidth, HeightOf(mode)), m_mode(mode), m_title(std::move(title)),
      m_errors(std::move(errors)) {}

BuildPanel* BuildPanel::Show(CTavScreen* main, Mode mode, const std::string& title,
                             const std::vector<std::string>& errors) {
    Remove(main);
    auto* panel = new BuildPanel(mode, title, errors);
    const int height = HeightOf(mode);
    if (panel->Initialize(kPanelId, kLeft, kTop, kWidth, height, TAVSCREEN_SUBSCREEN, main) != TAVERROR_OK ||
        main->AddSubScreen(panel) != TAVERROR_OK) {
        TavDeleteScreen(panel);
        return nullptr;
    }
    return panel;
}

BuildPanel* BuildPanel::Of(const CTavScreen* main) {
    return main != nullptr ? dynamic_cast<BuildPanel*>(main->GetScreenByID(kPanelId)) : nullptr;
}

void BuildPanel::Remove(CTavScreen* main) {
    if (Of(main) != nullptr)
        main->RemoveSubScreen(kPanelId);
}

void BuildPanel::AfterInitialize() {
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    const int right = GetWidth() - kMargin;
    AddLabel(kTitle, m_title, kMargin, 6, right - kMargin - kButtonWidth - 8);
    switch (m_mode) {
    case Mode::Building:
        AddLabel(kStep, "Starting", kMargin, 24, right - kMargin - kButtonWidth - 8);
        AddLabel(kPercent, "0%", right - kBarRight + 16, kBarTop - 4, 40);
        AddButton(kStop, "Stop", right - kButtonWidth, 8);
        break;
    case Mode::Failed:
        if (CTavListBox* list = AddList(kErrors, kMargin, 32, right - kMargin, GetHeight() - 32 - kMargin)) {
            list->AddColumn("Error", right - kMargin);
            for (const std::string& error : m_errors)
                list->AddItem(error.c_str());
        }
        AddButton(kClose, "Close", right - kButtonWidth, 6);
        break;
    case Mode::Running:
        AddButton(kClose, "Close", right - kButtonWidth, 8);
        break;
    }
}

void BuildPanel::SetProgress(int percent, const std::string& step) {
    percent = std::clamp(percent, 0, 100);
    if (percent != m_percent) {
        m_percent = percent;
        SetTextOf(this, kPercent, std::to_string(percent) + "%");
        Invalidate();
    }
    if (step != TextOf(this, kStep) && !step.empty())
        SetTextOf(this, kStep, step);
}

void BuildPanel::AfterBackBufferRedrawn() {
    DialogKit::AfterBackBufferRedrawn();
    CTavSurface* surface = GetSurface();
    if (m_mode != Mode::Building || surface == nullptr)
        return;
    const int left = kMargin, right = GetWidth() - kMargin - kBarRight;
    surface->FillRect(left - 1, kBarTop - 1, right + 1, kBarTop + kBarHeight + 1, kEdge);
    surface->FillRect(left, kBarTop, right, kBarTop + kBarHeight, kTrack);
    surface->FillRect(left, kBarTop, left + (right - left) * m_percent / 100, kBarTop + kBarHeight, kFill);
}

void BuildPanel::AfterKeyDown(UINT key) {
    // The panel takes no keys of its own but Tab, Return and Space on its buttons: the rest are the
    // main screen's (F9 again, F5, the Ctrl shortcuts).
    if (key == VK_TAB || key == VK_RETURN || key == VK_SPACE)
        return DialogKit::AfterKeyDown(key);
    if (CTavScreen* main = GetParent())
        main->AfterKeyDown(key);
}

BOOL BuildPanel::OnButtonDown(DWORD bID) {
    auto* main = dynamic_cast<MainScreen*>(GetParent());
    if (main == nullptr)
        return FALSE;
    if (bID == kStop)
        main->OnStopBuild();
    else if (bID == kClose)
        main->CloseBuildPanel();
    return TRUE;
}

void BuildPanel::OnListBoxItemDoubleClicked(DWORD, int item) {
    CTavScreen* main = GetParent();
    if (main != nullptr && item >= 0 && item < static_cast<int>(m_errors.size()))
        main->MessageBox(m_errors[static_cast<std::size_t>(item)].c_str());
}

} // namespace tav::builder
