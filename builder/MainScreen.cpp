#include "builder/MainScreen.h"

#include "builder/AboutBox.h"
#include "builder/BuildPanel.h"
#include "builder/BuilderApp.h"
#include "builder/DesignView.h"
#include "builder/DestinationDialog.h"
#include "builder/DialogGenerationUi.h"
#include "builder/DialogKit.h"
#include "builder/ObjectDialog.h"
#include "builder/OpenProjectDialog.h"
#include "builder/PopupMenus.h"
#include "builder/PreviewScreen.h"
#include "builder/ProjectDialog.h"
#include "builder/ProjectViews.h"
#include "builder/RecentProjects.h"
#include "builder/SaveAsDialog.h"
#include "builder/ScreenDialog.h"
#include "builder/ScreenListDialog.h"
#include "builder/SelectionArrows.h"
#include "builder/StatusLine.h"
#include "codegen/CMakeProjectFile.h"
#include "codegen/GenerateCommands.h"
#include "codegen/GeneratedFile.h"
#include "model/BitmapPaths.h"
#include "model/ObjectClipboard.h"
#include "model/edits/ObjectEdits.h"
#include "model/edits/ProjectState.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace tav::builder {

namespace {

constexpr const char* kNoProject = "There is no project loaded";
constexpr const char* kNoProjectLoaded = "No Project Loaded";
constexpr const char* kNoScreenSelected = "No Screen Selected";
constexpr const char* kNoObjectSelected =
    "There is no object selected. Select and object from the tree control on the left and try again";
constexpr int kPopupWidth = 100;
constexpr int kPopupItemHeight = 15;
constexpr int kMenuBarHeight = 20;
constexpr UINT kRefreshKey = 116;  // F5
constexpr UINT kBuildRunKey = 120; // F9
constexpr double kRunningSeconds = 4;
constexpr const char* kEditMenu = "EDIT";
constexpr const char* kFileMenu = "FILE";
constexpr const char* kProgramName = "Tavrin Controls Builder";
constexpr int kShortcutGap = 24;
constexpr int kGridSizes[] = {5, 10, 20, 40};

struct MenuItem {
    std::string text;
    std::function<void(MainScreen&)> run; // none for a gap
    const char* shortcut = nullptr;
    bool recent = false;
};
struct Menu {
    const char* title;
    std::vector<MenuItem> items;
};

std::function<void(MainScreen&)> Command(void (MainScreen::*command)()) {
    return [command](MainScreen& screen) { (screen.*command)(); };
}
std::function<void(MainScreen&)> AddObjectOf(ObjectKind kind) {
    return [kind](MainScreen& screen) { screen.OnAddObject(kind, -1, -1); };
}
std::function<void(MainScreen&)> AlignTo(AlignKind kind) {
    return [kind](MainScreen& screen) { screen.OnAlign(kind); };
}
std::function<void(MainScreen&)> DistributeBy(DistributeKind kind) {
    return [kind](MainScreen& screen) { screen.OnDistribute(kind); };
}

// The menu bar in the order shown, with what each item runs.
const std::vector<Menu>& MenuTable() {
    static const std::vector<Menu> table = {
        {kFileMenu,
         {{"New", Command(&MainScreen::OnNewProject), "Ctrl+N"},
          {"Open...", Command(&MainScreen::OnOpenProject), "Ctrl+O"},
          {"Save", Command(&MainScreen::OnSaveProject), "Ctrl+S"},
          {"Save As...", Command(&MainScreen::OnSaveProjectAs), "Ctrl+Shift+S"},
          {"Exit", Command(&MainScreen::OnExitBuilder)}}},
        {kEditMenu,
         {{"Undo", Command(&MainScreen::OnUndo), "Ctrl+Z"},
          {"Redo", Command(&MainScreen::OnRedo), "Ctrl+Y"},
          {"Cut", Command(&MainScreen::OnCut), "Ctrl+X"},
          {"Copy", Command(&MainScreen::OnCopy), "Ctrl+C"},
          {"Paste", Command(&MainScreen::OnPaste), "Ctrl+V"},
          {"Duplicate", Command(&MainScreen::OnDuplicate), "Ctrl+D"},
          {"Delete", Command(&MainScreen::OnDeleteObject), "Delete"},
          {"Select All", Command(&MainScreen::OnSelectAll), "Ctrl+A"},
          {"Align Left", AlignTo(AlignKind::Left)},
          {"Align Right", AlignTo(AlignKind::Right)},
          {"Align Top", AlignTo(AlignKind::Top)},
          {"Align Bottom", AlignTo(AlignKind::Bottom)},
          {"Align Horizontal Centres", AlignTo(AlignKind::HorizontalCentres)},
          {"Align Vertical Centres", AlignTo(AlignKind::VerticalCentres)},
          {"Distribute Horizontally", DistributeBy(DistributeKind::Horizontally)},
          {"Distribute Vertically", DistributeBy(DistributeKind::Vertically)},
          {"Bring to Front", Command(&MainScreen::OnBringToFront)},
          {"Send to Back", Command(&MainScreen::OnSendToBack)},
          {"Snap to Grid", Command(&MainScreen::OnToggleSnap)},
          {"Grid Size", Command(&MainScreen::OnGridSize)}}},
        {"PROJECT", {{"Properties", Command(&MainScreen::OnProjectProperties)}}},
        {"SCREEN",
         {{"Add Screen", Command(&MainScreen::OnAddScreen)},
          {"Properties", Command(&MainScreen::OnScreenProperties)},
          {"Delete Screen", Command(&MainScreen::OnDeleteScreen)},
          {"List", Command(&MainScreen::OnListScreens)},
          {"Full Screen", Command(&MainScreen::OnFullScreen)}}},
        {"OBJECT",
         {{"Properties", Command(&MainScreen::OnObjectProperties)},
          {"Add Object", AddObjectOf(ObjectKind::Object)},
          {"Add Button", AddObjectOf(ObjectKind::Button)},
          {"Add Static", AddObjectOf(ObjectKind::Static)},
          {"Add CheckBox", AddObjectOf(ObjectKind::CheckBox)},
          {"Add Edit Box", AddObjectOf(ObjectKind::Edit)},
          {"Add List Box", AddObjectOf(ObjectKind::ListBox)},
          {"Add Tree Control", AddObjectOf(ObjectKind::Tree)},
          {"Add Animation", AddObjectOf(ObjectKind::Animation)},
          {"Delete Object", Command(&MainScreen::OnDeleteObject)}}},
        {"GENERATE CODE",
         {{"Entire Project", Command(&MainScreen::OnGenerateProject)},
          {"This Screen Only", Command(&MainScreen::OnGenerateScreen)},
          {"Build and Run", Command(&MainScreen::OnBuildAndRun), "F9"}}},
        {"HELP", {{"About", Command(&MainScreen::OnAbout)}}},
    };
    return table;
}

struct PopupItem {
    const char* text;
    void (MainScreen::*run)();
};

// The tree's popup menus by kind, items in the order shown.
const std::vector<PopupItem>& PopupTable(MainScreen::PopupKind kind) {
    static const std::vector<PopupItem> none;
    static const std::vector<PopupItem> noProject = {{"New Project", &MainScreen::OnNewProject},
                                                     {"Open Project", &MainScreen::OnOpenProject}};
    static const std::vector<PopupItem> root = {{"New Project", &MainScreen::OnNewProject},
                                                {"Open Project", &MainScreen::OnOpenProject},
                                                {"Properties", &MainScreen::OnProjectProperties}};
    static const std::vector<PopupItem> screen = {{"Properties", &MainScreen::OnScreenProperties},
                                                  {"Delete Screen", &MainScreen::OnDeleteScreen},
                                                  {"View List", &MainScreen::OnListScreens},
                                                  {"Add Screen", &MainScreen::OnAddScreen}};
    static const std::vector<PopupItem> object = {{"Properties", &MainScreen::OnObjectProperties},
                                                  {"Delete", &MainScreen::OnDeleteObject}};
    switch (kind) {
    case MainScreen::NoProjectPopup:
        return noProject;
    case MainScreen::RootPopup:
        return root;
    case MainScreen::ScreenPopup:
        return screen;
    case MainScreen::ObjectPopup:
        return object;
    default:
        return none;
    }
}

struct PaletteIcon {
    DWORD id;
    int x;
    const char* bitmap;
    ObjectKind kind;
};
constexpr int kPaletteY = 490;
constexpr int kPaletteIconSize = 40;
constexpr PaletteIcon kPalette[] = {
    {3, 220, "art//drag//dragobj.bmp", ObjectKind::Object},
    {4, 280, "art//drag//dragbutton.bmp", ObjectKind::Button},
    {5, 340, "art//drag//dragstat.bmp", ObjectKind::Static},
    {6, 400, "art//drag//dragCheck.bmp", ObjectKind::CheckBox},
    {7, 460, "art//drag//dragedit.bmp", ObjectKind::Edit},
    {8, 520, "art//drag//draglist.bmp", ObjectKind::ListBox},
    {9, 580, "art//drag//dragtree.bmp", ObjectKind::Tree},
    {10, 640, "art//drag//draganim.bmp", ObjectKind::Animation},
};

// Adds an initialised object to the screen; drops one that could not be made.
bool AddOrDrop(CTavScreen* screen, CTavObject* object, DWORD initialized) {
    if (initialized == TAVERROR_OK && screen->AddObject(object) == TAVERROR_OK)
        return true;
    TavDeleteObject(object);
    return false;
}

// A plain picture of the screen.
void AddPicture(CTavScreen* screen, DWORD id, int x, int y, const char* bitmap, int width, int height) {
    auto* picture = new CTavObject;
    AddOrDrop(
        screen, picture,
        picture->Initialize(id, static_cast<float>(x), static_cast<float>(y), bitmap, width, height, screen));
}

void CopyToDialog(const Project& project, ProjectDialog& dialog) {
    dialog.name = project.name;
    dialog.appMode = project.appMode;
    dialog.x = project.x;
    dialog.y = project.y;
    dialog.width = project.width;
    dialog.height = project.height;
    dialog.bitsPerPixel = project.bitsPerPixel;
    dialog.showFrameRate = project.showFrameRate;
    dialog.waitVerticalBlank = project.waitVerticalBlank;
}

void CopyFromDialog(const ProjectDialog& dialog, Project& project) {
    project.name = dialog.name;
    project.appMode = dialog.appMode;
    project.x = dialog.x;
    project.y = dialog.y;
    project.width = dialog.width;
    project.height = dialog.height;
    project.bitsPerPixel = dialog.bitsPerPixel;
    project.showFrameRate = dialog.showFrameRate;
    project.waitVerticalBlank = dialog.waitVerticalBlank;
}

// The items `menu` shows now: FILE lists the recent projects, numbered, between gaps before Exit.
std::vector<MenuItem> ItemsOf(const Menu& menu, const std::vector<std::string>& recent) {
    std::vector<MenuItem> items = menu.items;
    if (std::string(menu.title) != kFileMenu)
        return items;
    const MenuItem gap{"", nullptr};
    std::vector<MenuItem> entries = {gap};
    for (std::size_t i = 0; i < recent.size(); ++i) {
        const std::filesystem::path path(recent[i]);
        const std::string text =
            std::to_string(i + 1) + "  " + path.filename().string() + "   " + ShortFolder(path.parent_path());
        const std::string file = recent[i];
        entries.push_back(
            {text, [file](MainScreen& screen) { screen.OpenProjectFile(file); }, nullptr, true});
    }
    if (!recent.empty())
        entries.push_back(gap);
    items.insert(items.end() - 1, entries.begin(), entries.end());
    return items;
}

const Menu& EditMenu() {
    return *std::find_if(MenuTable().begin(), MenuTable().end(),
                         [](const Menu& menu) { return std::string(menu.title) == kEditMenu; });
}

// "Delete Button1" for one object, "Delete 3 Objects" for more.
std::string StepName(const std::string& verb, const std::vector<std::string>& names) {
    return verb + " " + (names.size() == 1 ? names.front() : std::to_string(names.size()) + " Objects");
}

SnapSettings* TheSnapSettings() {
    BuilderApp* app = TheBuilderApp();
    return app != nullptr ? &app->snap : nullptr;
}

// The build panel's rows: "FILE:LINE: MESSAGE" for each error (FILE relative to `folder` when inside it);
// an error without a file (the end of CMake's output) a row per line.
std::vector<std::string> ErrorRows(const std::vector<CompilerError>& errors, const std::string& folder) {
    std::vector<std::string> rows;
    for (const CompilerError& error : errors) {
        if (!error.file.empty()) {
            std::string file = error.file;
            if (file.starts_with(folder + "/"))
                file.erase(0, folder.size() + 1);
            rows.push_back(file + ":" + std::to_string(error.line) + ": " + error.message);
            continue;
        }
        for (const std::string& line : SettingLines(error.message))
            if (!line.empty())
                rows.push_back(line);
    }
    return rows;
}

// Once the shutdown has begun, the screens are gone and routing must stop.
BOOL StopIfQuitting() {
    return TavIsShuttingDown();
}

} // namespace

MainScreen::~MainScreen() {
    // The end of the program, however the user answered the save question: nothing is left to recover.
    m_autosave.Remove();
}

// ---- layout ----

void MainScreen::AfterInitialize() {
    SetBackgroundImage("art//mainback.bmp", TAVBACK_TILE);
    AddMenuBar();
    AddTree();
    AddPictures();
    AddPalette();
    AddStatusLine(this);
    UpdateTitle();
    // Keys reach a screen only while it has the focus: F5 works before the first click.
    SetFocus(TRUE);
}

void MainScreen::AddMenuBar() {
    auto* bar = new CTavMenuBar;
    if (bar->Initialize(this) != TAVERROR_OK) {
        TavDeleteObject(bar);
        return;
    }
    bar->SetHeight(kMenuBarHeight);
    for (std::size_t menu = 0; menu < MenuTable().size(); ++menu) {
        const int index = bar->AddMenu(MenuTable()[menu].title);
        for (const std::string& text : MenuTexts(menu, bar))
            bar->AddMenuItem(text.c_str(), index);
    }
    SetMenuBar(bar);
}

std::vector<std::string> MainScreen::MenuTexts(std::size_t menu, const CTavMenuBar* bar) const {
    const std::vector<MenuItem> items = ItemsOf(MenuTable()[menu], m_recent.Existing());
    const SnapSettings* snap = TheSnapSettings();
    std::vector<std::string> texts;
    for (const MenuItem& entry : items) {
        const std::string text = entry.text;
        std::string detail;
        if (text == "Undo" && m_project != nullptr)
            detail = m_history.UndoName(*m_project);
        else if (text == "Redo" && m_project != nullptr)
            detail = m_history.RedoName(*m_project);
        else if (text == "Snap to Grid" && snap != nullptr)
            detail = snap->enabled ? "(On)" : "(Off)";
        else if (text == "Grid Size" && snap != nullptr)
            detail = std::to_string(snap->grid) + " px";
        texts.push_back(detail.empty() ? text : text + " " + detail);
    }
    // Shortcuts line up in a column right of the widest label of the menu's own items.
    if (bar == nullptr)
        return texts;
    int column = 0;
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (!items[i].recent)
            column = std::max(column, bar->TextWidth(texts[i]));
    const int space = std::max(1, bar->TextWidth(" "));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (const char* shortcut = items[i].shortcut) {
            const int spaces = std::max(3, (column + kShortcutGap - bar->TextWidth(texts[i])) / space);
            texts[i] += std::string(static_cast<std::size_t>(spaces), ' ') + shortcut;
        }
    }
    return texts;
}

std::string MainScreen::EditMenuText(const std::string& item) const {
    const std::vector<MenuItem>& items = EditMenu().items;
    const auto found =
        std::find_if(items.begin(), items.end(), [&](const MenuItem& entry) { return entry.text == item; });
    const auto* bar = dynamic_cast<const CTavMenuBar*>(GetMenuBar());
    const auto menu = static_cast<std::size_t>(&EditMenu() - MenuTable().data());
    return found != items.end() ? MenuTexts(menu, bar)[static_cast<std::size_t>(found - items.begin())]
                                : item;
}

std::string MainScreen::WindowTitle() const {
    if (m_project == nullptr)
        return kProgramName;
    std::string name =
        m_projectPath.empty() ? m_project->name : std::filesystem::path(m_projectPath).stem().string();
    if (name.empty())
        name = "Untitled";
    return (m_project->modified != 0 ? "*" : "") + name + " - " + kProgramName;
}

void MainScreen::UpdateTitle() {
    const std::string title = WindowTitle();
    CTavApp* app = TavGetApp();
    if (app == nullptr || title == m_shownTitle)
        return;
    m_shownTitle = title;
    SetWindowText(app->GetHWND(), title.c_str());
}

void MainScreen::RefreshMenuBar() {
    UpdateTitle();
    auto* bar = dynamic_cast<CTavMenuBar*>(GetMenuBar());
    if (bar == nullptr || bar->GetOpenMenu() >= 0)
        return;
    for (std::size_t menu = 0; menu < MenuTable().size(); ++menu) {
        const std::vector<std::string> texts = MenuTexts(menu, bar);
        const int index = static_cast<int>(menu);
        bool same = bar->GetMenuItemCount(index) == static_cast<int>(texts.size());
        for (std::size_t i = 0; same && i < texts.size(); ++i) {
            const char* shown = bar->GetMenuItem(index, static_cast<int>(i));
            same = shown != nullptr && texts[i] == shown;
        }
        if (!same) {
            AddMenuBar();
            return;
        }
    }
}

void MainScreen::AddTree() {
    auto* tree = new CTavTree;
    const DWORD made = tree->Initialize(20, 30, ProjectTree, this, 180, 450, "art//treeback.bmp",
                                        "art//plus.bmp", "art//minus.bmp");
    if (made == TAVERROR_OK)
        tree->SetFontHeight(12);
    if (AddOrDrop(this, tree, made))
        RefreshTree("", "");
}

void MainScreen::AddPictures() {
    AddPicture(this, ViewFrame, 210, 30, "art//viewback.bmp", 550, 450);
    auto* view = new DesignView;
    if (view->Initialize(DesignViewId, 210, 30, 550, 450, TAVSCREEN_SUBSCREEN, this) != TAVERROR_OK ||
        AddSubScreen(view) != TAVERROR_OK)
        TavDeleteScreen(view);
    AddPicture(this, PalettePanel, 210, 480, "art//treeback.bmp", 550, 100);
}

void MainScreen::AddPalette() {
    for (const PaletteIcon& icon : kPalette)
        AddPicture(this, icon.id, icon.x, kPaletteY, icon.bitmap, kPaletteIconSize, kPaletteIconSize);
}

// ---- lookups ----

CTavTree* MainScreen::Tree() const {
    return dynamic_cast<CTavTree*>(GetObjectByID(ProjectTree));
}

DesignView* MainScreen::View() const {
    return dynamic_cast<DesignView*>(GetScreenByID(DesignViewId));
}

DesignView* MainScreen::ActiveView() const {
    return m_preview != nullptr ? m_preview->View() : View();
}

int MainScreen::ItemLevel(int itemId) const {
    CTavTree* tree = Tree();
    if (tree == nullptr || !tree->HasItem(itemId))
        return -1;
    int level = 0;
    for (int parent = tree->GetParentID(itemId); parent != -1; parent = tree->GetParentID(parent))
        ++level;
    return level;
}

int MainScreen::SelectedLevel() const {
    CTavTree* tree = Tree();
    return tree != nullptr ? ItemLevel(tree->GetSelectedItem()) : -1;
}

std::string MainScreen::SelectedScreenName() const {
    CTavTree* tree = Tree();
    if (tree == nullptr)
        return "";
    const int item = tree->GetSelectedItem();
    switch (ItemLevel(item)) {
    case 1:
        return tree->GetItemText(item);
    case 2:
        return tree->GetItemText(tree->GetParentID(item));
    default:
        return "";
    }
}

std::string MainScreen::SelectedObjectName() const {
    CTavTree* tree = Tree();
    if (tree == nullptr || SelectedLevel() != 2)
        return "";
    return tree->GetItemText(tree->GetSelectedItem());
}

// ---- tree and views ----

void MainScreen::RefreshTree(const std::string& screenName, const std::string& objectName) {
    CTavTree* tree = Tree();
    if (tree == nullptr)
        return;
    tree->SetRedrawEnabled(FALSE); // drawn once, when filled
    tree->DeleteAllItems();
    if (m_project == nullptr) {
        const int item = tree->AddItem(kNoProjectLoaded);
        tree->SetItemExpanded(item, TRUE);
        tree->SetRedrawEnabled(TRUE);
        return;
    }
    FillProjectTree(*m_project, tree, screenName, objectName);
}

void MainScreen::ShowInMainView(const std::string& screenName) {
    if (DesignView* view = View())
        ShowScreenInView(m_project.get(), view, screenName, false);
    m_currentScreen = m_project != nullptr && m_project->FindScreen(screenName) != nullptr ? screenName : "";
}

void MainScreen::ShowInActiveView(const std::string& screenName) {
    if (m_preview == nullptr) {
        ShowInMainView(screenName);
        return;
    }
    if (DesignView* view = m_preview->View())
        ShowScreenInView(m_project.get(), view, screenName, true, this, m_preview);
}

void MainScreen::FocusDesignControl(DesignView* view, int objectIndex) {
    if (view == nullptr || m_project == nullptr || objectIndex < 0 || objectIndex >= m_project->ObjectCount())
        return;
    const ObjectDef& object = m_project->Object(objectIndex);
    const DWORD id = object.designId;
    // A control that failed to build leaves an old id behind: only the object's own control counts.
    CTavObject* control = IsArrowId(id) ? nullptr : view->GetObjectByID(id);
    if (control != nullptr && view->ObjectOfControl(id) == &object)
        control->SetFocus(TRUE);
}

void MainScreen::ApplyEdit(edits::EditPtr edit) {
    if (m_project == nullptr || edit == nullptr)
        return;
    const edits::Edit& step = *edit;
    m_history.Do(*m_project, std::move(edit));
    ShowStep(step);
}

void MainScreen::ShowStep(const edits::Edit& step) {
    std::vector<std::int32_t> moved;
    DesignView* view = ActiveView();
    // A move changes no name: the tree stays, and the view moves its controls.
    if (step.MovesOnly(&moved) && view != nullptr && view->MoveControls(moved)) {
        RefreshMenuBar();
        return;
    }
    ShowChange("", SelectedObjects());
}

void MainScreen::ShowChange(std::string screen, std::vector<std::string> selected) {
    if (m_project == nullptr)
        return;
    DesignView* view = ActiveView();
    if (screen.empty() && view != nullptr)
        screen = view->ShownScreen();
    if (m_project->FindScreen(screen) == nullptr)
        screen.clear();
    std::erase_if(selected,
                  [&](const std::string& name) { return m_project->FindObjectIndex(name, screen) < 0; });
    RefreshTree(screen, selected.empty() ? "" : selected.front());
    if (view != nullptr)
        view->SetSelection(selected);
    ShowInActiveView(screen);
    if (selected.size() == 1)
        FocusDesignControl(m_project->FindObjectIndex(selected.front(), screen));
    RefreshMenuBar();
}

std::string MainScreen::EditedScreen() const {
    const DesignView* view = ActiveView();
    return view != nullptr ? view->ShownScreen() : m_currentScreen;
}

std::vector<std::string> MainScreen::SelectedObjects() const {
    const DesignView* view = ActiveView();
    std::vector<std::string> selection = view != nullptr ? view->Selection() : std::vector<std::string>();
    // An object chosen in the tree since counts alone.
    if (SelectedLevel() == 2 && SelectedScreenName() == EditedScreen() &&
        std::find(selection.begin(), selection.end(), SelectedObjectName()) == selection.end())
        return {SelectedObjectName()};
    return selection;
}

std::vector<int> MainScreen::IndexesOf(const std::vector<std::string>& names,
                                       const std::string& screen) const {
    std::vector<int> indexes;
    for (const std::string& name : names)
        if (const int index = m_project->FindObjectIndex(name, screen); index >= 0)
            indexes.push_back(index);
    return indexes;
}

void MainScreen::StartHistory() {
    if (m_project != nullptr)
        m_history.Reset(*m_project);
    else
        m_history.Clear();
}

void MainScreen::TakeProject(std::unique_ptr<Project> project) {
    DiscardProject();
    m_project = std::move(project);
    StartHistory();
    ShowInMainView("");
    RefreshTree("", "");
    RefreshMenuBar();
}

void MainScreen::AfterTreeCntrlSelectionChanged(DWORD tID, int itemID) {
    CTavTree* tree = Tree();
    if (m_project == nullptr || tID != ProjectTree || tree == nullptr)
        return;
    const int level = ItemLevel(itemID);
    std::string screenName;
    if (level == 1)
        screenName = tree->GetItemText(itemID);
    else if (level == 2)
        screenName = tree->GetItemText(tree->GetParentID(itemID));
    if (screenName != m_currentScreen)
        ShowInMainView(screenName);
    // While a preview is open its own view has set this selection.
    if (level != 2 || screenName.empty() || m_preview != nullptr || m_project == nullptr)
        return;
    FocusDesignControl(View(), m_project->FindObjectIndex(tree->GetItemText(itemID), screenName));
}

void MainScreen::OnTreeCntrlItemRightClick(DWORD tID, int itemID) {
    if (tID != ProjectTree)
        return;
    if (m_project == nullptr) {
        OpenTreePopup(NoProjectPopup);
        return;
    }
    switch (ItemLevel(itemID)) {
    case 0:
        OpenTreePopup(RootPopup);
        break;
    case 1:
        OpenTreePopup(ScreenPopup);
        break;
    case 2:
        OpenTreePopup(ObjectPopup);
        break;
    default:
        break;
    }
}

void MainScreen::OpenTreePopup(PopupKind kind) {
    const std::vector<PopupItem>& items = PopupTable(kind);
    CTavApp* app = TavGetApp();
    if (items.empty() || app == nullptr)
        return;
    std::vector<const char*> texts;
    for (const PopupItem& item : items)
        texts.push_back(item.text);
    const int height = kPopupItemHeight * static_cast<int>(items.size());
    if (OpenPopupMenu(this, app->GetMouseX(), app->GetMouseY(), kPopupWidth, height, texts) != nullptr)
        m_popupKind = kind;
}

void MainScreen::OnPopupMenuItemClicked(const char* item) {
    const PopupKind kind = std::exchange(m_popupKind, NoPopup);
    if (item == nullptr)
        return;
    for (const PopupItem& entry : PopupTable(kind)) {
        if (std::string(entry.text) == item) {
            (this->*entry.run)();
            RefreshMenuBar();
            return;
        }
    }
}

BOOL MainScreen::OnMenuItemClicked(const char* topItem, const char* subItem) {
    if (topItem == nullptr || subItem == nullptr)
        return FALSE;
    for (std::size_t menu = 0; menu < MenuTable().size(); ++menu) {
        if (std::string(MenuTable()[menu].title) != topItem)
            continue;
        const std::vector<MenuItem> items = ItemsOf(MenuTable()[menu], m_recent.Existing());
        const std::vector<std::string> shown =
            MenuTexts(menu, dynamic_cast<const CTavMenuBar*>(GetMenuBar()));
        for (std::size_t i = 0; i < items.size(); ++i) {
            const MenuItem& item = items[i];
            if (item.text == subItem || (i < shown.size() && shown[i] == subItem)) {
                if (!item.run)
                    return FALSE;
                item.run(*this);
                if (StopIfQuitting())
                    return TRUE;
                RefreshMenuBar();
                return FALSE;
            }
        }
    }
    return FALSE;
}

void MainScreen::AfterLMouseDown(int x, int y) {
    BuilderApp* app = TheBuilderApp();
    if (m_project == nullptr || app == nullptr)
        return;
    for (CTavObject* object : ObjectsSnapshot()) {
        const DWORD id = object->GetID();
        if (id < FirstPaletteIcon || id > LastPaletteIcon || !object->HitTest(x, y))
            continue;
        for (const PaletteIcon& icon : kPalette)
            if (icon.id == id)
                app->dragKind = icon.kind;
        app->StartDrag(BuilderApp::PlacingObject, object, object->GetX() + static_cast<float>(GetAppX()),
                       object->GetY() + static_cast<float>(GetAppY()));
        return;
    }
}

void MainScreen::AfterMouseMove(int, int) {
    // Off the view the pointer has no place on the screen; a drag keeps showing its rectangle.
    const BuilderApp* app = TheBuilderApp();
    if (app == nullptr || app->GestureView() == nullptr)
        ShowStatus(this, "");
}

void MainScreen::AfterKeyDown(UINT nChar) {
    const bool control = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool shift = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    if (!control) {
        // F5 draws the shown screen again, its bitmaps read anew.
        if (m_project != nullptr && nChar == kRefreshKey)
            ShowInMainView(m_currentScreen);
        if (nChar == kBuildRunKey && !shift) {
            OnBuildAndRun();
            RefreshMenuBar();
        }
        return;
    }
    struct Shortcut {
        UINT key;
        bool shift;
        void (MainScreen::*run)();
    };
    static constexpr Shortcut kShortcuts[] = {
        {'Z', false, &MainScreen::OnUndo},        {'Z', true, &MainScreen::OnRedo},
        {'Y', false, &MainScreen::OnRedo},        {'X', false, &MainScreen::OnCut},
        {'C', false, &MainScreen::OnCopy},        {'V', false, &MainScreen::OnPaste},
        {'D', false, &MainScreen::OnDuplicate},   {'A', false, &MainScreen::OnSelectAll},
        {'S', false, &MainScreen::OnSaveProject}, {'S', true, &MainScreen::OnSaveProjectAs},
        {'O', false, &MainScreen::OnOpenProject}, {'N', false, &MainScreen::OnNewProject},
    };
    for (const Shortcut& shortcut : kShortcuts) {
        if (shortcut.key == nChar && shortcut.shift == shift) {
            (this->*shortcut.run)();
            RefreshMenuBar();
            return;
        }
    }
}

// ---- dialogs ----

template <typename Dialog>
bool MainScreen::RunConfirmed(Dialog* dialog) {
    // The kit shows it over the innermost screen: the preview when one is open.
    return DialogKit::Run(this, dialog, [](const Dialog& done) { return done.confirmed == 1; });
}

// ---- file commands ----

bool MainScreen::OfferToSave(const char* question) {
    if (m_project == nullptr || m_project->modified == 0)
        return true;
    if (QuestionBox(question) != TRUE)
        return true;
    return SaveProject();
}

bool MainScreen::SaveProject() {
    if (m_project != nullptr && !m_projectPath.empty())
        return WriteProject(m_projectPath);
    return SaveProjectAs();
}

bool MainScreen::SaveProjectAs() {
    if (m_project == nullptr) {
        MessageBox(kNoProjectLoaded);
        return false;
    }
    const std::string path = DialogKit::Run(
        this, new SaveAsDialog(ProjectFolder(), std::filesystem::path(m_projectPath).filename().string()),
        [](const SaveAsDialog& done) { return done.confirmed == 1 ? done.resultPath : std::string(); });
    return !path.empty() && WriteProject(path);
}

std::string MainScreen::ProjectFolder() const {
    return m_projectPath.empty() ? "" : std::filesystem::path(m_projectPath).parent_path().string();
}

bool MainScreen::WriteProject(const std::string& path) {
    if (m_project == nullptr)
        return false;
    if (!WritePortableProject(*m_project, path, FolderOf(path))) {
        MessageBox("Error saving to file");
        return false;
    }
    m_projectPath = path;
    m_history.MarkSaved(*m_project);
    m_autosave.Saved();
    m_recent.Add(path);
    ShowNotice(this, "Saved " + std::filesystem::path(path).filename().string());
    RefreshMenuBar();
    return true;
}

void MainScreen::DiscardProject() {
    if (m_project != nullptr)
        m_project->Clear();
    m_project.reset();
    m_projectPath.clear();
    StartHistory();
    m_currentScreen.clear();
    UpdateTitle();
}

void MainScreen::OnNewProject() {
    // A wanted save that did not happen keeps the project: nothing is lost.
    if (m_project != nullptr && !OfferToSave("Do you wish to save your current project?"))
        return;
    // The current project stays until the new one's settings are confirmed.
    auto* dialog = new ProjectDialog;
    std::unique_ptr<Project> made =
        DialogKit::Run(this, dialog, [](const ProjectDialog& done) -> std::unique_ptr<Project> {
            if (done.confirmed != 1)
                return nullptr;
            auto project = std::make_unique<Project>();
            CopyFromDialog(done, *project);
            return project;
        });
    if (made == nullptr)
        return;
    DiscardProject();
    m_project = std::move(made);
    m_project->modified = 1;
    StartHistory();
    ShowInMainView("");
    RefreshTree("", "");
    RefreshMenuBar();
    if (QuestionBox("Would you like to create a startup screen?") == TRUE)
        OnAddScreen();
}

void MainScreen::OnOpenProject() {
    if (m_project != nullptr && !OfferToSave("Would you like to save your current project?"))
        return;
    // The current project stays until another one has been read.
    const std::string path =
        DialogKit::Run(this, new OpenProjectDialog(ProjectFolder()), [](const OpenProjectDialog& done) {
            return done.confirmed == 1 ? done.resultPath : std::string();
        });
    if (!path.empty())
        ReadProject(path);
}

bool MainScreen::OpenProjectFile(const std::string& path) {
    if (m_project != nullptr && !OfferToSave("Would you like to save your current project?"))
        return false;
    return ReadProject(path);
}

bool MainScreen::ReadProject(const std::string& path) {
    auto project = std::make_unique<Project>();
    if (!ReadPortableProject(*project, path)) {
        m_recent.Remove(path);
        MessageBox("Error Opening project file");
        RefreshMenuBar();
        return false;
    }
    TakeProject(std::move(project));
    m_projectPath = path;
    m_recent.Add(path);
    RefreshMenuBar();
    return true;
}

void MainScreen::OfferRecovery() {
    std::optional<Autosave::Leftover> leftover =
        m_autosave.FindLeftover(m_project != nullptr ? m_projectPath : "");
    if (!leftover)
        return;
    if (QuestionBox(Autosave::Question(*leftover, std::time(nullptr)).c_str()) != TRUE) {
        m_autosave.Decline(leftover->file);
        return;
    }
    // Modified, with its own file: Save writes it in place.
    leftover->project->modified = 1;
    TakeProject(std::move(leftover->project));
    m_projectPath = leftover->projectPath;
    if (!m_projectPath.empty())
        m_project->folder = FolderOf(m_projectPath);
    m_autosave.Adopt(leftover->file, m_history.Changes(), *m_project, m_projectPath);
    RefreshMenuBar(); // the title names the file
}

void MainScreen::TickAutosave(double elapsed) {
    m_autosave.Tick(elapsed, m_history.Changes(), m_project.get(), m_projectPath);
}

void MainScreen::OnSaveProject() {
    SaveProject();
}

void MainScreen::OnSaveProjectAs() {
    SaveProjectAs();
}

void MainScreen::OnExitBuilder() {
    if (QuestionBox("Are you sure you want to exit?") != TRUE)
        return;
    if (!OfferToSave("Do you wish to save your project?"))
        return;
    CTavApp* app = TavGetApp();
    if (app != nullptr && !TavIsShuttingDown())
        app->Shutdown();
}

bool MainScreen::ConfirmClose() {
    if (m_askingToClose)
        return false;
    m_askingToClose = true;
    const bool close = OfferToSave("Do you wish to save your project?");
    m_askingToClose = false;
    return close;
}

void MainScreen::OnProjectProperties() {
    if (m_project == nullptr) {
        MessageBox(kNoProjectLoaded);
        return;
    }
    auto* dialog = new ProjectDialog;
    CopyToDialog(*m_project, *dialog);
    dialog->project = m_project.get();
    const edits::ProjectState before = edits::StateOf(*m_project);
    DialogKit::Run(this, dialog, [this](const ProjectDialog& done) {
        if (done.confirmed != 1 || m_project == nullptr)
            return false;
        CopyFromDialog(done, *m_project);
        return true;
    });
    if (m_project != nullptr && m_history.Record(*m_project, before, "Project Properties"))
        RefreshTree("", "");
}

// ---- screen commands ----

bool MainScreen::HasSelection(int level, const char* missing) {
    if (m_project == nullptr) {
        MessageBox(kNoProject);
        return false;
    }
    if (SelectedLevel() < level) {
        MessageBox(missing);
        return false;
    }
    return true;
}

void MainScreen::OnAddScreen() {
    if (m_project == nullptr) {
        MessageBox(kNoProject);
        return;
    }
    auto* dialog = new ScreenDialog;
    dialog->project = m_project.get();
    dialog->editIndex = Project::kNewItem;
    const edits::ProjectState before = edits::StateOf(*m_project);
    RunConfirmed(dialog);
    if (m_project == nullptr || m_project->ScreenCount() == 0)
        return;
    const std::string added = m_project->Screen(m_project->ScreenCount() - 1).name;
    if (m_history.Record(*m_project, before, "Add " + added))
        RefreshTree(added, "");
}

void MainScreen::OnScreenProperties() {
    if (!HasSelection(1, kNoScreenSelected))
        return;
    const std::string screenName = SelectedScreenName();
    const int index = m_project->FindScreenIndex(screenName);
    if (index == -1) {
        MessageBox("Invalid Screen");
        return;
    }
    auto* dialog = new ScreenDialog;
    dialog->project = m_project.get();
    dialog->editIndex = index;
    const edits::ProjectState before = edits::StateOf(*m_project);
    RunConfirmed(dialog);
    if (m_project == nullptr || index >= m_project->ScreenCount())
        return;
    // Under its new name when it was renamed (buttons and children that named it follow).
    const std::string shown = m_project->Screen(index).name;
    if (!m_history.Record(*m_project, before, "Properties of " + shown))
        return;
    RefreshTree(shown, "");
    ShowInActiveView(shown);
}

void MainScreen::OnDeleteScreen() {
    if (!HasSelection(1, kNoScreenSelected))
        return;
    const std::string screenName = SelectedScreenName();
    if (QuestionBox("Are you sure you want to delete this screen?") != TRUE || m_project == nullptr)
        return;
    const edits::ProjectState before = edits::StateOf(*m_project);
    m_project->DeleteScreen(m_project->FindScreenIndex(screenName));
    m_history.Record(*m_project, before, "Delete " + screenName);
    RefreshTree("", "");
    ShowInMainView("");
}

void MainScreen::OnListScreens() {
    if (m_project == nullptr) {
        MessageBox(kNoProject);
        return;
    }
    if (m_project->ScreenCount() == 0) {
        MessageBox("There are no screens in the project");
        return;
    }
    auto* dialog = new ScreenListDialog;
    dialog->project = m_project.get();
    const std::optional<std::string> chosen =
        DialogKit::Run(this, dialog, [](const ScreenListDialog& done) -> std::optional<std::string> {
            if (done.confirmed != 1)
                return std::nullopt;
            return done.chosenName;
        });
    if (chosen.has_value())
        RefreshTree(*chosen, "");
}

void MainScreen::OnFullScreen() {
    if (!HasSelection(1, kNoScreenSelected))
        return;
    const std::string screenName = SelectedScreenName();
    // Only a screen of the project can be previewed.
    if (m_project->FindScreen(screenName) == nullptr || m_preview != nullptr) {
        MessageBox("Invalid Screen");
        return;
    }
    auto* preview = new PreviewScreen;
    if (preview->Initialize(0, 0, 0, 800, 600, TAVSCREEN_POPUP, this) != TAVERROR_OK) {
        TavDeleteScreen(preview);
        return;
    }
    auto* view = new DesignView;
    if (view->Initialize(0, 0, 0, 550, 450, TAVSCREEN_SUBSCREEN, preview) != TAVERROR_OK) {
        TavDeleteScreen(view);
        TavDeleteScreen(preview);
        return;
    }
    ShowScreenInView(m_project.get(), view, screenName, true, this, preview);
    if (preview->AddSubScreen(view) != TAVERROR_OK) {
        TavDeleteScreen(view);
        TavDeleteScreen(preview);
        return;
    }
    {
        // The preview stays in memory until this block has finished with it.
        CTavDeferDelete keep;
        m_preview = preview;
        // Escape ends the preview without a click first.
        preview->SetFocus(TRUE);
        if (SetChildScreen(preview) != TAVERROR_OK) {
            m_preview = nullptr;
            TavDeleteScreen(preview);
            return;
        }
        m_preview = nullptr;
        if (GetChildScreen() == preview)
            RemoveChildScreen();
    }
    // Changes made in the preview show in the main view too.
    ShowInMainView(screenName);
}

// ---- object commands ----

void MainScreen::OnAddObject(ObjectKind kind, int x, int y) {
    if (m_project == nullptr) {
        MessageBox(kNoProject);
        return;
    }
    const std::string screenName = SelectedScreenName();
    if (SelectedLevel() < 1 || screenName.empty()) {
        MessageBox("Select a screen to add the object to first");
        return;
    }
    auto* dialog = new ObjectDialog;
    dialog->screenName = screenName;
    dialog->kind = kind;
    dialog->project = m_project.get();
    dialog->editedIndex = Project::kNewItem;
    // From the OBJECT menu: the middle of the view that shows the screen.
    if (DesignView* view = ActiveView(); x == -1 && view != nullptr && view->ShownScreen() == screenName)
        view->NewObjectPoint(&x, &y);
    if (x != -1) {
        dialog->presetX = x;
        dialog->presetY = y;
    }
    const edits::ProjectState before = edits::StateOf(*m_project);
    RunConfirmed(dialog);
    if (m_project == nullptr || m_project->ObjectCount() == 0)
        return;
    const std::string objectName = m_project->Object(m_project->ObjectCount() - 1).name;
    if (m_history.Record(*m_project, before, "Add " + objectName))
        ShowChange(screenName, {objectName});
}

void MainScreen::OnObjectProperties() {
    if (!HasSelection(2, kNoObjectSelected))
        return;
    const std::string screenName = SelectedScreenName();
    const int index = m_project->FindObjectIndex(SelectedObjectName(), screenName);
    if (index == -1)
        return;
    auto* dialog = new ObjectDialog;
    dialog->screenName = screenName;
    dialog->kind = m_project->Object(index).kind;
    dialog->project = m_project.get();
    dialog->editedIndex = index;
    const edits::ProjectState before = edits::StateOf(*m_project);
    RunConfirmed(dialog);
    if (m_project == nullptr || index >= m_project->ObjectCount())
        return;
    const ObjectDef& edited = m_project->Object(index);
    if (!m_history.Record(*m_project, before, "Properties of " + edited.name))
        return;
    RefreshTree(edited.screenName, edited.name);
    ShowInActiveView(screenName);
    FocusDesignControl(index);
    RefreshMenuBar();
}

void MainScreen::OnDeleteObject() {
    if (m_project == nullptr) {
        MessageBox(kNoProject);
        return;
    }
    const std::string screenName = EditedScreen();
    const std::vector<std::string> names = SelectedObjects();
    if (names.empty()) {
        MessageBox(kNoObjectSelected);
        return;
    }
    const std::string question = names.size() == 1 ? "Are you sure you want to delete " + names.front()
                                                   : "Delete " + std::to_string(names.size()) + " objects?";
    if (QuestionBox(question.c_str()) != TRUE || m_project == nullptr)
        return;
    // Inside a preview its own view shows the change; the main view follows when the preview ends.
    RemoveObjects(names, screenName, "Delete");
}

void MainScreen::RemoveObjects(const std::vector<std::string>& names, const std::string& screenName,
                               const std::string& verb) {
    std::vector<int> indexes = IndexesOf(names, screenName);
    if (indexes.empty())
        return;
    // From the back, so that each index still holds when its part runs.
    std::sort(indexes.rbegin(), indexes.rend());
    std::vector<edits::EditPtr> parts;
    for (const int index : indexes)
        parts.push_back(std::make_unique<edits::RemoveObject>(index, m_project->Object(index)));
    m_history.Do(*m_project, std::make_unique<edits::Compound>(StepName(verb, names), std::move(parts)));
    ShowChange(screenName, {});
}

// ---- edit commands ----

void MainScreen::OnUndo() {
    const edits::Edit* step = m_history.UndoStep();
    if (m_project != nullptr && m_history.Undo(*m_project))
        ShowStep(*step);
}

void MainScreen::OnRedo() {
    const edits::Edit* step = m_history.RedoStep();
    if (m_project != nullptr && m_history.Redo(*m_project))
        ShowStep(*step);
}

bool MainScreen::CopySelection() {
    if (m_project == nullptr) {
        MessageBox(kNoProject);
        return false;
    }
    const std::vector<int> indexes = IndexesOf(SelectedObjects(), EditedScreen());
    if (indexes.empty()) {
        MessageBox(kNoObjectSelected);
        return false;
    }
    std::vector<const ObjectDef*> objects;
    for (const int index : indexes)
        objects.push_back(&m_project->Object(index));
    if (TavSetClipboardText(FormatObjectRecords(objects)) != TRUE) {
        MessageBox("The clipboard did not take the objects");
        return false;
    }
    return true;
}

void MainScreen::OnCopy() {
    CopySelection();
}

void MainScreen::OnCut() {
    if (CopySelection())
        RemoveObjects(SelectedObjects(), EditedScreen(), "Cut");
}

void MainScreen::OnPaste() {
    PasteText(TavGetClipboardText(), "Paste");
}

void MainScreen::OnDuplicate() {
    if (m_project == nullptr) {
        MessageBox(kNoProject);
        return;
    }
    std::vector<const ObjectDef*> objects;
    for (const int index : IndexesOf(SelectedObjects(), EditedScreen()))
        objects.push_back(&m_project->Object(index));
    if (objects.empty()) {
        MessageBox(kNoObjectSelected);
        return;
    }
    PasteText(FormatObjectRecords(objects), "Duplicate");
}

void MainScreen::PasteText(const std::string& text, const std::string& verb) {
    if (m_project == nullptr) {
        MessageBox(kNoProject);
        return;
    }
    const std::string screenName = EditedScreen();
    if (m_project->FindScreen(screenName) == nullptr) {
        MessageBox("Select a screen to paste into first");
        return;
    }
    std::vector<ObjectDef> objects;
    if (!ParseObjectRecords(text, objects, nullptr) || objects.empty()) {
        MessageBox("The clipboard holds no objects to paste");
        return;
    }
    std::vector<edits::EditPtr> parts;
    std::vector<std::string> names;
    for (ObjectDef& object : PrepareToPaste(*m_project, screenName, std::move(objects))) {
        // A screen of another project, or one deleted since the copy, is not opened.
        if (m_project->FindScreen(object.clickScreen) == nullptr)
            object.clickScreen.clear();
        names.push_back(object.name);
        const auto index = static_cast<std::int32_t>(m_project->ObjectCount() + parts.size());
        parts.push_back(std::make_unique<edits::InsertObject>(index, std::move(object)));
    }
    m_history.Do(*m_project, std::make_unique<edits::Compound>(StepName(verb, names), std::move(parts)));
    ShowChange(screenName, names);
}

void MainScreen::OnSelectAll() {
    if (DesignView* view = ActiveView())
        view->SelectAll();
}

namespace {

constexpr const char* kAlignNames[] = {"Align Left",   "Align Right",   "Align Top",
                                       "Align Bottom", "Align Centres", "Align Middles"};

} // namespace

void MainScreen::OnAlign(AlignKind kind) {
    Arrange(kAlignNames[static_cast<int>(kind)], 2, "Select two or more objects to align",
            [kind](const std::vector<Bounds>& bounds) { return Align(bounds, kind); });
}

void MainScreen::OnDistribute(DistributeKind kind) {
    Arrange(kind == DistributeKind::Horizontally ? "Distribute Horizontally" : "Distribute Vertically", 3,
            "Select three or more objects to distribute",
            [kind](const std::vector<Bounds>& bounds) { return Distribute(bounds, kind); });
}

void MainScreen::Arrange(const char* name, std::size_t least, const char* tooFew,
                         const std::function<std::vector<Bounds>(const std::vector<Bounds>&)>& place) {
    const std::vector<int> indexes =
        m_project != nullptr ? IndexesOf(SelectedObjects(), EditedScreen()) : std::vector<int>();
    if (indexes.size() < least) {
        MessageBox(tooFew);
        return;
    }
    std::vector<Bounds> bounds;
    for (const int index : indexes)
        bounds.push_back(BoundsOf(m_project->Object(index)));
    const std::vector<Bounds> placed = place(bounds);
    std::vector<edits::SetBounds::Change> changes;
    for (std::size_t i = 0; i < indexes.size(); ++i)
        if (!(placed[i] == bounds[i]))
            changes.push_back({indexes[i], bounds[i], placed[i]});
    if (!changes.empty())
        ApplyEdit(std::make_unique<edits::SetBounds>(name, std::move(changes)));
}

void MainScreen::OnBringToFront() {
    Reorder(true);
}

void MainScreen::OnSendToBack() {
    Reorder(false);
}

void MainScreen::Reorder(bool toFront) {
    const std::string screenName = EditedScreen();
    std::vector<int> indexes =
        m_project != nullptr ? IndexesOf(SelectedObjects(), screenName) : std::vector<int>();
    if (indexes.empty()) {
        MessageBox(m_project != nullptr ? kNoObjectSelected : kNoProject);
        return;
    }
    // The list as it will be after each part: front parts go in list order, back parts in reverse, so
    // that the moved objects keep their order among themselves.
    std::vector<const ObjectDef*> order;
    for (const auto& object : m_project->objects)
        order.push_back(object.get());
    std::sort(indexes.begin(), indexes.end());
    if (!toFront)
        std::reverse(indexes.begin(), indexes.end());
    const std::string name = toFront ? "Bring to Front" : "Send to Back";
    std::vector<edits::EditPtr> parts;
    for (const int index : indexes) {
        const ObjectDef* moved = &m_project->Object(index);
        const auto from = static_cast<int>(std::find(order.begin(), order.end(), moved) - order.begin());
        int to = -1;
        for (int i = 0; i < static_cast<int>(order.size()); ++i)
            if (order[static_cast<std::size_t>(i)]->screenName == screenName && (to < 0 || toFront))
                to = i;
        if (from == to)
            continue;
        order.erase(order.begin() + from);
        order.insert(order.begin() + to, moved);
        parts.push_back(std::make_unique<edits::ReorderObject>(name, from, to));
    }
    if (!parts.empty())
        ApplyEdit(std::make_unique<edits::Compound>(name, std::move(parts)));
}

void MainScreen::OnToggleSnap() {
    if (SnapSettings* snap = TheSnapSettings())
        snap->enabled = !snap->enabled;
    RefreshGrids();
}

// The grid follows the settings at once in every view.
void MainScreen::RefreshGrids() {
    if (DesignView* view = View())
        view->RefreshMarks();
    if (m_preview != nullptr && m_preview->View() != nullptr)
        m_preview->View()->RefreshMarks();
}

void MainScreen::OnGridSize() {
    SnapSettings* snap = TheSnapSettings();
    if (snap == nullptr)
        return;
    // The next of the sizes offered; any other size starts them again.
    const auto* next = std::upper_bound(std::begin(kGridSizes), std::end(kGridSizes), snap->grid);
    snap->grid = next != std::end(kGridSizes) ? *next : kGridSizes[0];
    RefreshGrids();
}

void MainScreen::OnAbout() {
    DialogKit::Run(this, new AboutBox, [](const AboutBox&) { return true; });
}

// ---- code generation ----

GenerationOutcome MainScreen::GenerateAsStep(GenerationUi& ui, const GenerationOptions& options) {
    if (m_project == nullptr)
        return GenerateEntireProject(nullptr, ui, options);
    // A startup screen chosen on the way is a change of the project like any other.
    const edits::ProjectState before = edits::StateOf(*m_project);
    const GenerationOutcome outcome = GenerateEntireProject(m_project.get(), ui, options);
    if (m_project != nullptr && m_history.Record(*m_project, before, "Startup Screen"))
        ShowChange("", SelectedObjects());
    return outcome;
}

void MainScreen::OnGenerateProject() {
    DialogGenerationUi ui(this);
    GenerationOptions options;
    options.cmakeProject = true;
    // The folder chosen here is where Build and Run generates this project from now on.
    if (GenerateAsStep(ui, options) == GenerationOutcome::Completed && !m_projectPath.empty())
        m_outputs.Remember(m_projectPath, ui.ChosenFolder());
}

void MainScreen::OnBuildAndRun() {
    if (Building()) {
        MessageBox("A build is already running");
        return;
    }
    if (m_project == nullptr) {
        MessageBox(kNoProject);
        return;
    }
    const std::string package = FindTavCtrlsPackage();
    if (package.empty()) {
        MessageBox("The TavCtrls package was not found, so the program cannot be built. Build or install "
                   "the library first.");
        return;
    }
    if (!OnPath("cmake")) {
        MessageBox("CMake was not found, so the program cannot be built. Install cmake first.");
        return;
    }
    if (m_projectPath.empty() && !SaveProjectAs())
        return;
    std::string folder = m_outputs.For(m_projectPath);
    // The folder beside the project may hold someone else's files; then the user names one.
    if (!m_outputs.Remembered(m_projectPath) && HoldsOtherFiles(folder)) {
        MessageBox((folder + " holds files that were not generated here. Choose the folder to build the "
                             "program in.")
                       .c_str());
        const std::optional<std::string> chosen = DestinationDialog::Ask(this);
        if (!chosen)
            return;
        folder = *chosen;
    }
    BuildRunGenerationUi ui(this, folder);
    GenerationOptions options;
    options.cmakeProject = true;
    const GenerationOutcome outcome = GenerateAsStep(ui, options);
    if (outcome != GenerationOutcome::Completed || m_project == nullptr)
        return;
    m_outputs.Remember(m_projectPath, folder);
    m_buildRequest = BuildRequest{folder, "", package, CMakeTargetName(m_project->name)};
    if (m_build == nullptr)
        m_build = std::make_unique<BuildRunner>();
    if (!m_build->Start(m_buildRequest)) {
        MessageBox("A build is already running");
        return;
    }
    m_buildWatched = true;
    m_buildName = m_project->name;
    m_runningLeft = 0;
    if (BuildPanel* panel = BuildPanel::Show(this, BuildPanel::Mode::Building, "Building " + m_project->name))
        panel->SetProgress(0, "Starting");
}

void MainScreen::OnStopBuild() {
    if (m_build != nullptr)
        m_build->Cancel();
    m_buildWatched = false;
    BuildPanel::Remove(this);
    ShowNotice(this, "Build stopped");
}

void MainScreen::CloseBuildPanel() {
    m_runningLeft = 0;
    BuildPanel::Remove(this);
}

void MainScreen::TickBuild(double elapsed) {
    WatchBuild(elapsed);
    // A build and the start of its program go on while the designer is in the background.
    if (BuilderApp* app = TheBuilderApp())
        app->SetRunWhileInactive(m_buildWatched || m_runningLeft > 0);
}

void MainScreen::WatchBuild(double elapsed) {
    if (m_runningLeft > 0 && (m_runningLeft -= elapsed) <= 0)
        BuildPanel::Remove(this);
    if (!m_buildWatched || m_build == nullptr)
        return;
    const BuildProgress progress = m_build->Progress();
    if (m_build->Running()) {
        if (BuildPanel* panel = BuildPanel::Of(this);
            panel != nullptr && panel->GetMode() == BuildPanel::Mode::Building)
            panel->SetProgress(progress.percent, progress.step);
        return;
    }
    m_buildWatched = false;
    if (progress.state == BuildState::Succeeded) {
        const std::string program = BuildRunner::ExecutablePath(m_buildRequest);
        if (LaunchProgram(program, {}) >= 0) {
            BuildPanel::Show(this, BuildPanel::Mode::Running, "Running " + m_buildName);
            m_runningLeft = kRunningSeconds;
            return;
        }
        BuildPanel::Show(this, BuildPanel::Mode::Failed, "Could not start the program",
                         {program + ": not started"});
        return;
    }
    if (progress.state == BuildState::Cancelled) {
        BuildPanel::Remove(this);
        return;
    }
    BuildPanel::Show(this, BuildPanel::Mode::Failed, "Build failed",
                     ErrorRows(m_build->Errors(), m_buildRequest.sourceFolder));
}

void MainScreen::OnGenerateScreen() {
    std::optional<TreeSelection> selection;
    CTavTree* tree = Tree();
    const int level = SelectedLevel();
    if (tree != nullptr && level >= 0) {
        const int item = tree->GetSelectedItem();
        selection = TreeSelection{tree->GetItemText(item), level,
                                  level == 2 ? tree->GetItemText(tree->GetParentID(item)) : std::string()};
    }
    DialogGenerationUi ui(this);
    GenerateThisScreen(m_project.get(), selection, ui);
}

} // namespace tav::builder
