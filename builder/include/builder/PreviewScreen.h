#pragma once

#include "tavctrls/TavCtrls.h"

namespace tav::builder {

class DesignView;
class ObjectDialog;
class ScreenDialog;

// One screen of the project shown alone over the whole window (SCREEN > Full Screen); Escape ends it.
class PreviewScreen : public CTavScreen {
public:
    ~PreviewScreen() override;
    void AfterInitialize() override;
    void AfterKeyDown(UINT nChar) override;

    // Run the dialog modally on the preview; give its confirmation.
    int RunScreenDialog(ScreenDialog* dialog);
    int RunObjectDialog(ObjectDialog* dialog);

    // The preview's design view (sub screen 0), or null.
    DesignView* View() const;
};

} // namespace tav::builder
