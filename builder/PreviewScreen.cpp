#include "builder/PreviewScreen.h"

#include "builder/DesignView.h"
#include "builder/DialogKit.h"
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
    return DialogKit::Run(this, dialog, [](const ScreenDialog& shown) { return shown.confirmed; });
}

int PreviewScreen::RunObjectDialog(ObjectDialog* dialog) {
    return DialogKit::Run(this, dialog, [](const ObjectDialog& shown) { return shown.confirmed; });
}

DesignView* PreviewScreen::View() const {
    return dynamic_cast<DesignView*>(GetScreenByID(0));
}

} // namespace tav::builder
