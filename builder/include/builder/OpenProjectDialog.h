#pragma once

#include "model/ModelTypes.h"
#include "tavctrls/TavCtrls.h"

#include <string>

namespace tav::builder {

// Picks a project file from the save folder. Afterwards `resultPath` is its full path when `confirmed`.
class OpenProjectDialog : public CTavScreen {
public:
    enum Control : DWORD { TitleLabel = 0, FileList = 1, OkButton = 2, CancelButton = 3 };

    Flag confirmed = 0;
    std::string resultPath;

    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    void OnListBoxItemDoubleClicked(DWORD lID, int item) override;

private:
    void Accept();
};

} // namespace tav::builder
