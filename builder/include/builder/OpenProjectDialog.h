#pragma once

#include "builder/DialogKit.h"
#include "model/ModelTypes.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tav::builder {

// The folder the designer saves projects in: "save" under the current directory.
std::filesystem::path SaveFolder();
// Names of the regular files matching "*.tvp" in `folder`, sorted; none when the folder is missing.
std::vector<std::string> ProjectFileNames(const std::filesystem::path& folder);
// One row per project file of the save folder.
void FillProjectList(CTavListBox* list);

// Picks a project file from the save folder. Afterwards `resultPath` is its full path when `confirmed`.
class OpenProjectDialog : public DialogKit {
public:
    OpenProjectDialog();

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
