#include "builder/MainScreen.h"

#include "builder/AboutBox.h"
#include "builder/BuilderApp.h"
#include "builder/DesignView.h"
#include "builder/DialogGenerationUi.h"
#include "builder/DialogKit.h"
#include "builder/ObjectDialog.h"
#include "builder/OpenProjectDialog.h"
#include "builder/PopupMenus.h"
#include "builder/PreviewScreen.h"
#include "builder/ProjectDialog.h"
#include "builder/ProjectViews.h"
#include "builder/SaveAsDialog.h"
#include "builder/ScreenDialog.h"
#include "builder/ScreenListDialog.h"
#include "builder/SelectionArrows.h"
#include "builder/StatusLine.h"
#include "codegen/GenerateCommands.h"

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
constexpr UINT kRefreshKey = 116; // F5
constexpr const char* kRefreshScreen = "MyScreen";

struct MenuItem {
    const char* text;
    std::function<void(MainScreen&)> run;
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

// The menu bar in the order shown, with what each item runs.
const std::vector<Menu>& MenuTable() {
    static const std::vector<Menu> table = {
        {"FILE",
         {{"New", Command(&MainScreen::OnNewProject)},
          {"Open", Command(&MainScreen::OnOpenProject)},
          {"Save", Command(&MainScreen::OnSaveProject)},
          {"Exit", Command(&MainScreen::OnExitBuilder)}}},
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
          {"This Screen Only", Command(&MainScreen::OnGenerateScreen)}}},
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

// Once the shutdown has begun, the screens are gone and routing must stop.
BOOL StopIfQuitting() {
    return TavIsShuttingDown();
}

} // namespace

MainScreen::~MainScreen() = default;

// ---- layout ----

void MainScreen::AfterInitialize() {
    SetBackgroundImage("art//mainback.bmp", TAVBACK_TILE);
    AddMenuBar();
    AddTree();
    AddPictures();
    AddPalette();
    AddStatusLine(this);
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
    for (const Menu& menu : MenuTable()) {
        const int index = bar->AddMenu(menu.title);
        for (const MenuItem& item : menu.items)
            bar->AddMenuItem(item.text, index);
    }
    SetMenuBar(bar);
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
    tree->DeleteAllItems();
    if (m_project == nullptr) {
        const int item = tree->AddItem(kNoProjectLoaded);
        tree->SetItemExpanded(item, TRUE);
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
    m_history.Do(*m_project, std::move(edit));
    const DesignView* view = ActiveView();
    const std::string shown = view != nullptr ? view->ShownScreen() : m_currentScreen;
    ShowInActiveView(shown);
}

void MainScreen::TakeProject(std::unique_ptr<Project> project) {
    DiscardProject();
    m_project = std::move(project);
    ShowInMainView("");
    RefreshTree("", "");
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
            return;
        }
    }
}

BOOL MainScreen::OnMenuItemClicked(const char* topItem, const char* subItem) {
    if (topItem == nullptr || subItem == nullptr)
        return FALSE;
    for (const Menu& menu : MenuTable()) {
        if (std::string(menu.title) != topItem)
            continue;
        for (const MenuItem& item : menu.items) {
            if (std::string(item.text) == subItem) {
                item.run(*this);
                return StopIfQuitting();
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

void MainScreen::AfterKeyDown(UINT nChar) {
    if (m_project != nullptr && nChar == kRefreshKey)
        ShowInMainView(kRefreshScreen);
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
    if (m_project == nullptr) {
        MessageBox(kNoProjectLoaded);
        return false;
    }
    const std::string path = DialogKit::Run(this, new SaveAsDialog, [](const SaveAsDialog& done) {
        return done.confirmed == 1 ? done.resultPath : std::string();
    });
    if (path.empty() || m_project == nullptr)
        return false;
    if (!m_project->WriteProjectFile(path)) {
        MessageBox("Error saving to file");
        return false;
    }
    return true;
}

void MainScreen::DiscardProject() {
    if (m_project != nullptr)
        m_project->Clear();
    m_project.reset();
    m_currentScreen.clear();
}

void MainScreen::OnNewProject() {
    // A wanted save that did not happen keeps the project: nothing is lost.
    if (m_project != nullptr && !OfferToSave("Do you wish to save your current project?"))
        return;
    DiscardProject();
    ShowInMainView("");
    RefreshTree("", "");

    auto* dialog = new ProjectDialog;
    std::unique_ptr<Project> made =
        DialogKit::Run(this, dialog, [](const ProjectDialog& done) -> std::unique_ptr<Project> {
            if (done.confirmed != 1)
                return nullptr;
            auto project = std::make_unique<Project>();
            CopyFromDialog(done, *project);
            return project;
        });
    if (made != nullptr) {
        m_project = std::move(made);
        m_project->modified = 1;
        RefreshTree("", "");
    }
    if (QuestionBox("Would you like to create a startup screen?") == TRUE)
        OnAddScreen();
}

void MainScreen::OnOpenProject() {
    if (m_project != nullptr && !OfferToSave("Would you like to save your current project?"))
        return;
    DiscardProject();
    // The old project's controls would otherwise stay in the view.
    ShowInMainView("");
    RefreshTree("", "");

    const std::string path = DialogKit::Run(this, new OpenProjectDialog, [](const OpenProjectDialog& done) {
        return done.confirmed == 1 ? done.resultPath : std::string();
    });
    if (path.empty())
        return;
    auto project = std::make_unique<Project>();
    if (!project->ReadProjectFile(path)) {
        MessageBox("Error Opening project file");
        return;
    }
    m_project = std::move(project);
    RefreshTree("", "");
}

void MainScreen::OnSaveProject() {
    SaveProject();
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
    const bool confirmed = DialogKit::Run(this, dialog, [this](const ProjectDialog& done) {
        if (done.confirmed != 1 || m_project == nullptr)
            return false;
        CopyFromDialog(done, *m_project);
        return true;
    });
    if (!confirmed)
        return;
    m_project->modified = 1;
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
    if (RunConfirmed(dialog) && m_project->ScreenCount() > 0)
        RefreshTree(m_project->Screen(m_project->ScreenCount() - 1).name, "");
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
    if (!RunConfirmed(dialog))
        return;
    // Under its new name when it was renamed (buttons and children that named it follow).
    const std::string shown = m_project->Screen(index).name;
    RefreshTree(shown, "");
    ShowInActiveView(shown);
}

void MainScreen::OnDeleteScreen() {
    if (!HasSelection(1, kNoScreenSelected))
        return;
    const std::string screenName = SelectedScreenName();
    if (QuestionBox("Are you sure you want to delete this screen?") != TRUE || m_project == nullptr)
        return;
    m_project->DeleteScreen(m_project->FindScreenIndex(screenName));
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
    if (!RunConfirmed(dialog) || m_project->ObjectCount() == 0)
        return;
    const std::string objectName = m_project->Object(m_project->ObjectCount() - 1).name;
    RefreshTree(screenName, objectName);
    ShowInActiveView(screenName);
    FocusDesignControl(m_project->FindObjectIndex(objectName, screenName));
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
    if (!RunConfirmed(dialog) || index >= m_project->ObjectCount())
        return;
    m_project->modified = 1;
    const ObjectDef& edited = m_project->Object(index);
    RefreshTree(edited.screenName, edited.name);
    ShowInActiveView(screenName);
    FocusDesignControl(index);
}

void MainScreen::OnDeleteObject() {
    if (!HasSelection(2, kNoObjectSelected))
        return;
    const std::string screenName = SelectedScreenName();
    const std::string objectName = SelectedObjectName();
    const std::string question = "Are you sure you want to delete " + objectName;
    if (QuestionBox(question.c_str()) != TRUE || m_project == nullptr)
        return;
    const int index = m_project->FindObjectIndex(objectName, screenName);
    if (index == -1)
        return;
    m_project->DeleteObject(index);
    RefreshTree(screenName, "");
    // Inside a preview its own view shows the change; the main view follows when the preview ends.
    ShowInActiveView(screenName);
}

void MainScreen::OnAbout() {
    DialogKit::Run(this, new AboutBox, [](const AboutBox&) { return true; });
}

// ---- code generation ----

void MainScreen::OnGenerateProject() {
    DialogGenerationUi ui(this);
    GenerationOptions options;
    options.cmakeProject = true;
    GenerateEntireProject(m_project.get(), ui, options);
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
