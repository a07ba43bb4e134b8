#include "builder/ProjectDialog.h"

#include "model/Decimal.h"
#include "model/Validation.h"

namespace tav::builder {

ProjectDialog::ProjectDialog() : DialogKit(300, 270) {}

void ProjectDialog::AfterInitialize() {
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddLabel(NameLabel, "Project Name:", 16, 20, 100);
    AddEdit(NameEdit, name, 120, 20, 164);
    AddLabel(ModeLabel, "App Mode:", 16, 52, 80);
    AddCheckBox(FullScreenCheck, "Full Screen", 100, 53, 104);
    AddCheckBox(WindowCheck, "Window", 210, 53, 80);
    AddLabel(XLabel, "X:", 16, 84, 20);
    AddEdit(XEdit, std::to_string(x), 36, 84, 44, 20, 4);
    AddLabel(YLabel, "Y:", 96, 84, 20);
    AddEdit(YEdit, std::to_string(y), 116, 84, 44, 20, 4);
    AddLabel(DepthLabel, "BPP:", 176, 84, 36);
    AddEdit(DepthEdit, std::to_string(bitsPerPixel), 214, 84, 40, 20, 3);
    AddLabel(WidthLabel, "Width:", 16, 116, 50);
    AddEdit(WidthEdit, std::to_string(width), 70, 116, 50, 20, 4);
    AddLabel(HeightLabel, "Height:", 140, 116, 56);
    AddEdit(HeightEdit, std::to_string(height), 200, 116, 50, 20, 4);
    AddCheckBox(FrameRateCheck, "Show Frame Rate", 16, 152, 200);
    SetValueOf(this, FrameRateCheck, showFrameRate == 1);
    AddCheckBox(VerticalBlankCheck, "Wait Vertical Blank", 16, 180, 200);
    SetValueOf(this, VerticalBlankCheck, waitVerticalBlank == 1);
    AddOkCancel(OkButton, CancelButton);

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
        ShowError(failure.message);
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
