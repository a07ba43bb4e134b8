#include "builder/ScreenDialog.h"

#include "builder/Choosers.h"
#include "builder/FormControls.h"
#include "builder/ScreenListDialog.h"
#include "model/Decimal.h"
#include "model/Project.h"

#include <filesystem>
#include <system_error>

namespace tav::builder {

ScreenDef& ScreenDialog::Edited() {
    return m_newScreen ? *m_newScreen : project->Screen(editIndex);
}

void ScreenDialog::AfterInitialize() {
    if (editIndex == -1) {
        m_newScreen = std::make_unique<ScreenDef>();
        if (!project->HasOtherStartupScreen(""))
            m_newScreen->startup = 1;
    }
    const ScreenDef& screen = Edited();
    const int w = GetWidth();
    const int h = GetHeight();
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddButton(this, OkButton, "OK", w - 130, h - 45);
    AddButton(this, CancelButton, "Cancel", w - 75, h - 45);
    AddLabel(this, NameLabel, "Name:", 25, 25, 50, 20);
    AddEdit(this, NameEdit, screen.name, 80, 25, 200, 20);
    AddLabel(this, ParentTitleLabel, "Parent Screen:", 50, 60, 100, 20);
    AddLabel(this, ParentLabel, screen.parent.c_str(), 160, 60, 70, 20);
    AddButton(this, SelectButton, "Select", 240, 60);
    AddLabel(this, TypeLabel, "Type:", 25, 100, 40, 20);
    AddCheckBox(this, FullScreenCheck, "Full Screen", 75, 100, 90, 16);
    AddCheckBox(this, PopupCheck, "Popup", 170, 100, 60, 16);
    AddCheckBox(this, SubScreenCheck, "Sub Screen", 245, 100, 100, 16);
    AddLabel(this, XLabel, "X Pos:", 21, 130, 40, 20);
    AddEdit(this, XEdit, std::to_string(screen.x), 70, 130, 50, 20, 4);
    AddLabel(this, YLabel, "Y Pos:", 140, 130, 50, 20);
    AddEdit(this, YEdit, std::to_string(screen.y), 200, 130, 50, 20, 4);
    AddLabel(this, WidthLabel, "Width:", 21, 160, 40, 20);
    AddEdit(this, WidthEdit, std::to_string(screen.width), 70, 160, 50, 20, 4);
    AddLabel(this, HeightLabel, "Height:", 140, 160, 50, 20);
    AddEdit(this, HeightEdit, std::to_string(screen.height), 200, 160, 50, 20, 4);
    if (CTavCheckBox* startup = AddCheckBox(this, StartupCheck, "Set as startup screen", 25, 193, 170, 17)) {
        startup->SetFont("Verdana", 0, 15, FW_BOLD);
        startup->SetValue(screen.startup == 1);
    }
    AddLabel(this, BackgroundLabel, "Background Image:", 25, 225, 130, 20);
    AddEdit(this, BackgroundEdit, screen.background, 160, 225, 140, 20);
    AddButton(this, BrowseButton, "Browse", 310, 225);
    AddCheckBox(this, CenterCheck, "Center", 25, 255, 70, 16);
    AddCheckBox(this, StretchCheck, "Stretch", 110, 255, 80, 16);
    AddCheckBox(this, TileCheck, "Tile", 210, 255, 60, 16);

    const BackgroundMode mode = ShownBackgroundMode(screen.backgroundMode);
    CheckThroughRules(mode == BackgroundMode::Center    ? CenterCheck
                      : mode == BackgroundMode::Stretch ? StretchCheck
                                                        : TileCheck);
    const ScreenType type = ShownScreenType(screen.type);
    CheckThroughRules(type == ScreenType::FullScreen ? FullScreenCheck
                      : type == ScreenType::Popup    ? PopupCheck
                                                     : SubScreenCheck);
}

void ScreenDialog::CheckThroughRules(DWORD cID) {
    SetValueOf(this, cID, TRUE);
    OnCheckBoxClick(cID, TRUE);
}

void ScreenDialog::OnCheckBoxClick(DWORD cID, BOOL newValue) {
    if (cID == FullScreenCheck || cID == PopupCheck || cID == SubScreenCheck)
        TypeClicked(cID, newValue);
    else if (cID == CenterCheck || cID == StretchCheck || cID == TileCheck)
        ModeClicked(cID, newValue);
}

void ScreenDialog::TypeClicked(DWORD cID, BOOL newValue) {
    if ((cID == FullScreenCheck) == (newValue != FALSE)) {
        // Checking "Full Screen", or unchecking either of the others, falls back to a full screen.
        SetValueOf(this, FullScreenCheck, TRUE);
        SetValueOf(this, PopupCheck, FALSE);
        SetValueOf(this, SubScreenCheck, FALSE);
        ShowLayout(true);
        return;
    }
    if (cID == FullScreenCheck) {
        SetValueOf(this, PopupCheck, TRUE);
        SetValueOf(this, SubScreenCheck, FALSE);
    } else {
        SetValueOf(this, FullScreenCheck, FALSE);
        SetValueOf(this, cID == PopupCheck ? SubScreenCheck : PopupCheck, FALSE);
    }
    ShowLayout(false);
}

void ScreenDialog::ShowLayout(bool fullScreen) {
    SetVisibleOf(this, {StartupCheck}, fullScreen ? TRUE : FALSE);
    SetVisibleOf(this,
                 {ParentTitleLabel, ParentLabel, SelectButton, XLabel, XEdit, YLabel, YEdit, WidthLabel,
                  WidthEdit, HeightLabel, HeightEdit},
                 fullScreen ? FALSE : TRUE);
}

void ScreenDialog::ModeClicked(DWORD cID, BOOL newValue) {
    if (newValue) {
        for (DWORD other : {CenterCheck, StretchCheck, TileCheck})
            if (other != cID)
                SetValueOf(this, other, FALSE);
        return;
    }
    SetValueOf(this, cID == CenterCheck ? StretchCheck : CenterCheck, TRUE);
}

BOOL ScreenDialog::OnButtonDown(DWORD bID) {
    switch (bID) {
    case OkButton:
        Accept();
        return TRUE;
    case CancelButton:
        m_newScreen.reset();
        confirmed = 0;
        Close();
        return TRUE;
    case SelectButton:
        SelectParent();
        return TRUE;
    case BrowseButton:
        BrowseBackground();
        return TRUE;
    default:
        return FALSE;
    }
}

void ScreenDialog::SelectParent() {
    auto* list = new ScreenListDialog;
    list->project = project;
    if (!RunDialog(this, list, 50, 50, 200, 200))
        return;
    if (list->confirmed == 1)
        SetTextOf(this, ParentLabel, list->chosenName);
    RemoveChildScreen();
}

void ScreenDialog::BrowseBackground() {
    // Choosing a file elsewhere must not move the save folder, which lies under the current directory.
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    const std::optional<std::string> chosen =
        ChooseBitmapFile(this, error ? std::string() : current.string());
    if (!error)
        std::filesystem::current_path(current, error);
    if (chosen)
        SetTextOf(this, BackgroundEdit, *chosen);
}

void ScreenDialog::TakeValues(ScreenDef& screen, bool renaming) {
    const std::string name = TextOf(this, NameEdit);
    if (renaming && editIndex != -1 && name != screen.name)
        project->RenameScreen(editIndex, name);
    screen.name = name;
    screen.parent = TextOf(this, ParentLabel);
    // Digits only can be typed, but a negative value shown from the project reads back unchanged.
    screen.x = ParseDecimal(TextOf(this, XEdit));
    screen.y = ParseDecimal(TextOf(this, YEdit));
    screen.width = ParseDecimal(TextOf(this, WidthEdit));
    screen.height = ParseDecimal(TextOf(this, HeightEdit));
    screen.background = TextOf(this, BackgroundEdit);
    screen.type = ValueOf(this, FullScreenCheck) ? ScreenType::FullScreen
                  : ValueOf(this, PopupCheck)    ? ScreenType::Popup
                                                 : ScreenType::SubScreen;
    // Only a full screen starts a program; the check box is hidden for the other types, and a flag
    // left on one would not survive saving and opening the project.
    screen.startup = screen.type == ScreenType::FullScreen && ValueOf(this, StartupCheck) ? 1 : 0;
    screen.backgroundMode = ValueOf(this, CenterCheck)    ? BackgroundMode::Center
                            : ValueOf(this, StretchCheck) ? BackgroundMode::Stretch
                                                          : BackgroundMode::Tile;
}

void ScreenDialog::Accept() {
    ScreenDef candidate;
    TakeValues(candidate, false);
    const std::string message =
        project->ValidateScreen(candidate, editIndex == -1 ? Project::kNewItem : editIndex);
    if (!message.empty()) {
        MessageBox(message.c_str());
        return;
    }
    if (m_newScreen) {
        TakeValues(*m_newScreen, true);
        project->AddScreen(std::move(m_newScreen));
    } else {
        const ScreenDef before = Edited();
        TakeValues(Edited(), true);
        if (!(Edited() == before))
            project->modified = 1;
    }
    confirmed = 1;
    Close();
}

} // namespace tav::builder
