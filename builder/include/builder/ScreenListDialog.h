#pragma once

#include "builder/DialogKit.h"
#include "model/ModelTypes.h"

#include <string>

namespace tav {
class Project;
}

namespace tav::builder {

// Picks a screen of the project. `typeFilter`: 0 all screens, 1 full screens, 2 popups, 3 sub screens.
class ScreenListDialog : public DialogKit {
public:
    ScreenListDialog();

    enum Control : DWORD { ScreenList = 0, SelectButton = 1, CancelButton = 2 };

    const Project* project = nullptr;
    int typeFilter = 0;
    Flag confirmed = 0;
    std::string chosenName;

    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    void OnListBoxItemDoubleClicked(DWORD lID, int item) override;

private:
    void Accept();
};

} // namespace tav::builder
