#include "builder/ScreenDialog.h"

#include "builder/Choosers.h"
#include "builder/ScreenListDialog.h"
#include "model/Decimal.h"
#include "model/Project.h"

#include <filesystem>
#include <system_error>

namespace tav::builder {

ScreenDef& ScreenDialog::Edited() {
    return m_newScreen ? *m_newScreen : project->Screen(editIndex);
}

ScreenDialog::ScreenDialog() : DialogKit(370, 330) {}

void ScreenDialog::AfterInitialize() {
    if (editIndex == -1) {
        m_newScreen = std::make_unique<ScreenDef>();
        if (!project->HasOtherStartupScreen(""))
            m_newScreen->startup = 1;
    }
    const ScreenDef& screen = Edited();
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddLabel(NameLabel, "Name:", kMargin, 20, 50);
    AddEdit(NameEdit, screen.name, 80, 20, 200);
    AddLabel(ParentTitleLabel, "Parent Screen:", kMargin, 52, 100);
    AddLabel(ParentLabel, screen.parent.c_str(), 120, 52, 150);
    AddButton(SelectButton, "Select", 280, 51);
    AddLabel(TypeLabel, "Type:", kMargin, 84, 40);
    AddCheckBox(FullScreenCheck, "Full Screen", 60, 85, 104);
    AddCheckBox(PopupCheck, "Popup", 170, 85, 74);
    AddCheckBox(SubScreenCheck, "Sub Screen", 248, 85, 100);
    AddLabel(XLabel, "X Pos:", kMargin, 116, 50);
    AddEdit(XEdit, std::to_string(screen.x), 70, 116, 50, 20, 4);
    AddLabel(YLabel, "Y Pos:", 150, 116, 50);
    AddEdit(YEdit, std::to_string(screen.y), 204, 116, 50, 20, 4);
    AddLabel(WidthLabel, "Width:", kMargin, 146, 50);
    AddEdit(WidthEdit, std::to_string(screen.width), 70, 146, 50, 20, 4);
    AddLabel(HeightLabel, "Height:", 150, 146, 54);
    AddEdit(HeightEdit, std::to_string(screen.height), 204, 146, 50, 20, 4);
    if (CTavCheckBox* startup = AddCheckBox(StartupCheck, "Set as startup screen", kMargin, 180, 200))
        startup->SetValue(screen.startup == 1);
    AddLabel(BackgroundLabel, "Background Image:", kMargin, 214, 130);
    AddEdit(BackgroundEdit, screen.background, 150, 214, 124);
    AddButton(BrowseButton, "Browse", 280, 214);
    AddCheckBox(CenterCheck, "Center", kMargin, 248, 80);
    AddCheckBox(StretchCheck, "Stretch", 110, 248, 84);
    AddCheckBox(TileCheck, "Tile", 210, 248, 60);
    AddOkCancel(OkButton, CancelButton);

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
    const std::optional<std::string> name = Run(this, list, [](const ScreenListDialog& done) {
        return done.confirmed == 1 ? std::optional<std::string>(done.chosenName) : std::nullopt;
    });
    if (name)
        SetTextOf(this, ParentLabel, *name);
}

void ScreenDialog::BrowseBackground() {
    // Choosing a file elsewhere must not move the save folder, which lies under the current directory.
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    const std::optional<std::string> chosen =
        ChooseBitmapFor(this, TextOf(this, BackgroundEdit), project != nullptr ? project->folder : "");
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
        ShowError(message);
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
