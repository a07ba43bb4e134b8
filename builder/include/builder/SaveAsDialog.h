#pragma once

#include "builder/DialogKit.h"
#include "model/ModelTypes.h"

#include <string>

namespace tav::builder {

// Names the project file in the save folder (created when missing). Afterwards `resultPath` is the
// full path to write when `confirmed`.
class SaveAsDialog : public DialogKit {
public:
    SaveAsDialog();

    enum Control : DWORD {
        TitleLabel = 0,
        FileList = 1,
        OkButton = 2,
        CancelButton = 3,
        NameLabel = 4,
        NameEdit = 5,
    };

    Flag confirmed = 0;
    std::string resultPath;

    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    void OnListBoxItemChange(DWORD lID, int item) override;
    void OnListBoxItemDoubleClicked(DWORD lID, int item) override;

private:
    void Accept();
    // Shows a message and gives false when the save folder is missing and cannot be made.
    bool MakeSaveFolder();
    CTavListBox* List() const;
};

} // namespace tav::builder
