#pragma once

#include "builder/DialogKit.h"
#include "model/ModelTypes.h"
#include "model/ScreenDef.h"

#include <memory>

namespace tav {
class Project;
}

namespace tav::builder {

// Properties of a new screen (`editIndex` -1) or of the project's screen at `editIndex`. OK adds the new
// screen to the project or changes the edited one (marking the project modified when anything changed).
class ScreenDialog : public DialogKit {
public:
    ScreenDialog();

    enum Control : DWORD {
        OkButton = 0,
        CancelButton = 1,
        NameLabel = 2,
        NameEdit = 3,
        ParentTitleLabel = 4,
        ParentLabel = 5,
        SelectButton = 6,
        TypeLabel = 7,
        FullScreenCheck = 8,
        PopupCheck = 9,
        SubScreenCheck = 10,
        XLabel = 11,
        XEdit = 12,
        YLabel = 13,
        YEdit = 14,
        WidthLabel = 15,
        WidthEdit = 16,
        HeightLabel = 17,
        HeightEdit = 18,
        StartupCheck = 19,
        BackgroundLabel = 20,
        BackgroundEdit = 21,
        BrowseButton = 22,
        CenterCheck = 23,
        StretchCheck = 24,
        TileCheck = 25,
    };

    Project* project = nullptr;
    int editIndex = -1;
    Flag confirmed = 0;

    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    void OnCheckBoxClick(DWORD cID, BOOL newValue) override;

private:
    ScreenDef& Edited();
    void TypeClicked(DWORD cID, BOOL newValue);
    void ModeClicked(DWORD cID, BOOL newValue);
    void ShowLayout(bool fullScreen);
    void CheckThroughRules(DWORD cID);
    void SelectParent();
    void BrowseBackground();
    void Accept();
    void TakeValues(ScreenDef& screen, bool renaming);

    std::unique_ptr<ScreenDef> m_newScreen; // the screen being made, until OK hands it to the project
};

} // namespace tav::builder
