#pragma once

#include "builder/DialogKit.h"
#include "builder/FolderListing.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tav::builder {

// A modal popup that picks a bitmap file, a folder, a project to open or the file to save a project
// as: a path field, a folder list, a file list (but for folders), a file-name field (saving only), a
// status line, OK and Cancel. Double clicks and Return open folders and accept files, Back goes to the
// parent folder, Escape cancels. The current directory of the process is never changed.
class FileChooser : public DialogKit {
public:
    enum class Mode { BitmapFile, Folder, OpenProject, SaveProject };
    enum {
        ID_TITLE = 0,
        ID_PATH_LABEL = 1,
        ID_PATH = 2,
        ID_FOLDERS = 3,
        ID_FILES = 4,
        ID_STATUS = 5,
        ID_OK = 6,
        ID_CANCEL = 7,
        ID_NAME_LABEL = 8,
        ID_NAME = 9
    };

    FileChooser(Mode mode, const std::string& startFolder);

    // The size that suits the mode.
    static int PreferredWidth(Mode mode);
    static int PreferredHeight(Mode mode);
    // Why a typed save-as name is refused (a folder is chosen in the lists, not typed), or empty.
    static std::string RefusedName(const std::string& name);

    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    void OnListBoxItemChange(DWORD lID, int item) override;
    void OnListBoxItemDoubleClicked(DWORD lID, int item) override;
    void AfterKeyDown(UINT nChar) override;

    const std::filesystem::path& CurrentFolder() const { return m_folder; }

    int confirmed = 0;
    std::string resultPath;
    // Saving: the name the file-name field starts with (selected, so typing replaces it).
    std::string initialName;

private:
    CTavListBox* Folders() const;
    CTavListBox* Files() const;
    CTavEdit* PathField() const;
    void ShowStatus(const std::string& text);
    void ShowPath(const std::filesystem::path& path);
    // Lists `folder`; an unreadable folder keeps the one shown and says why.
    void Navigate(const std::filesystem::path& folder);
    void Fill(const FolderListing& listing);
    // The folder a row of the folder list stands for; ".." is the parent.
    std::filesystem::path FolderOfRow(int row) const;
    void OpenFolderRow(int row);
    // OK: a folder opens (or is the answer, choosing folders), a file is the answer.
    void AcceptTyped(bool openFolders);
    // Saving: the named file of the shown folder, after the checks and the overwrite question.
    void AcceptName();
    void SetName(const std::string& name);
    bool ListsFiles() const { return m_mode != Mode::Folder; }
    void Choose(const std::filesystem::path& result);
    void Cancel();
    bool Focused(DWORD id) const;

    Mode m_mode;
    std::string m_startFolder;
    std::filesystem::path m_folder;
    bool m_listed = false;
    bool m_hasParentRow = false;
    std::vector<FolderEntry> m_folders;
};

} // namespace tav::builder
