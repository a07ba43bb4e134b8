#pragma once

#include "builder/DialogKit.h"

#include <optional>
#include <string>

namespace tav::builder {

// Asks for the folder that generated code goes into, typed in or browsed for; offers to create a
// folder that does not exist yet. Its check box keeps the user's code in files already there: it
// follows the folder (ticked when it holds generated files) until the user sets it.
class DestinationDialog : public DialogKit {
public:
    DestinationDialog();

    enum : DWORD {
        kFolderEdit = 1,
        kBrowseButton = 2,
        kCancelButton = 3,
        kOkButton = 4,
        kCaption = 5,
        kKeepCheck = 6
    };

    // The edit text at the last OK, or the folder chosen with Browse.
    const std::string& GetFolder() const { return m_folder; }
    // 1 when the dialog ended with OK, otherwise 0.
    int GetResult() const { return m_result; }
    // Whether existing files are merged with the new generation rather than replaced.
    bool GetKeepUserCode() const { return m_keepUserCode; }

    BOOL OnButtonDown(DWORD bID) override;
    void OnCheckBoxClick(DWORD cID, BOOL newValue) override;
    void AfterBackBufferRedrawn() override;

    // True when `folder` exists or was created after asking.
    bool EnsureDirectory(const std::string& folder);
    // Lets the user pick a folder and puts it into the edit box.
    void BrowseForDestination();

    // Shows the dialog over `parent`, modally; the folder on OK, nothing otherwise. `keepUserCode`,
    // when given, receives the check box's choice.
    static std::optional<std::string> Ask(CTavScreen* parent, bool* keepUserCode = nullptr);

protected:
    void AfterInitialize() override;

private:
    CTavEdit* FolderEdit() const;

    // Follows the folder text to the check box until the user sets it.
    void FollowFolder();

    std::string m_folder;
    int m_result = 0;
    bool m_keepUserCode = false;
    bool m_keepSet = false; // ticked or unticked by the user
    std::string m_followed; // the folder text the check box was last set for
};

} // namespace tav::builder
