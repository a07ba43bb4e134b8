#include "builder/FileChooser.h"

#include "model/FileIo.h"
#include "model/ProjectFile.h"

#include <system_error>

namespace fs = std::filesystem;

namespace tav::builder {
namespace {

constexpr int kListTop = 76;
constexpr int kScrollBarRoom = 18;
constexpr const char* kParentRow = "..";
constexpr const char* kNoAccess = "  (no access)";
constexpr int kNameRow = 30; // the file-name field's room when saving

struct ModeText {
    const char* title;
    const char* filesColumn;
    const char* extension;
};
ModeText TextsOf(FileChooser::Mode mode) {
    switch (mode) {
    case FileChooser::Mode::BitmapFile:
        return {"Choose Bitmap", "Bitmap Files (*.bmp)", ".bmp"};
    case FileChooser::Mode::Folder:
        return {"Choose Folder", "", ""};
    case FileChooser::Mode::OpenProject:
        return {"Open Project", "Projects (*.tvp)", ".tvp"};
    case FileChooser::Mode::SaveProject:
        break;
    }
    return {"Save Project As", "Projects (*.tvp)", ".tvp"};
}

// The folder to start in: the nearest existing folder of `start`, else the current directory.
fs::path StartFolder(const std::string& start) {
    std::error_code ec;
    fs::path current = fs::current_path(ec);
    if (ec)
        current = "/";
    fs::path folder = ResolvePath(current, start);
    while (!fs::is_directory(folder, ec)) {
        if (!folder.has_relative_path())
            return current;
        folder = folder.parent_path();
    }
    return folder;
}

} // namespace

FileChooser::FileChooser(Mode mode, const std::string& startFolder)
    : DialogKit(PreferredWidth(mode), PreferredHeight(mode)), m_mode(mode), m_startFolder(startFolder) {}

int FileChooser::PreferredWidth(Mode mode) {
    return mode == Mode::Folder ? 340 : 480;
}

int FileChooser::PreferredHeight(Mode mode) {
    return mode == Mode::SaveProject ? 380 + kNameRow : 380;
}

std::string FileChooser::RefusedName(const std::string& name) {
    if (name.find_first_of("/\\") == std::string::npos && name.find("..") == std::string::npos)
        return "";
    return "The name " + name + " is refused: a file name cannot hold \"/\", \"\\\" or \"..\". Choose its " +
           "folder in the lists above.";
}

void FileChooser::AfterInitialize() {
    SetBackgroundImage("art//mboxback.bmp", TAVBACK_STRETCH);
    const int w = GetWidth(), h = GetHeight();
    const bool files = ListsFiles();
    const bool saving = m_mode == Mode::SaveProject;
    const ModeText text = TextsOf(m_mode);
    if (CTavStatic* title = AddLabel(ID_TITLE, text.title, kMargin, 12, w - 2 * kMargin, 24))
        title->SetFont(kFont, 0, 16, FW_BOLD);
    AddLabel(ID_PATH_LABEL, "Path:", kMargin, 44, 44);
    AddEdit(ID_PATH, "", kMargin + 46, 43, w - 2 * kMargin - 46, 22);
    const int listHeight = h - kListTop - 68 - (saving ? kNameRow : 0);
    const int folderWidth = files ? (w - 2 * kMargin - 10) * 2 / 5 : w - 2 * kMargin;
    if (CTavListBox* folders = AddList(ID_FOLDERS, kMargin, kListTop, folderWidth, listHeight))
        folders->AddColumn("Folders", folderWidth - kScrollBarRoom);
    if (files) {
        const int x = kMargin + folderWidth + 10;
        const int width = w - kMargin - x;
        if (CTavListBox* list = AddList(ID_FILES, x, kListTop, width, listHeight))
            list->AddColumn(text.filesColumn, width - kScrollBarRoom);
    }
    if (saving) {
        AddLabel(ID_NAME_LABEL, "File Name:", kMargin, h - 94, 76);
        AddEdit(ID_NAME, initialName.c_str(), kMargin + 78, h - 95, w - 2 * kMargin - 78, 22);
    }
    if (CTavStatic* status = AddLabel(ID_STATUS, "", kMargin, h - 62, w - 2 * kMargin, 18)) {
        status->SetTextColor(kWarning);
        status->SetFont(kFont, 0, 12, 0);
    }
    AddOkCancel(ID_OK, ID_CANCEL);

    m_folder = StartFolder(m_startFolder);
    const fs::path start = ResolvePath(m_folder, m_startFolder);
    std::error_code ec;
    if (saving && !m_startFolder.empty() && !fs::is_directory(start, ec) && start.parent_path() == m_folder) {
        // A missing save folder is shown empty and made when the project is saved there.
        m_folder = start;
        m_listed = true;
        ShowPath(start);
        Fill(FolderListing{});
    } else {
        Navigate(m_folder);
    }
    SetFocus(TRUE); // keys work before the first click
    if (saving)
        FocusField(GetObjectByID(ID_NAME));
    else if (m_folders.empty() && !m_hasParentRow)
        PathField()->SetFocus(TRUE);
    else
        Folders()->SetFocus(TRUE);
}

CTavListBox* FileChooser::Folders() const {
    return static_cast<CTavListBox*>(GetObjectByID(ID_FOLDERS));
}

CTavListBox* FileChooser::Files() const {
    return static_cast<CTavListBox*>(GetObjectByID(ID_FILES));
}

CTavEdit* FileChooser::PathField() const {
    return static_cast<CTavEdit*>(GetObjectByID(ID_PATH));
}

void FileChooser::ShowStatus(const std::string& text) {
    static_cast<CTavStatic*>(GetObjectByID(ID_STATUS))->SetText(text.c_str());
}

void FileChooser::ShowPath(const fs::path& path) {
    CTavEdit* field = PathField();
    field->SetText(path.string().c_str());
    field->SetCaretPosition(static_cast<int>(path.string().size()));
}

void FileChooser::Navigate(const fs::path& folder) {
    FolderListing listing = ListFolder(folder, TextsOf(m_mode).extension);
    // The first folder is shown even when unreadable, so that its parent can be reached.
    if (!listing.readable && m_listed) {
        ShowStatus("Cannot open " + folder.string() + ": " + listing.error);
        return;
    }
    m_folder = folder;
    m_listed = true;
    ShowPath(folder);
    Fill(listing);
    ShowStatus(listing.error.empty() ? "" : "This folder cannot be read: " + listing.error);
}

void FileChooser::Fill(const FolderListing& listing) {
    CTavListBox* folders = Folders();
    folders->RemoveAllItems();
    m_hasParentRow = m_folder.has_relative_path();
    if (m_hasParentRow)
        folders->AddItem(kParentRow);
    m_folders = listing.folders;
    for (const FolderEntry& entry : m_folders)
        folders->AddItem((entry.readable ? entry.name : entry.name + kNoAccess).c_str());
    if (CTavListBox* files = Files()) {
        files->RemoveAllItems();
        for (const std::string& name : listing.files)
            files->AddItem(name.c_str());
    }
}

fs::path FileChooser::FolderOfRow(int row) const {
    if (m_hasParentRow && row == 0)
        return m_folder.parent_path();
    return m_folder / m_folders[static_cast<size_t>(row - (m_hasParentRow ? 1 : 0))].name;
}

void FileChooser::OpenFolderRow(int row) {
    const int index = row - (m_hasParentRow ? 1 : 0);
    if (index >= 0 && !m_folders[static_cast<size_t>(index)].readable) {
        ShowStatus("Cannot open " + m_folders[static_cast<size_t>(index)].name + ": permission denied");
        return;
    }
    Navigate(FolderOfRow(row));
}

void FileChooser::OnListBoxItemChange(DWORD lID, int item) {
    if (lID == ID_FOLDERS)
        ShowPath(FolderOfRow(item));
    else if (lID == ID_FILES && m_mode == Mode::SaveProject)
        SetName(Files()->GetItemText(item));
    else if (lID == ID_FILES)
        ShowPath(m_folder / Files()->GetItemText(item));
}

void FileChooser::OnListBoxItemDoubleClicked(DWORD lID, int item) {
    if (lID == ID_FOLDERS) {
        OpenFolderRow(item);
    } else if (lID == ID_FILES) {
        OnListBoxItemChange(lID, item);
        m_mode == Mode::SaveProject ? AcceptName() : AcceptTyped(true);
    }
}

void FileChooser::SetName(const std::string& name) {
    SetTextOf(this, ID_NAME, name);
}

void FileChooser::AcceptName() {
    const std::string typed = TextOf(this, ID_NAME);
    if (typed.empty()) {
        ShowError("Please enter a filename first");
        return;
    }
    if (const std::string refused = RefusedName(typed); !refused.empty()) {
        ShowError(refused);
        return;
    }
    const std::string name = ProjectFileName(typed);
    SetName(name);
    std::error_code ec;
    if (!fs::is_directory(m_folder, ec) && !fs::create_directory(m_folder, ec)) {
        ShowError("Could not create the folder " + m_folder.string());
        return;
    }
    const fs::path path = m_folder / name;
    if (FileExists(path.string()) &&
        QuestionBox(("Are you sure you want to overwrite " + name).c_str()) != TRUE)
        return;
    Choose(path);
}

void FileChooser::AcceptTyped(bool openFolders) {
    const fs::path path = ResolvePath(m_folder, PathField()->GetText());
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) {
        if (m_mode == Mode::Folder && (!openFolders || path == m_folder))
            Choose(path);
        else
            Navigate(path);
    } else if (fs::is_regular_file(status) && m_mode == Mode::SaveProject) {
        // A typed file to save over: its folder is shown and its name taken.
        if (path.parent_path() != m_folder)
            Navigate(path.parent_path());
        SetName(path.filename().string());
        FocusField(GetObjectByID(ID_NAME));
    } else if (fs::is_regular_file(status) && ListsFiles()) {
        Choose(path);
    } else if (fs::exists(status)) {
        ShowStatus(m_mode == Mode::Folder ? "Not a folder: " + path.string()
                                          : "Not a file: " + path.string());
    } else {
        ShowStatus("No such file or folder: " + path.string());
    }
}

void FileChooser::Choose(const fs::path& result) {
    resultPath = result.string();
    confirmed = 1;
    Close();
}

void FileChooser::Cancel() {
    resultPath.clear();
    confirmed = 0;
    Close();
}

BOOL FileChooser::OnButtonDown(DWORD bID) {
    if (bID == ID_OK && m_mode == Mode::SaveProject) {
        AcceptName();
        return TRUE;
    }
    if (bID == ID_OK && m_mode == Mode::OpenProject &&
        ResolvePath(m_folder, PathField()->GetText()) == m_folder) {
        ShowError("Please select a file first");
        return TRUE;
    }
    if (bID == ID_OK) {
        // Choosing folders, OK takes the folder in the path field as it is.
        AcceptTyped(m_mode != Mode::Folder);
        return TRUE;
    }
    if (bID == ID_CANCEL) {
        Cancel();
        return TRUE;
    }
    return FALSE;
}

bool FileChooser::Focused(DWORD id) const {
    const CTavObject* object = GetObjectByID(id);
    return object != nullptr && object->HasFocus();
}

void FileChooser::AfterKeyDown(UINT nChar) {
    CTavListBox* list = Focused(ID_FOLDERS) ? Folders() : Focused(ID_FILES) ? Files() : nullptr;
    switch (nChar) {
    case VK_BACK:
        if (list != nullptr && m_folder.has_relative_path())
            Navigate(m_folder.parent_path());
        break;
    case VK_DOWN:
    case VK_UP:
    case VK_HOME:
    case VK_END:
        // The list moves an existing selection itself; the first key makes one.
        if (list != nullptr && list->GetSelection() < 0 && list->GetRowCount() > 0)
            list->SetSelection(0);
        break;
    case VK_RETURN:
        if (list == Folders() && list->GetSelection() >= 0)
            OpenFolderRow(list->GetSelection());
        else if (list != nullptr && m_mode == Mode::SaveProject && list->GetSelection() >= 0)
            OnListBoxItemDoubleClicked(ID_FILES, list->GetSelection());
        else if (list != nullptr || Focused(ID_PATH))
            AcceptTyped(true);
        else
            DialogKit::AfterKeyDown(nChar);
        break;
    default:
        DialogKit::AfterKeyDown(nChar);
        break;
    }
}

} // namespace tav::builder
