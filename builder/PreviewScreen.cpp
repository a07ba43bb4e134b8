#include "builder/PreviewScreen.h"

#include "ModalRun.h"
#include "builder/DesignView.h"
#include "builder/ObjectDialog.h"
#include "builder/ScreenDialog.h"

namespace tav::builder {

PreviewScreen::~PreviewScreen() = default;

void PreviewScreen::AfterInitialize() {
    SetBackgroundImage("art//viewback.bmp", TAVBACK_STRETCH);
}

void PreviewScreen::AfterKeyDown(UINT nChar) {
    if (nChar == VK_ESCAPE && GetChildScreen() == nullptr)
        Close();
}

int PreviewScreen::RunScreenDialog(ScreenDialog* dialog) {
    return RunModal(this, dialog, 220, 120, 360, 360,
                    [](const ScreenDialog& shown) { return shown.confirmed; });
}

int PreviewScreen::RunObjectDialog(ObjectDialog* dialog) {
    return RunModal(this, dialog, 200, 60, 400, 480,
                    [](const ObjectDialog& shown) { return shown.confirmed; });
}

DesignView* PreviewScreen::View() const {
    return dynamic_cast<DesignView*>(GetScreenByID(0));
}

} // namespace tav::builder
