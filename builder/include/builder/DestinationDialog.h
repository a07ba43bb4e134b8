#pragma once

#include "builder/DialogKit.h"

#include <optional>
#include <string>

namespace tav::builder {

// Asks for the folder that generated code goes into, typed in or browsed for; offers to create a
// folder that does not exist yet.
class DestinationDialog : public DialogKit {
public:
    DestinationDialog();

    enum : DWORD { kFolderEdit = 1, kBrowseButton = 2, kCancelButton = 3, kOkButton = 4, kCaption = 5 };

    // The edit text at the last OK, or the folder chosen with Browse.
    const std::string& GetFolder() const { return m_folder; }
    // 1 when the dialog ended with OK, otherwise 0.
    int GetResult() const { return m_result; }

    BOOL OnButtonDown(DWORD bID) override;

    // True when `folder` exists or was created after asking.
    bool EnsureDirectory(const std::string& folder);
    // Lets the user pick a folder and puts it into the edit box.
    void BrowseForDestination();

    // Shows the dialog over `parent`, modally; the folder on OK, nothing otherwise.
    static std::optional<std::string> Ask(CTavScreen* parent);

protected:
    void AfterInitialize() override;

private:
    CTavEdit* FolderEdit() const;

    std::string m_folder;
    int m_result = 0;
};

} // namespace tav::builder
