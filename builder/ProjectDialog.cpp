#include "builder/ProjectDialog.h"

#include "builder/FormControls.h"
#include "model/Decimal.h"
#include "model/Validation.h"

namespace tav::builder {

void ProjectDialog::AfterInitialize() {
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddButton(this, OkButton, "OK", 170, 260);
    AddButton(this, CancelButton, "Cancel", 230, 260);
    AddLabel(this, NameLabel, "Project Name: ", 21, 21, 100, 18);
    AddEdit(this, NameEdit, name, 130, 21, 150, 18);
    AddLabel(this, ModeLabel, "App Mode: ", 21, 50, 70, 18);
    AddCheckBox(this, FullScreenCheck, "Full Screen", 100, 50, 90, 18);
    AddCheckBox(this, WindowCheck, "Window", 205, 50, 80, 18);
    AddLabel(this, XLabel, "X:", 21, 75, 20, 18);
    AddEdit(this, XEdit, std::to_string(x), 45, 75, 35, 18, 4);
    AddLabel(this, YLabel, "Y:", 90, 75, 20, 18);
    AddEdit(this, YEdit, std::to_string(y), 115, 75, 35, 18, 4);
    AddLabel(this, DepthLabel, "BPP:", 170, 75, 40, 18);
    AddEdit(this, DepthEdit, std::to_string(bitsPerPixel), 220, 75, 30, 18, 3);
    AddLabel(this, WidthLabel, "Width: ", 55, 105, 50, 18);
    AddEdit(this, WidthEdit, std::to_string(width), 115, 105, 35, 18, 4);
    AddLabel(this, HeightLabel, "Height:", 170, 105, 80, 18);
    AddEdit(this, HeightEdit, std::to_string(height), 220, 105, 35, 18, 4);
    AddCheckBox(this, FrameRateCheck, "Show Frame Rate", 21, 140, 200, 18);
    SetValueOf(this, FrameRateCheck, showFrameRate == 1);
    AddCheckBox(this, VerticalBlankCheck, "Wait Vertical Blank", 21, 170, 200, 18);
    SetValueOf(this, VerticalBlankCheck, waitVerticalBlank == 1);

    SetValueOf(this, WindowCheck, TRUE);
    const BOOL fullScreen = appMode == AppMode::FullScreen ? TRUE : FALSE;
    SetValueOf(this, FullScreenCheck, fullScreen);
    OnCheckBoxClick(FullScreenCheck, fullScreen);
}

void ProjectDialog::OnCheckBoxClick(DWORD cID, BOOL newValue) {
    if (cID != FullScreenCheck && cID != WindowCheck)
        return;
    SetValueOf(this, cID == FullScreenCheck ? WindowCheck : FullScreenCheck, newValue ? FALSE : TRUE);
    const BOOL window = ValueOf(this, WindowCheck);
    SetVisibleOf(this, {XLabel, XEdit, YLabel, YEdit}, window);
    SetVisibleOf(this, {DepthLabel, DepthEdit}, window ? FALSE : TRUE);
}

BOOL ProjectDialog::OnButtonDown(DWORD bID) {
    if (bID == OkButton) {
        Accept();
        return TRUE;
    }
    if (bID == CancelButton) {
        confirmed = 0;
        Close();
        return TRUE;
    }
    return FALSE;
}

void ProjectDialog::Accept() {
    const std::string nameText = TextOf(this, NameEdit);
    const std::string widthText = TextOf(this, WidthEdit);
    const std::string heightText = TextOf(this, HeightEdit);
    const ProjectRuleFailure failure = ValidateProjectSettings(nameText, widthText, heightText, project);
    if (!failure.message.empty()) {
        MessageBox(failure.message.c_str());
        if (failure.focus == ProjectField::Height)
            FocusOn(this, HeightEdit);
        else if (failure.focus == ProjectField::Width)
            FocusOn(this, WidthEdit);
        return;
    }
    name = nameText;
    appMode = ValueOf(this, FullScreenCheck) ? AppMode::FullScreen : AppMode::Window;
    // Fields hold only digits once typed in, but a negative value shown from the project reads back as is.
    x = ParseDecimal(TextOf(this, XEdit));
    y = ParseDecimal(TextOf(this, YEdit));
    bitsPerPixel = ParseDecimal(TextOf(this, DepthEdit));
    width = ParseDecimal(widthText);
    height = ParseDecimal(heightText);
    showFrameRate = ValueOf(this, FrameRateCheck) ? 1 : 0;
    waitVerticalBlank = ValueOf(this, VerticalBlankCheck) ? 1 : 0;
    confirmed = 1;
    Close();
}

} // namespace tav::builder
