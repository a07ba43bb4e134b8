// The main screen: its layout, menu bar and tree popups in every state of project and selection, the
// tree driving the view, F5 and its pictures; whole sessions: made, edited, saved and opened again,
// leaving with unsaved work, the palette, generation from the menu; the project tree, the design view
// and the preview; the entry point's displays.
#include "TavRuntime.h"
#include "builder/BuildPanel.h"
#include "builder/BuilderEntry.h"
#include "builder/DestinationDialog.h"
#include "builder/OpenProjectDialog.h"
#include "builder/PreviewScreen.h"
#include "builder/ProjectDialog.h"
#include "builder/ProjectViews.h"
#include "builder/RecentProjects.h"
#include "builder/SaveAsDialog.h"
#include "builder/ScreenDialog.h"
#include "builder/ScreenListDialog.h"
#include "builder/SelectionArrows.h"
#include "builder/StatusLine.h"
#include "model/BitmapPaths.h"
#include "model/ProjectFile.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/Messages.h"
#include "tavgen/Tavgen.h"
#include "tests/builder/DialogDriver.h"
#include "tests/builder/MainScreenDriver.h"
#include "tests/support/Screenshots.h"

#include <chrono>
#include <cstdlib>
#include <deque>
#include <map>
#include <sstream>
#include <thread>
#include <tuple>

namespace tav::testing {
namespace {

namespace fs = std::filesystem;
using builder::BuilderApp;
using builder::MainScreen;
using FC = builder::FileChooser;
using builder::ShowScreenInView;

constexpr DWORD kFrameEdit = 14, kAddFrame = 16;
const std::string kReferences = std::string(TAV_SOURCE_DIR) + "/tests/builder/reference";

// The last frame against the reference picture NAME.bmp.
void ExpectPicture(platform::HeadlessDisplay& display, const test::TempDir& folder, const std::string& name) {
    ASSERT_TRUE(display.SaveLastFrame(folder / (name + ".bmp")));
    test::ExpectLikeReference(folder / (name + ".bmp"), kReferences, name + ".bmp");
}
const std::string kNoProject = "message: There is no project loaded";
const std::string kNoProjectLoaded = "message: No Project Loaded";
const std::string kNoScreen = "message: No Screen Selected";
const std::string kNoObject =
    "message: There is no object selected. Select and object from the tree control on the left and try again";
const std::string kSelectScreen = "message: Select a screen to add the object to first";
const std::string kDelete = "question: Are you sure you want to delete Button1";
const std::string kDeleteScreen = "question: Are you sure you want to delete this screen?";
const std::string kSaveCurrent = "Do you wish to save your current project?";
const std::string kWouldSave = "Would you like to save your current project?";
const std::string kSaveOnExit = "Do you wish to save your project?";
const std::string kStartup = "Would you like to create a startup screen?";
const std::string kExit = "Are you sure you want to exit?";
const std::string kComplete = "Code generation complete.\nSee the documenation on how to use TavCtrls class "
                              "libraries to add more functionality to your program.";
const std::string kCopyQuestion =
    "Do you want to move copy bitmaps into art folder in your project and make their path relative?";

std::vector<std::string> PopupItems(const CTavScreen* screen) {
    std::vector<std::string> items;
    if (auto* popup = dynamic_cast<CTavPopupMenu*>(screen->GetPopupMenu()))
        for (int i = 0; i < popup->GetItemCount(); ++i)
            items.push_back(popup->GetItem(i));
    return items;
}

enum Selection { NoProject, Nothing, Root, ScreenItem, ObjectItem };

// The main screen with the demo project in a given state, a project to build, and answers for dialogs.
class MainScreenFlowTest : public MainScreenTest {
protected:
    void Select(Selection selection) {
        main->TakeProject(selection == NoProject ? nullptr : DemoProject());
        Drive(1);
        if (selection >= Root)
            ClickItem(std::vector<std::string>{"Demo", "MyScreen", "Button1"}[selection - Root],
                      selection == ObjectItem ? "MyScreen" : "");
    }
    Step SaveAs(const std::string& name) {
        return [this, name](CTavScreen* popup) {
            ASSERT_EQ(Describe(popup), "SaveAsDialog");
            builder::SetTextOf(popup, FC::ID_NAME, name);
            ClickObject(popup, FC::ID_OK);
        };
    }
    // Selects the row with `text` in the list `listId` of the dialog that waits, then clicks `ok`.
    Step PickRow(DWORD listId, const std::string& text, DWORD ok) {
        return [this, listId, text, ok](CTavScreen* popup) {
            auto* list = dynamic_cast<CTavListBox*>(popup->GetObjectByID(listId));
            ASSERT_NE(list, nullptr) << Describe(popup);
            for (int row = 0; row < list->GetRowCount(); ++row)
                if (list->GetItemText(row) == text)
                    list->SetSelection(row);
            ClickObject(popup, ok);
        };
    }
    // Types `path` into the chooser's path field and presses Return there; expects the chooser's folder.
    Step GoTo(const std::string& path) {
        return [this, path](CTavScreen* popup) {
            builder::SetTextOf(popup, FC::ID_PATH, path);
            builder::FocusOn(popup, FC::ID_PATH);
            display->KeyDown(VK_RETURN);
        };
    }
    static Step ShowsFolder(const std::string& path) {
        return [path](CTavScreen* popup) { EXPECT_EQ(static_cast<FC*>(popup)->CurrentFolder(), path); };
    }
    void Key(UINT key, unsigned modifiers, std::vector<Step> steps = {}) {
        display->KeyDown(key, modifiers);
        Run(std::move(steps));
    }
    std::string Title() {
        std::string text(128, '\0');
        return text.substr(0, static_cast<std::size_t>(GetWindowText(app.GetHWND(), text.data(), 128)));
    }
    Step OpenFile(const std::string& name) { return PickRow(FC::ID_FILES, name, FC::ID_OK); }
    void LoadModifiedDemo() {
        LoadDemo();
        main->GetProject()->modified = 1;
    }
    std::string SavePath(const std::string& name) const { return folder / ("save/" + name); }
    // Hands `project` over (with a screen "S" when it has none).
    Project& Load() {
        project->name = "Proj";
        if (project->ScreenCount() == 0)
            AddScreen(*project, "S");
        project->modified = 0;
        main->TakeProject(std::move(project));
        return *main->GetProject();
    }
    // Selects a screen or object in the tree, as a click there would.
    void Select(const std::string& screen, const std::string& object = "") {
        main->RefreshTree(screen, object);
        Drive(1);
    }

    std::unique_ptr<Project> project = std::make_unique<Project>();
};
using MainScreenStatesTest = MainScreenFlowTest;
using DesignViewTest = MainScreenFlowTest;

TEST_F(MainScreenTest, LayoutAtStart) {
    EXPECT_TRUE(main->HasFocus()) << "keys reach the screen before any click";
    EXPECT_EQ(TreeTexts(), std::vector<std::string>{"No Project Loaded"});
    EXPECT_EQ(Tree()->GetFontHeight(), 12); // the pictures do not see it
    ExpectLayout(main, "main-screen");
    EXPECT_EQ(View()->GetType(), TAVSCREEN_SUBSCREEN);
}

// What each menu item answers in each state; the answer is dismissed and the state checked again.
TEST_F(MainScreenStatesTest, EveryMenuItemInEveryState) {
    // `needs`: -1 nothing, 0 a project, 1 a screen or object item selected, 2 an object item selected;
    // the answers without a project, without the selection needed, and with it.
    const std::tuple<const char*, const char*, int, std::string, std::string, std::string> rows[] = {
        {"FILE", "Open", -1, "", "", "OpenProjectDialog"},
        {"FILE", "Save", 0, kNoProjectLoaded, "", "SaveAsDialog"},
        {"FILE", "Save As", 0, kNoProjectLoaded, "", "SaveAsDialog"},
        {"FILE", "Exit", -1, "", "", "question: " + kExit},
        {"PROJECT", "Properties", 0, kNoProjectLoaded, "", "ProjectDialog"},
        {"SCREEN", "Add Screen", 0, kNoProject, "", "ScreenDialog"},
        {"SCREEN", "Properties", 1, kNoProject, kNoScreen, "ScreenDialog"},
        {"SCREEN", "Delete Screen", 1, kNoProject, kNoScreen, kDeleteScreen},
        {"SCREEN", "List", 0, kNoProject, "", "ScreenListDialog"},
        {"SCREEN", "Full Screen", 1, kNoProject, kNoScreen, "PreviewScreen"},
        {"OBJECT", "Properties", 2, kNoProject, kNoObject, "ObjectDialog 0"},
        {"OBJECT", "Add Object", 1, kNoProject, kSelectScreen, "ObjectDialog 7"},
        {"OBJECT", "Add Button", 1, kNoProject, kSelectScreen, "ObjectDialog 0"},
        {"OBJECT", "Add Static", 1, kNoProject, kSelectScreen, "ObjectDialog 1"},
        {"OBJECT", "Add CheckBox", 1, kNoProject, kSelectScreen, "ObjectDialog 3"},
        {"OBJECT", "Add Edit Box", 1, kNoProject, kSelectScreen, "ObjectDialog 2"},
        {"OBJECT", "Add List Box", 1, kNoProject, kSelectScreen, "ObjectDialog 4"},
        {"OBJECT", "Add Tree Control", 1, kNoProject, kSelectScreen, "ObjectDialog 5"},
        {"OBJECT", "Add Animation", 1, kNoProject, kSelectScreen, "ObjectDialog 6"},
        {"OBJECT", "Delete Object", 2, kNoProject, kNoObject, kDelete},
        {"GENERATE CODE", "Entire Project", 0, kNoProject, "", "DestinationDialog"},
        {"GENERATE CODE", "This Screen Only", 1, kNoProject, kNoScreen, "DestinationDialog"},
        {"GENERATE CODE", "Build and Run", 0, kNoProject, "", "SaveAsDialog"},
        {"HELP", "About", -1, "", "", "AboutBox"},
    };
    for (const auto& [title, item, needs, none, unselected, answer] : rows) {
        for (Selection selection : {NoProject, Nothing, Root, ScreenItem, ObjectItem}) {
            SCOPED_TRACE(std::string(title) + " > " + item + " in state " + std::to_string(selection));
            Select(selection);
            const Project* before = main->GetProject();
            const int level = static_cast<int>(selection) - 2; // the selected item's level, -1 for none
            Menu(title, item,
                 {Dismiss(selection == NoProject && needs >= 0 ? none
                          : needs > 0 && level < needs         ? unselected
                                                               : answer)});
            ASSERT_EQ(ended, -1) << "the designer ended";
            EXPECT_EQ(main->GetChildScreen(), nullptr) << "every popup is gone";
            const Project* after = main->GetProject();
            EXPECT_EQ(after, before) << "the project is kept";
            EXPECT_EQ(after != nullptr ? after->ObjectCount() + after->ScreenCount() : 5, 5);
        }
    }
}

// Each tree popup by item level: its items in the order of the table, and what each of them opens.
TEST_F(MainScreenStatesTest, TreePopupsByItemLevel) {
    const std::tuple<const char*, const char*, MainScreen::PopupKind, std::string> rows[] = {
        {"No Project Loaded", "New Project", MainScreen::NoProjectPopup, "ProjectDialog"},
        {"No Project Loaded", "Open Project", MainScreen::NoProjectPopup, "OpenProjectDialog"},
        {"Demo", "New Project", MainScreen::RootPopup, "ProjectDialog"},
        {"Demo", "Open Project", MainScreen::RootPopup, "OpenProjectDialog"},
        {"Demo", "Properties", MainScreen::RootPopup, "ProjectDialog"},
        {"MyScreen", "Properties", MainScreen::ScreenPopup, "ScreenDialog"},
        {"MyScreen", "Delete Screen", MainScreen::ScreenPopup, kDeleteScreen},
        {"MyScreen", "View List", MainScreen::ScreenPopup, "ScreenListDialog"},
        {"MyScreen", "Add Screen", MainScreen::ScreenPopup, "ScreenDialog"},
        {"Button1", "Properties", MainScreen::ObjectPopup, "ObjectDialog 0"},
        {"Button1", "Delete", MainScreen::ObjectPopup, kDelete},
    };
    for (const auto& [item, choice, kind, opens] : rows) {
        SCOPED_TRACE(std::string(item) + " > " + choice);
        Select(kind == MainScreen::NoProjectPopup ? NoProject : Nothing);
        ClickItem(item, "", true);
        auto* menu = dynamic_cast<CTavPopupMenu*>(main->GetPopupMenu());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(main->GetPopupKind(), kind);
        std::vector<std::string> expected;
        for (const auto& other : rows)
            if (std::get<2>(other) == kind)
                expected.emplace_back(std::get<1>(other));
        EXPECT_EQ(PopupItems(main), expected);
        EXPECT_EQ(RectOf(menu), (Rect{app.GetMouseX(), app.GetMouseY(), 100, 15 * menu->GetItemCount()}));
        ChoosePopupItem(main, choice, {Dismiss(opens)});
        EXPECT_EQ(main->GetPopupMenu(), nullptr);
        EXPECT_EQ(main->GetChildScreen(), nullptr);
    }
}

// The tree's selection drives the view, and F5 shows the shown screen again wherever the focus is;
// pictures of the screen on the way.
TEST_F(MainScreenTest, SelectionAndF5DriveTheViewAndScreenshots) {
    const auto shownAfterF5 = [this] {
        display->KeyDown(VK_F5);
        Drive(1);
        return main->CurrentScreenName();
    };
    ExpectPicture(*display, folder, "mainscreen-empty");
    LoadDemo();
    EXPECT_TRUE(ViewControls(View()).empty());
    EXPECT_EQ(shownAfterF5(), "") << "the screen has the focus";
    ClickItem("MyScreen");
    CTavObject* button = ControlOf(main->GetProject()->Object(0));
    ASSERT_NE(button, nullptr);
    // An object of the shown screen: no rebuild, its control takes the focus and the arrows frame it.
    ClickItem("Button1", "MyScreen");
    EXPECT_EQ(ControlOf(main->GetProject()->Object(0)), button) << "not rebuilt";
    EXPECT_TRUE(button->HasFocus());
    ExpectArrows(button);
    display->MouseMove(600, 300);
    Drive(2);
    ExpectPicture(*display, folder, "mainscreen-project");
    auto* bar = dynamic_cast<CTavMenuBar*>(main->GetMenuBar());
    display->LClick(bar->GetTitleX(4) + 5, 8);
    display->MouseMove(bar->GetTitleX(4) + 20, 20 + 2 * 15 + 7);
    Drive(2);
    ExpectPicture(*display, folder, "mainscreen-menu");
    display->LClick(700, 300); // closes the menu
    Drive(1);
    display->LClick(bar->GetTitleX(1) + 5, 8); // EDIT, with the step to undo and the shortcuts
    Drive(2);
    ExpectPicture(*display, folder, "mainscreen-edit-menu");
    display->LClick(700, 300);
    Drive(1);
    Menu("HELP", "About",
         {[this](CTavScreen*) { display->Wait(2); },
          [this](CTavScreen* box) {
              EXPECT_TRUE(display->SaveLastFrame(folder / "about.bmp"));
              auto* text = dynamic_cast<CTavStatic*>(box->GetObjectByID(0));
              ASSERT_NE(text, nullptr);
              EXPECT_EQ(
                  std::string(text->GetText()).rfind("Tavrin Builder 1.0\nby Tavrin Software\nEmail: ", 0),
                  0u);
              // A pixel's shift of the button hides among the glyph edges that a picture may differ in.
              EXPECT_EQ(RectOf(box->GetObjectByID(1)), (Rect{224, 132, 60, 22}));
              ExpectTextsFit(box);
          },
          Click(1)});
    test::ExpectLikeReference(folder / "about.bmp", kReferences, "mainscreen-about.bmp");
    ClickItem("Popup1");
    EXPECT_EQ(ViewControls(View()), std::vector<DWORD>{main->GetProject()->Object(2).designId});
    ClickItem("Demo");
    EXPECT_EQ(main->CurrentScreenName(), "");
    EXPECT_TRUE(ViewControls(View()).empty()) << "the root empties the view";
    ClickItem("Popup1");
    EXPECT_EQ(shownAfterF5(), "Popup1") << "the tree has the focus";
    LClick({View()->GetAppX() + 200, View()->GetAppY() + 150}); // the view's own keys pass F5 on
    Drive(1);
    ASSERT_TRUE(View()->HasFocus());
    EXPECT_EQ(shownAfterF5(), "Popup1");
    EXPECT_EQ(ViewControls(View()).size(), 1u);
}

TEST_F(MainScreenFlowTest, NewAsksToSaveOnlyAModifiedProject) {
    LoadModifiedDemo();
    ClickItem("MyScreen");
    Menu("FILE", "New",
         {Question(kSaveCurrent, false), Click(builder::ProjectDialog::OkButton), Question(kStartup, false)});
    EXPECT_EQ(TreeTexts(), std::vector<std::string>{"MyProject"});
    EXPECT_TRUE(ViewControls(View()).empty()) << "New empties the view";
    // A new project counts as unsaved work; a cancelled New keeps it and asks nothing more.
    const Project* made = main->GetProject();
    Menu("FILE", "New", {Question(kSaveCurrent, false), Dismiss("ProjectDialog")});
    EXPECT_EQ(main->GetProject(), made);
    EXPECT_EQ(TreeTexts(), std::vector<std::string>{"MyProject"});
}

// Each kind through the OBJECT menu, edited, one deleted, saved, opened again and saved again: the two
// files are the same bytes.
TEST_F(MainScreenFlowTest, MadeEditedSavedOpenedAndSavedAgainGivesTheSameFile) {
    Menu("FILE", "New",
         {Type(builder::ProjectDialog::NameEdit, "Trip"), Click(builder::ProjectDialog::OkButton),
          Question(kStartup, true), Click(builder::ScreenDialog::OkButton)});
    ASSERT_NE(main->GetProject(), nullptr);
    ASSERT_EQ(main->GetProject()->ScreenCount(), 1);
    const std::string screen = main->GetProject()->Screen(0).name;
    EXPECT_EQ(main->CurrentScreenName(), screen) << "the new screen is selected and shown";
    EXPECT_EQ(main->SelectedScreenName(), screen);
    for (const char* item : {"Add Object", "Add Button", "Add Static", "Add CheckBox", "Add Edit Box",
                             "Add List Box", "Add Tree Control", "Add Animation"}) {
        SCOPED_TRACE(item);
        std::vector<Step> steps{Click(kObjectOk)};
        if (std::string(item) == "Add Animation")
            steps.insert(steps.begin(), {Type(kFrameEdit, "art//spin1.bmp"), Click(kAddFrame)});
        Menu("OBJECT", item, steps);
        EXPECT_EQ(main->SelectedObjectName(), main->GetProject()->objects.back()->name) << "selected";
    }
    ASSERT_EQ(main->GetProject()->ObjectCount(), 8);
    // The selected object (the animation) edited; the button deleted.
    Menu("OBJECT", "Properties", {Type(kObjectName, "Spinner"), Click(kObjectOk)});
    EXPECT_EQ(main->SelectedObjectName(), "Spinner");
    EXPECT_EQ(main->GetProject()->Object(7).name, "Spinner");
    const std::string button = main->GetProject()->Object(1).name;
    ClickItem(button, screen);
    Menu("OBJECT", "Delete Object", {Question("Are you sure you want to delete " + button, true)});
    EXPECT_EQ(main->GetProject()->ObjectCount(), 7);
    EXPECT_EQ(FindItem(button, screen), -1);
    EXPECT_EQ(ViewControls(View()).size(), 7u) << "the view was rebuilt without it";
    Menu("FILE", "Save", {SaveAs("first")});
    ASSERT_TRUE(fs::is_regular_file(SavePath("first.tvp")));
    EXPECT_EQ(main->GetProject()->modified, 0);
    test::WriteFile(SavePath("broken.tvp"), "not a project\r\n");
    Menu("FILE", "Open", {OpenFile("broken.tvp"), Message("Error Opening project file")});
    EXPECT_EQ(main->GetProject()->name, "Trip") << "the project stays until another one is read";
    Menu("FILE", "Open", {OpenFile("first.tvp")});
    ASSERT_EQ(main->GetProject()->name, "Trip");
    Menu("FILE", "Save As", {SaveAs("second")});
    EXPECT_EQ(test::ReadFile(SavePath("second.tvp")), test::ReadFile(SavePath("first.tvp")));
}

// Yes to the save question, then no save: the command stops and the project stays.
TEST_F(MainScreenFlowTest, AWantedSaveThatDidNotHappenKeepsTheProject) {
    fs::create_directories(folder / "save/taken.tvp"); // a folder where the file would go
    const std::pair<std::string, std::string> commands[] = {
        {"New", kSaveCurrent}, {"Open", kWouldSave}, {"Exit", kSaveOnExit}};
    for (const auto& [item, question] : commands) {
        for (bool cancel : {true, false}) {
            SCOPED_TRACE(item + (cancel ? " cancelled" : " failed"));
            LoadModifiedDemo();
            const Project* project = main->GetProject();
            std::vector<Step> steps = {Question(question, true)};
            if (item == "Exit") // asked first whether to exit at all
                steps.insert(steps.begin(), Question(kExit, true));
            if (cancel)
                steps.push_back(Dismiss("SaveAsDialog"));
            else
                steps.insert(steps.end(), {SaveAs("taken"), Message("Error saving to file")});
            Menu("FILE", item, steps);
            ASSERT_EQ(ended, -1) << "the designer ended";
            EXPECT_EQ(main->GetProject(), project);
            EXPECT_EQ(main->GetProject()->modified, 1);
            EXPECT_NE(FindItem("Button1", "MyScreen"), -1);
        }
    }
}

// The title in its three states; Save As into another folder reached in the chooser, then Save in place
// there without a dialog, each save confirmed under the palette for a few seconds.
TEST_F(MainScreenFlowTest, SaveAsElsewhereThenSaveInPlaceAndTheTitleFollows) {
    const std::string program = "Tavrin Controls Builder", elsewhere = folder / "elsewhere";
    const auto status = [this] { return builder::TextOf(main, builder::kStatusLineId); };
    EXPECT_EQ(Title(), program);
    LoadDemo();
    EXPECT_EQ(Title(), "Demo - " + program);
    ClickItem("Button1", "MyScreen");
    Key('D', platform::mod::kControl);
    EXPECT_EQ(Title(), "*Demo - " + program);
    fs::create_directory(elsewhere);
    Key('S', platform::mod::kControl,
        {ShowsFolder(folder / "save"), GoTo(elsewhere), ShowsFolder(elsewhere), SaveAs("hello")});
    EXPECT_EQ(main->ProjectPath(), elsewhere + "/hello.tvp");
    EXPECT_EQ(Title() + status(), "hello - " + program + "Saved hello.tvp");
    ClickItem("Button1", "MyScreen");
    Key('D', platform::mod::kControl);
    EXPECT_EQ(Title(), "*hello - " + program);
    Key('S', platform::mod::kControl); // no dialog comes
    Project reread;
    ASSERT_TRUE(reread.ReadProjectFile(main->ProjectPath()));
    EXPECT_EQ(reread.ObjectCount(), 5);
    EXPECT_EQ(Title(), "hello - " + program);
    const Step named = [](CTavScreen* popup) { EXPECT_EQ(builder::TextOf(popup, FC::ID_NAME), "hello.tvp"); };
    Key('S', platform::mod::kControl | platform::mod::kShift,
        {ShowsFolder(elsewhere), named, Dismiss("SaveAsDialog")});
    display->SetFrameTime(1.0);
    Drive(int(builder::kNoticeSeconds) + 1);
    EXPECT_EQ(status(), "") << "the confirmation is gone after a few seconds";
}

// Projects opened or saved come back under FILE, most recent first, through the chooser from any folder;
// a missing one is left out and one that fails to open is dropped.
TEST_F(MainScreenFlowTest, RecentProjectsComeBackUnderFile) {
    const std::string a = folder / "a";
    fs::create_directory(a);
    for (const char* name : {"one", "two", "three"})
        ASSERT_TRUE(DemoProject()->WriteProjectFile(a + "/" + name + ".tvp"));
    // Without save/ Open starts in the working folder; then in the open project's.
    Menu("FILE", "Open", {ShowsFolder(folder.path()), GoTo(a), OpenFile("one.tvp")});
    Menu("FILE", "Open", {ShowsFolder(a), OpenFile("two.tvp")});
    Menu("FILE", "Open", {OpenFile("three.tvp")});
    Menu("FILE", "3  one.tvp   " + a);
    EXPECT_EQ(main->ProjectPath(), a + "/one.tvp");
    fs::remove(a + "/two.tvp");
    test::WriteFile(a + "/three.tvp", "garbage");
    Menu("FILE", "2  three.tvp", {Message("Error Opening project file")});
    EXPECT_EQ(main->Recent().Paths(), (std::vector<std::string>{a + "/one.tvp", a + "/two.tvp"}));
    EXPECT_EQ(main->ProjectPath(), a + "/one.tvp") << "the open project stays";
}

TEST(RecentProjectsTest, KeptInOrderWithoutDuplicatesReadTolerantlyInTheSettingsFolder) {
    test::TempDir dir;
    const auto path = [&](int i) { return dir / ("p" + std::to_string(i) + ".tvp"); };
    builder::RecentProjects recent(dir / "made/recent");
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 5})
        recent.Add(path(i));
    recent.Add(dir / "x/../p7.tvp");
    const std::vector<std::string> expected = {path(7), path(5), path(11), path(10), path(9),
                                               path(8), path(6), path(4),  path(3),  path(2)};
    EXPECT_EQ(builder::RecentProjects(dir / "made/recent").Paths(), expected) << "read back";
    EXPECT_TRUE(recent.Existing().empty());
    const char garbled[] = "\0\x01\xff/garbage\n/x\tz.tvp\nrel/a.tvp\n/b.tvp\r\n/b.tvp\n/./c.tvp";
    EXPECT_EQ(builder::RecentProjects::Parse(std::string(garbled, sizeof garbled - 1)),
              (std::vector<std::string>{"/b.tvp", "/c.tvp"}));
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "/";
    for (const auto& [xdg, expected] : {std::pair{"/cfg", "/cfg/tavbuilder"},
                                        {"", "/h/.config/tavbuilder"},
                                        {"rel", "/h/.config/tavbuilder"}}) {
        ::setenv("XDG_CONFIG_HOME", xdg, 1);
        ::setenv("HOME", "/h", 1);
        EXPECT_EQ(builder::ConfigFolder().string(), expected) << xdg;
    }
    EXPECT_EQ(builder::ShortFolder("/h/a/\u00e9\u00e9\u00e9", 6) + builder::ShortFolder("/h/x"),
              "...\u00e9~/x");
    ::setenv("HOME", home.c_str(), 1);
}

// Saved before New and before the end when the user says so.
TEST_F(MainScreenFlowTest, SavedWhenTheUserSaysSo) {
    LoadModifiedDemo();
    Menu("FILE", "New", {Question(kSaveCurrent, true), SaveAs("kept"), Dismiss("ProjectDialog")});
    Project reread;
    ASSERT_TRUE(reread.ReadProjectFile(SavePath("kept.tvp")));
    test::ExpectSameStoredProject(*DemoProject(), reread);
    LoadModifiedDemo();
    Menu("FILE", "Exit", {Question(kExit, true), Question(kSaveOnExit, true), SaveAs("last")});
    EXPECT_EQ(ended, 0) << "the shutdown ended the process";
    EXPECT_TRUE(fs::is_regular_file(SavePath("last.tvp")));
}

// A cancelled save keeps the window; No closes it without saving.
TEST_F(MainScreenFlowTest, ClosingTheWindowOffersToSaveUnsavedWork) {
    LoadModifiedDemo();
    display->CloseWindow();
    Run({Question(kSaveOnExit, true), Dismiss("SaveAsDialog")});
    ASSERT_EQ(ended, -1);
    EXPECT_NE(main->GetProject(), nullptr);
    display->CloseWindow();
    Run({Question(kSaveOnExit, false)});
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(fs::exists(folder / "save"));
}

TEST_F(MainScreenFlowTest, DeleteScreenBySelection) {
    const auto deleteScreen = [this] {
        Menu("SCREEN", "Delete Screen", {Question("Are you sure you want to delete this screen?", true)});
    };
    LoadDemo();
    ClickItem("Popup1");
    deleteScreen();
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"Demo", "MyScreen", "Button1", "Static1"}));
    // An object item stands for its screen; the screen goes with its objects.
    ClickItem("Button1");
    deleteScreen();
    EXPECT_EQ(main->GetProject()->ObjectCount(), 0);
    EXPECT_EQ(main->CurrentScreenName(), "");
    EXPECT_TRUE(ViewControls(View()).empty());
    EXPECT_EQ(TreeTexts(), std::vector<std::string>{"Demo"});
    Menu("SCREEN", "List", {Message("There are no screens in the project")});
}

TEST_F(MainScreenFlowTest, ScreenPropertiesAndListSelectTheScreen) {
    LoadDemo();
    ClickItem("Static2", "Popup1");
    Menu("SCREEN", "Properties",
         {Type(builder::ScreenDialog::WidthEdit, "320"), Click(builder::ScreenDialog::OkButton)});
    EXPECT_EQ(View()->GetWidth(), 320) << "the view shows the changed screen";
    Menu("SCREEN", "List", {PickRow(0, "MyScreen", 1)});
    EXPECT_EQ(SelectedText() + main->CurrentScreenName(), "MyScreenMyScreen");
}

TEST_F(MainScreenFlowTest, PaletteDragPlacesANewObjectWhereItIsDropped) {
    CTavObject* buttonIcon = main->GetObjectByID(4);
    LoadDemo();
    ClickItem("MyScreen");
    display->LButtonDown(300, 510);
    Drive(1);
    EXPECT_EQ(app.DragState, BuilderApp::PlacingObject);
    ASSERT_NE(app.DragImage(), nullptr);
    EXPECT_EQ(RectOf(app.DragImage()), RectOf(buttonIcon));
    // Dropped outside the view, nothing is made and the drag ends.
    display->LButtonUp(100, 300);
    Drive(1);
    EXPECT_EQ(app.DragState, BuilderApp::NoDrag);
    EXPECT_EQ(app.DragImage(), nullptr);
    EXPECT_EQ(main->GetProject()->ObjectCount(), 3);
    // Dropped on the view: the dialog opens with the drop position.
    Drag(Middle(main->GetObjectByID(3)), InView(120, 70), {AnswerObjectDialog("7 -1 120,70", kObjectOk)});
    ASSERT_EQ(main->GetProject()->ObjectCount(), 4);
    const ObjectDef& added = main->GetProject()->Object(3);
    EXPECT_EQ((Point{added.x, added.y}), (Point{120, 70}));
    ASSERT_NE(ControlOf(added), nullptr);
    EXPECT_TRUE(ControlOf(added)->HasFocus());
    ExpectArrows(ControlOf(added));
    EXPECT_EQ(SelectedText(), added.name);
}

TEST_F(MainScreenFlowTest, TheDragImageIsFreedOnce) {
    LoadDemo();
    CTavObject* icon = main->GetObjectByID(3);
    app.StartDrag(BuilderApp::PlacingObject, icon, 1, 2);
    ASSERT_NE(app.DragImage(), nullptr);
    EXPECT_EQ(app.draggedObjectId, 3);
    // A new drag replaces the image; ending twice frees nothing twice (the sanitizer build checks).
    app.StartDrag(BuilderApp::PlacingObject, icon, 3, 4);
    app.EndDrag();
    EXPECT_EQ(app.DragImage(), nullptr);
    app.EndDrag();
    app.AfterLMouseUp(0, 0);
    EXPECT_EQ(app.DragState, BuilderApp::NoDrag);
    // A drag left over when the application goes is freed with it.
    app.StartDrag(BuilderApp::PlacingObject, icon, 5, 6);
}

// The files written through the menu and its dialogs are those of tavgen for the same answers.
TEST_F(MainScreenFlowTest, GenerationFromTheMenuWritesWhatTavgenWrites) {
    LoadDemo();
    const auto generate = [this](const char* item, const std::string& out, const std::string& done) {
        fs::create_directory(out);
        Menu("GENERATE CODE", item,
             {Type(builder::DestinationDialog::kFolderEdit, out),
              Click(builder::DestinationDialog::kOkButton), Question(kCopyQuestion, false), Message(done)});
    };
    const auto files = [](const fs::path& dir) {
        std::map<std::string, std::string> read;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file()) // not the records' folder
                read[entry.path().filename().string()] = test::ReadFile(entry.path().string());
        return read;
    };
    // Both write to a folder of the same name, so that nothing differs by it.
    const std::string out = folder / "out";
    generate("Entire Project", out, kComplete);
    fs::rename(out, folder / "designer");
    const std::string tvp = folder / "demo.tvp";
    ASSERT_TRUE(DemoProject()->WriteProjectFile(tvp));
    std::ostringstream stdOut, stdErr;
    fs::create_directory(out);
    ASSERT_EQ(RunTavgen({"generate", tvp, out, "--cmake"}, stdOut, stdErr), 0) << stdErr.str();
    EXPECT_EQ(files(folder / "designer"), files(out));
    ClickItem("Static2", "Popup1");
    generate("This Screen Only", folder / "one", "Code generation complete");
    const auto one = files(folder / "one");
    EXPECT_EQ(one.size(), one.count("Popup1.cpp") + one.count("Popup1.h"));
    EXPECT_EQ(one.size(), 2u);
}

// A startup screen chosen while generating is a step: undone, the project is as it was before.
TEST_F(MainScreenFlowTest, AStartupScreenChosenWhileGeneratingIsAStep) {
    std::unique_ptr<Project> project = DemoProject();
    project->Screen(0).startup = 0;
    main->TakeProject(std::move(project));
    const std::string before = TextWithoutViewIds(*main->GetProject());
    fs::create_directory(folder / "out");
    Menu("GENERATE CODE", "Entire Project",
         {Type(builder::DestinationDialog::kFolderEdit, folder / "out"),
          Click(builder::DestinationDialog::kOkButton), Question(kCopyQuestion, false),
          Question("You haven't selected a startup screen. Do you want to select one?", true),
          [this](CTavScreen* list) {
              dynamic_cast<CTavListBox*>(list->GetObjectByID(builder::ScreenListDialog::ScreenList))
                  ->SetSelection(0);
              ClickObject(list, builder::ScreenListDialog::SelectButton);
          },
          Message(kComplete)});
    EXPECT_EQ(main->GetProject()->Screen(0).startup, 1);
    main->OnUndo();
    EXPECT_EQ(TextWithoutViewIds(*main->GetProject()), before);
}

// Build and Run generates beside the project file and builds in the background (cmake is a script here
// that waits for a file) while the designer goes on: progress shows, a second F9 is refused, the
// compiler's error is listed; the folder Entire Project chose is the next run's.
TEST_F(MainScreenFlowTest, BuildAndRunBuildsInTheBackgroundAndListsTheErrors) {
    const fs::path bin = folder / "bin", gate = folder / "gate", tvp = folder / "demo.tvp";
    fs::create_directory(bin);
    test::WriteFile(bin / "cmake", "#!/bin/sh\ncase \"$1\" in --build)\n"
                                   "echo '[1/2] Building CXX object CMakeFiles/Demo.dir/Main.cpp.o'\n"
                                   "while [ ! -e '" +
                                       gate.string() +
                                       "' ]; do sleep 0.02; done\n"
                                       "echo \"" +
                                       (folder / "demo") +
                                       "/Main.cpp:7:3: error: 'x' was not declared\"; exit 1;;\n"
                                       "*) mkdir -p \"$4\" && : >\"$4/CMakeCache.txt\";; esac\n");
    fs::permissions(bin / "cmake", fs::perms::owner_all);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
    ::setenv("TavCtrls_DIR", folder.path().c_str(), 1);
    const auto until = [this](const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i) {
            Drive(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    };
    display->KeyDown(VK_F9);
    Run({Message("There is no project loaded")});
    ASSERT_TRUE(WritePortableProject(*DemoProject(), tvp, folder.path()));
    ASSERT_TRUE(main->OpenProjectFile(tvp));
    // Someone else's files beside the project: the user names the folder instead.
    fs::create_directory(folder / "demo");
    test::WriteFile(folder / "demo/notes.txt", "mine");
    display->KeyDown(VK_F9);
    Run({Message((folder / "demo") + " holds files that were not generated here. Choose the folder to build "
                                     "the program in."),
         Click(builder::DestinationDialog::kCancelButton)});
    EXPECT_FALSE(main->Building());
    fs::remove(folder / "demo/notes.txt");
    display->KeyDown(VK_F9);
    Run({});
    EXPECT_TRUE(fs::is_regular_file(folder / "demo/CMakeLists.txt") && fs::is_directory(folder / "demo/art"));
    EXPECT_TRUE(main->Building());
    builder::BuildPanel* panel = builder::BuildPanel::Of(main);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(until([&] { return panel->Percent() == 50; }));
    EXPECT_EQ(builder::TextOf(panel, builder::BuildPanel::kStep), "Building Main.cpp");
    display->KeyDown(VK_F9);
    Run({Message("A build is already running")});
    test::WriteFile(gate, "");
    EXPECT_TRUE(until([&] {
        panel = builder::BuildPanel::Of(main);
        return panel != nullptr && panel->GetMode() == builder::BuildPanel::Mode::Failed;
    }));
    auto* list = dynamic_cast<CTavListBox*>(panel->GetObjectByID(builder::BuildPanel::kErrors));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetItemText(0), "Main.cpp:7: 'x' was not declared");
    EXPECT_EQ(main->WindowTitle(), "demo - Tavrin Controls Builder");
    // The panel's own buttons take clicks.
    const CTavObject* close = panel->GetObjectByID(builder::BuildPanel::kClose);
    ASSERT_NE(close, nullptr);
    display->LClick(static_cast<int>(close->GetAppX()) + close->GetWidth() / 2,
                    static_cast<int>(close->GetAppY()) + close->GetHeight() / 2);
    Drive(2);
    EXPECT_EQ(builder::BuildPanel::Of(main), nullptr);
    Menu("GENERATE CODE", "Entire Project",
         {Type(builder::DestinationDialog::kFolderEdit, folder / "elsewhere"),
          Click(builder::DestinationDialog::kOkButton),
          Question("Directory does not exist. Do you wish to create it?", true),
          Question(kCopyQuestion, false), Message(kComplete)});
    EXPECT_EQ(main->Outputs().For(tvp), folder / "elsewhere");
    ::setenv("PATH", path.c_str(), 1);
    ::unsetenv("TavCtrls_DIR");
}

// The remembered folders are read tolerantly, normalised, and shared through the file.
TEST(OutputFoldersTest, ReadTolerantlyAndKeptPerProject) {
    using Entries = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(builder::OutputFolders::Parse("/a/p.tvp\t/out\nno tab\nrel.tvp\t/x\n/c.tvp\trel\n"
                                            "/a/p.tvp\t/other\n/b/./q.tvp\t/o/b/\r\n/d.tvp\t/e\x01\n"),
              (Entries{{"/a/p.tvp", "/out"}, {"/b/q.tvp", "/o/b"}}));
    test::TempDir dir;
    const fs::path file = fs::path(dir.path()) / "sub/output-folders";
    builder::OutputFolders folders(file);
    EXPECT_EQ(folders.For("/x/hello.tvp"), "/x/hello");
    folders.Remember("/x/hello.tvp", "/y/out");
    folders.Remember("/x/other.tvp", "/z");
    EXPECT_EQ(builder::OutputFolders(file).For("/x/hello.tvp"), "/y/out");
    EXPECT_EQ(test::ReadFile(file), "/x/other.tvp\t/z\n/x/hello.tvp\t/y/out\n");
}

// ---- the project tree, the design view and the preview ----

TEST_F(DesignViewTest, TreeListsScreensWithTheirObjectsAndSelectsTheNamedItem) {
    AddScreen(*project, "A");
    AddScreen(*project, "B", ScreenType::Popup);
    AddScreen(*project, "Empty");
    AddObject(*project, ObjectKind::Button, "B", "same", 0, 0);
    AddObject(*project, ObjectKind::Static, "A", "a1", 0, 0);
    AddObject(*project, ObjectKind::Object, "Gone", "orphan", 0, 0);
    AddObject(*project, ObjectKind::Tree, "A", "same", 0, 0);
    Project& loaded = Load();
    CTavTree* tree = main->Tree();
    // Each item as level and text, "+" when expanded, "*" when selected; an object of no screen has none.
    const auto fill = [&](const std::string& screen, const std::string& object) {
        tree->DeleteAllItems();
        builder::FillProjectTree(loaded, tree, screen, object);
        std::string text;
        for (int item : tree->GetItemIDs())
            text += std::to_string(main->ItemLevel(item)) + tree->GetItemText(item) +
                    (tree->IsItemExpanded(item) ? "+" : "") + (tree->GetSelectedItem() == item ? "*" : "") +
                    " ";
        return text;
    };
    const std::string cases[][3] = {{"", "", "0Proj+ 1A 2a1 2same 1B 2same 1Empty "},
                                    {"B", "", "0Proj+ 1A 2a1 2same 1B* 2same 1Empty "},
                                    {"B", "same", "0Proj+ 1A 2a1 2same 1B+ 2same* 1Empty "},
                                    {"A", "same", "0Proj+ 1A+ 2a1 2same* 1B 2same 1Empty "},
                                    {"A", "missing", "0Proj+ 1A* 2a1 2same 1B 2same 1Empty "},
                                    {"Nope", "", "0Proj+ 1A 2a1 2same 1B 2same 1Empty "}};
    for (const auto& [screen, object, shown] : cases)
        EXPECT_EQ(fill(screen, object), shown) << screen << "/" << object;
}

// Every kind of control configured from its object, in the main screen with one of them selected.
TEST_F(DesignViewTest, ControlsAreConfiguredFromTheirObjectsAndLookRight) {
    AddScreen(*project, "S", ScreenType::FullScreen, 100, 100, "art//dback.bmp").backgroundMode =
        BackgroundMode::Stretch;
    AddScreen(*project, "Other");
    ObjectDef& button = AddObject(*project, ObjectKind::Button, "S", "B", 5, 6, 80, 30);
    button.caption = "Go";
    button.textColor = {10, 20, 30};
    ObjectDef& text = AddObject(*project, ObjectKind::Static, "S", "T", 0, 100, 120, 40);
    text.caption = "Two lines of settings";
    text.multiline = text.transparent = text.bold = 1;
    text.backColor = {1, 2, 3};
    text.fontSize = 11;
    text.textOffsetX = 7;
    AddObject(*project, ObjectKind::Edit, "S", "E", 0, 150);
    ObjectDef& check = AddObject(*project, ObjectKind::CheckBox, "S", "C", 0, 200, 100, 20);
    check.backColor = {40, 50, 60};
    check.transparent = 1;
    check.caption = "Sound";
    ObjectDef& list = AddObject(*project, ObjectKind::ListBox, "S", "L", 200, 0, 151, 100);
    list.columnHeight = 33;
    list.columnBackColor = {70, 80, 90};
    ObjectDef& tree = AddObject(*project, ObjectKind::Tree, "S", "R", 200, 150, 150, 120);
    tree.bold = 1;
    tree.tabSpace = 14;
    tree.backColor = {11, 12, 13};
    ObjectDef& animation = AddObject(*project, ObjectKind::Animation, "S", "N", 400, 0, 30, 30);
    animation.frames = {"art//spin1.bmp", "art//missing.bmp", "art//spin2.bmp"};
    animation.interval = 250;
    animation.transparent = 1;
    animation.transparentColor = {255, 0, 128};
    AddObject(*project, ObjectKind::Object, "S", "P", 400, 100, 30, 30).image = "art//logo.bmp";
    Project& loaded = Load();
    Select("S", "L");
    Drive(2);
    EXPECT_EQ(SelectedText(), "L");
    // Kinds, captions, places, transparency, list columns and the arrows around the selection.
    ExpectLayout(View(), "designer-main");
    ExpectPicture(*display, folder, "designer-main");
    const auto control = [&](int index) { return View()->GetObjectByID(loaded.Object(index).designId); };
    auto* b = dynamic_cast<CTavButton*>(control(0));
    auto* t = dynamic_cast<CTavStatic*>(control(1));
    auto* c = dynamic_cast<CTavCheckBox*>(control(3));
    auto* l = dynamic_cast<CTavListBox*>(control(4));
    auto* r = dynamic_cast<CTavTree*>(control(5));
    auto* n = dynamic_cast<CTavAnimation*>(control(6));
    ASSERT_TRUE(b && t && c && l && r && n);
    // Colours are used as given; a frame that cannot be read is left out.
    EXPECT_EQ((std::vector<long>{b->GetTextColor(), t->GetColourKey(), t->GetFontHeight(), t->GetFontWeight(),
                                 t->GetTextOffsetX(), c->GetColourKey(), l->GetColumnHeight(),
                                 l->GetColumnBackColor(), r->GetFontWeight(), r->GetTabSpace(),
                                 r->GetItemBackColor(), n->GetFrameCount(), n->GetColourKey()}),
              (std::vector<long>{RGB(10, 20, 30), RGB(1, 2, 3), 11, 700, 7, RGB(40, 50, 60), 33,
                                 RGB(70, 80, 90), 700, 14, RGB(11, 12, 13), 2, RGB(255, 0, 128)}));
    EXPECT_FLOAT_EQ(n->GetFrameFrequency(), 0.25f);
}

// A control moves its object when dropped in the view, and only then; an object whose control fails
// is skipped and never moved.
TEST_F(DesignViewTest, DraggingMovesAnObjectAndOneWhoseControlFailsIsSkipped) {
    AddScreen(*project, "S");
    AddScreen(*project, "Other");
    ObjectDef& broken = AddObject(*project, ObjectKind::Tree, "S", "Broken", 10, 10);
    broken.treeBackground = "art//no-such.bmp";
    broken.designId = 2; // as a project file may hold it: the id that "Fine" gets
    AddObject(*project, ObjectKind::Object, "Other", "Elsewhere", 5, 5).designId = 2; // not shown
    AddObject(*project, ObjectKind::Object, "S", "Fine", 100, 100);
    Project& loaded = Load();
    Select("S");
    EXPECT_EQ((std::vector<DWORD>{loaded.Object(0).designId, loaded.Object(2).designId}),
              (std::vector<DWORD>{builder::kNoDesignId, 2}));
    EXPECT_EQ(ViewControls(View()), std::vector<DWORD>{2});
    EXPECT_NE(FindItem("Broken", "S"), -1) << "its item stays";
    const auto position = [&](int index) { return Point{loaded.Object(index).x, loaded.Object(index).y}; };
    Drag(Middle(ControlOf(loaded.Object(2))), {100, 550}); // released outside the view
    EXPECT_EQ(position(2), (Point{100, 100}));
    EXPECT_EQ(loaded.modified, 0);
    Drag(Middle(ControlOf(loaded.Object(2))), InView(300, 200)); // grabbed by its middle
    EXPECT_EQ(loaded.modified, 1);
    EXPECT_EQ(RectOf(ControlOf(loaded.Object(2))), (Rect{270, 180, 60, 40}));
    ExpectArrows(ControlOf(loaded.Object(2)));
    EXPECT_EQ((std::vector<Point>{position(0), position(1), position(2)}),
              (std::vector<Point>{{10, 10}, {5, 5}, {270, 180}}));
    EXPECT_EQ(SelectedText(), "Fine");
    LClick(InView(400, 400)); // the empty view takes the focus
    Drive(1);
    ExpectArrows(nullptr);
}

// Click, Shift and Ctrl toggle, the rubber band, Escape and Ctrl+A; the tree follows the primary.
TEST_F(DesignViewTest, SelectionByClicksBandAndKeys) {
    using Names = std::vector<std::string>;
    LoadDemo();
    ClickItem("MyScreen");
    const auto at = [this](int i) { return Middle(ControlOf(main->GetProject()->Object(i))); };
    const auto with = [this](unsigned key, std::function<void()> act) {
        return [this, key, act] { display->Hold(key), act(), display->Release(key); };
    };
    const std::tuple<std::function<void()>, Names, std::string> rows[] = {
        {[&] { LClick(at(0)); }, {"Button1"}, "Button1"},
        {with(VK_SHIFT, [&] { LClick(at(1)); }), {"Static1", "Button1"}, "Static1"},
        {with(VK_CONTROL, [&] { LClick(at(1)); }), {"Button1"}, "Button1"},
        {[&] { LClick(InView(400, 300)); }, {}, "MyScreen"},
        {[&] { Drag(InView(0, 30), InView(45, 125)); }, {"Button1", "Static1"}, "Button1"},
        {[&] { LClick(at(1)), display->KeyDown(VK_ESCAPE); }, {}, "MyScreen"},
        {with(VK_SHIFT, [&] { Drag(InView(150, 110), InView(170, 130)); }), {"Static1"}, "Static1"},
        {[&] { display->KeyDown('A', platform::mod::kControl); }, {"Static1", "Button1"}, "Static1"},
    };
    for (const auto& [act, selected, tree] : rows) {
        act();
        Drive(2);
        EXPECT_EQ(View()->Selection(), selected);
        EXPECT_EQ(SelectedText(), tree);
    }
    ShowScreenInView(main->GetProject(), View(), "MyScreen", false);
    EXPECT_EQ(View()->Selection(), (Names{"Static1", "Button1"})) << "kept by a rebuild";
    display->LButtonDown(InView(300, 200)[0], InView(300, 200)[1]);
    display->MouseMove(InView(20, 100)[0], InView(20, 100)[1]);
    Drive(2);
    ExpectPicture(*display, folder, "designer-band");
    display->LButtonUp(InView(20, 100)[0], InView(20, 100)[1]);
    Drive(1);
    EXPECT_EQ(View()->Selection(), (Names{"Static1"}));
}

// A drag moves the whole selection by the grab point as one step; a click, none; nudges; a snap to an
// object's edge with its guide; a resize by a handle as one step, at least a pixel; Alt turns snaps off.
TEST_F(DesignViewTest, DragsNudgesAndResizesAreStepsThatSnap) {
    LoadDemo();
    ClickItem("MyScreen");
    Project& p = *main->GetProject();
    edits::History& history = main->Edits();
    const auto bounds = [&] { return std::vector<Bounds>{BoundsOf(p.Object(0)), BoundsOf(p.Object(1))}; };
    const auto press = [this](Point from, Point to) {
        display->LButtonDown(from[0], from[1]);
        display->MouseMove(to[0], to[1]);
        Drive(2);
    };
    LClick(InView(400, 300));
    display->KeyDown('A', platform::mod::kControl);
    display->Hold(VK_MENU);
    Drag(InView(50, 65), InView(57, 68));
    display->Release(VK_MENU);
    EXPECT_EQ(bounds(), (std::vector<Bounds>{{47, 63, 80, 20}, {47, 123, 120, 20}}));
    EXPECT_EQ(history.StepCount(), 1u);
    EXPECT_EQ(history.UndoName(p), "Move 2 Objects");
    display->KeyDown('Z', platform::mod::kControl);
    Drive(1);
    EXPECT_EQ(bounds(), (std::vector<Bounds>{{40, 60, 80, 20}, {40, 120, 120, 20}}));
    EXPECT_EQ(ControlOf(p.Object(1))->GetY(), 120.f) << "the control follows the undone move";
    display->KeyDown(VK_ESCAPE);
    LClick(InView(100, 130));
    Drive(2);
    EXPECT_EQ(history.StepCount(), 1u) << "a click moves nothing";
    display->KeyDown(VK_RIGHT);
    display->KeyDown(VK_UP, platform::mod::kShift);
    Drive(6);
    EXPECT_EQ(bounds(), (std::vector<Bounds>{{40, 60, 80, 20}, {41, 110, 120, 20}}));
    EXPECT_EQ(history.StepCount(), 2u) << "the undone step is gone";
    press(InView(45, 115), InView(127, 128)); // its left edge 3 pixels right of Button1's
    EXPECT_EQ(View()->Guides(), (std::vector<Guide>{{true, 120, 60, 140}}));
    ExpectPicture(*display, folder, "designer-guide");
    EXPECT_EQ(std::string(dynamic_cast<CTavStatic*>(main->GetObjectByID(11))->GetText()),
              "X: 120  Y: 120  W: 120  H: 20");
    display->LButtonUp(InView(127, 128)[0], InView(127, 128)[1]);
    Drive(1);
    EXPECT_EQ(bounds()[1], (Bounds{120, 120, 120, 20}));
    EXPECT_TRUE(View()->Guides().empty());
    display->MouseMove(100, 300); // over the tree
    Drive(1);
    EXPECT_STREQ(dynamic_cast<CTavStatic*>(main->GetObjectByID(11))->GetText(), "") << "off the view";
    LClick(Middle(ControlOf(p.Object(0))));
    press(InView(120, 80), InView(151, 94)); // the bottom right handle; snapped to the grid
    display->LButtonUp(InView(151, 94)[0], InView(151, 94)[1]);
    Drive(1);
    EXPECT_EQ(bounds()[0], (Bounds{40, 60, 110, 30}));
    EXPECT_EQ(history.UndoName(p), "Resize Button1");
    display->Hold(VK_MENU);
    Drag(InView(40, 60), InView(300, 100)); // the top left handle past the other corner
    display->Release(VK_MENU);
    Drive(1);
    EXPECT_EQ(bounds()[0], (Bounds{149, 89, 1, 1}));
    EXPECT_EQ(history.StepCount(), 5u);
    press(InView(180, 130), InView(250, 200)); // a right click cancels a move and opens no menu
    RClick(InView(250, 200));
    const Point release = InView(200, 150); // the release later moves nothing
    display->MouseMove(release[0], release[1]);
    display->LButtonUp(release[0], release[1]);
    Drive(2);
    EXPECT_EQ(bounds()[1], (Bounds{120, 120, 120, 20}));
    EXPECT_EQ(View()->GetPopupMenu(), nullptr);
    EXPECT_EQ(history.StepCount(), 5u);
}

// A popup opened near the view's bottom right corner lies inside it; its last item works. The wheel
// scrolls.
TEST_F(DesignViewTest, PopupsFitAndTheWheelScrolls) {
    LoadDemo();
    ClickItem("MyScreen");
    RClick(InView(520, 420)); // beside the scroll bars
    Drive(1);
    auto* menu = dynamic_cast<CTavPopupMenu*>(View()->GetPopupMenu());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(RectOf(menu), (Rect{400, 310, 130, 120})); // above the scroll bars
    ChoosePopupItem(View(), "Screen Properties", {Dismiss("ScreenDialog")});
    View()->AfterMouseWheel(0, 0, -2 * WHEEL_DELTA);
    int x = -1, y = -1;
    View()->GetScrollPosition(&x, &y);
    EXPECT_EQ((Point{x, y}), (Point{0, 80}));
}

// A rebuild shows edits and reads a bitmap changed on disk again.
TEST_F(DesignViewTest, RebuildShowsEditsAndReadsBitmapsAgain) {
    AddObject(*project, ObjectKind::Static, "S", "Label", 10, 60, 100, 20).caption = "Before";
    AddObject(*project, ObjectKind::Object, "S", "Pic", 10, 100);
    Project& loaded = Load();
    Select("S");
    loaded.Object(0).caption = "After";
    const auto writeBitmap = [&](int side, std::uint32_t pixel) {
        platform::PixelBuffer pixels;
        ASSERT_TRUE(pixels.Allocate(side, side));
        for (int i = 0; i < side * side; ++i)
            pixels.Row(i / side)[i % side] = pixel;
        ASSERT_TRUE(platform::SaveBitmapFile(folder / "picture.bmp", pixels));
    };
    writeBitmap(4, 0xFF0000);
    loaded.Object(1).image = folder / "picture.bmp";
    ShowScreenInView(&loaded, View(), "S", false);
    EXPECT_EQ(std::string(dynamic_cast<CTavStatic*>(ControlOf(loaded.Object(0)))->GetText()), "After");
    EXPECT_EQ(PixelAt(ControlOf(loaded.Object(1))->GetImage(), 2, 2), 0xFF0000u);
    writeBitmap(5, 0x0000FF);
    ShowScreenInView(&loaded, View(), "S", false);
    EXPECT_EQ(PixelAt(ControlOf(loaded.Object(1))->GetImage(), 2, 2), 0x0000FFu);
}

// A project folder with its own bitmaps, saved (its paths in memory kept), moved and opened: the view
// shows the bitmap; each field resolves on its own, whatever the same field before it named.
TEST_F(DesignViewTest, AMovedProjectFolderOpensWithItsOwnBitmaps) {
    fs::create_directories(folder / "a/pics");
    platform::PixelBuffer pixels;
    ASSERT_TRUE(pixels.Allocate(4, 4));
    std::fill_n(pixels.Row(0), 16, 0x00FF00u);
    for (const std::string name : {"p", "q"})
        ASSERT_TRUE(platform::SaveBitmapFile(folder / ("a/pics/" + name + ".bmp"), pixels));
    AddScreen(*project, "S").background = folder / "a/pics/q.bmp";
    const std::string names[] = {"p", "gone", "p", "q", "q"}; // gone.bmp is missing: it stays relative
    for (int i = 0; i < 5; ++i) {
        ObjectDef& pic = AddObject(*project, ObjectKind::Animation, "S", "P" + std::to_string(i), 10, 100);
        pic.frames = {pic.image = folder / ("a/pics/" + names[i] + ".bmp")};
    }
    ASSERT_TRUE(WritePortableProject(*project, folder / "a/p.tvp", folder / "a"));
    EXPECT_EQ(project->Object(0).image, folder / "a/pics/p.bmp");
    EXPECT_NE(test::ReadFile(folder / "a/p.tvp").find("\npics/p.bmp\r"), std::string::npos);
    fs::rename(folder / "a", folder / "b");
    ASSERT_TRUE(main->OpenProjectFile(folder / "b/p.tvp"));
    const Project& opened = *main->GetProject();
    EXPECT_EQ(opened.screens[0]->background, folder / "b/pics/q.bmp");
    for (int i = 0; i < 5; ++i) {
        const std::string shown =
            names[i] == "gone" ? "pics/gone.bmp" : folder / ("b/pics/" + names[i] + ".bmp");
        EXPECT_EQ(opened.Object(i).image + ' ' + opened.Object(i).frames.at(0), shown + ' ' + shown) << i;
    }
    Select("S");
    CTavObject* shown = ControlOf(opened.Object(0));
    EXPECT_TRUE(shown != nullptr && PixelAt(shown->GetImage(), 2, 2) == 0x00FF00u);
}

TEST_F(DesignViewTest, DoubleClickAndRightClickMenusActOnTheControl) {
    AddObject(*project, ObjectKind::Object, "S", "First", 300, 300);
    AddObject(*project, ObjectKind::Static, "S", "Pic", 50, 50);
    Project& loaded = Load();
    Select("S");
    RClick(InView(300, 200));
    Drive(1);
    EXPECT_EQ(PopupItems(View()),
              (std::vector<std::string>{"Add Animation", "Add Button", "Add Edit Box", "Add List Box",
                                        "Add Object", "Add Static", "Add Tree", "Screen Properties"}));
    ChoosePopupItem(View(), "Add Static",
                    {AnswerObjectDialog("1 -1 300,200", kObjectCancel)}); // where clicked
    RClick(Middle(ControlOf(loaded.Object(1))));
    Drive(1);
    EXPECT_EQ(PopupItems(View()), (std::vector<std::string>{"Properties", "Delete", "Screen Properties"}));
    EXPECT_EQ(SelectedText(), "Pic");
    ChoosePopupItem(View(), "Properties", {AnswerObjectDialog("1 1 50,50", kObjectCancel)});
    // A double click edits the object and moves nothing; the edited object stays selected.
    const Point first = Middle(ControlOf(loaded.Object(0)));
    display->DoubleClick(first[0], first[1]);
    Run({Type(kObjectName, "Renamed"), AnswerObjectDialog("7 0 300,300", kObjectOk)});
    const ObjectDef& edited = loaded.Object(0);
    EXPECT_EQ((Point{edited.x, edited.y}), (Point{300, 300}));
    EXPECT_EQ(main->SelectedObjectName(), "Renamed");
    EXPECT_EQ(FindItem("First", "S"), -1);
    ASSERT_NE(ControlOf(edited), nullptr);
    EXPECT_TRUE(ControlOf(edited)->HasFocus());
    EXPECT_EQ(app.DragState, BuilderApp::NoDrag);
}

// Numbers no screen can hold, as a project file may carry them, in the view and the preview: positions
// are clamped, lengths too, and controls with sizes no surface takes are left out.
TEST_F(DesignViewTest, NumbersBeyondAnyScreenAreClampedOrLeftOut) {
    constexpr int kMax = INT32_MAX, kMin = INT32_MIN, kFar = 1 << 20, kLong = 32767;
    // x, y, width and height of each kind in turn, and as shown (zeros: left out).
    const int cases[][8] = {{kMin, 100, 60, 40, -kFar, 100, 60, 40},
                            {10, 10, kMax, 40},
                            {10, 10, 40, kLong + 1},
                            {20, 20, 60, 40, 20, 20, 60, 40},
                            {-kLong, 5, kLong, 20, -kLong, 5, kLong, 20},
                            {5, kMax, 60, 40, 5, kFar, 60, 40},
                            {0, 0, kMin, 1},
                            {kMax, kMin, 60, 40, kFar, -kFar, 60, 40}};
    for (const auto& c : cases) {
        ObjectDef& o = AddObject(*project, static_cast<ObjectKind>(project->ObjectCount()), "S", "O", c[0],
                                 c[1], c[2], c[3]);
        o.textOffsetY = -(o.textOffsetX = o.columnHeight = o.itemHeight = o.tabSpace = o.fontSize = kMax);
    }
    project->width = 1000, project->height = 450; // in the preview: too wide scrolls, too short is centred
    const Rect previewed{0, 75, 800, 450};
    Project& loaded = Load();
    Select("S");
    for (int i = 0; i < loaded.ObjectCount(); ++i)
        EXPECT_EQ(ControlOf(loaded.Object(i)) ? RectOf(ControlOf(loaded.Object(i))) : Rect{},
                  (Rect{cases[i][4], cases[i][5], cases[i][6], cases[i][7]}));
    const auto* list = dynamic_cast<CTavListBox*>(ControlOf(loaded.Object(4)));
    const auto* tree = dynamic_cast<CTavTree*>(ControlOf(loaded.Object(5)));
    EXPECT_EQ(
        (Rect{list->GetItemHeight(), list->GetColumnHeight(), tree->GetTabSpace(), tree->GetFontHeight()}),
        (Rect{kLong, kLong, kLong, kLong}));
    Menu("SCREEN", "Full Screen",
         {[this](CTavScreen*) { display->MouseMove(kMax, kMin), LClick(InView(40, 40)); },
          [&](CTavScreen*) { EXPECT_EQ(RectOf(main->Preview()->View()), previewed); },
          [this](CTavScreen*) { display->KeyDown(VK_ESCAPE); }});
}

// A move and a Delete inside the preview: its question opens over it, Delete rebuilds its view at once,
// and the main view follows when Escape ends it.
TEST_F(DesignViewTest, PreviewEditsShowInTheMainViewAfterEscape) {
    AddScreen(*project, "S");
    AddScreen(*project, "Pop", ScreenType::Popup, 400, 300, "art//dback.bmp");
    ObjectDef& button = AddObject(*project, ObjectKind::Button, "Pop", "Ok", 20, 30, 80, 30);
    button.caption = "OK";
    button.textColor = {40, 40, 40};
    button.textOffsetX = 30;
    button.textOffsetY = 7;
    ObjectDef& note = AddObject(*project, ObjectKind::Static, "Pop", "Note", 150, 120, 150, 40);
    note.caption = "Preview";
    note.transparent = 1;
    Project& loaded = Load();
    Select("Pop");
    EXPECT_EQ(RectOf(View()), (Rect{285, 105, 400, 300})) << "centred in the view's frame";
    const auto preview = [this] { return main->Preview()->View(); };
    Menu("SCREEN", "Full Screen",
         {[](CTavScreen*) {}, // a frame drawn
          [&](CTavScreen*) {
              EXPECT_EQ(RectOf(preview()), (Rect{200, 150, 400, 300}));
              EXPECT_EQ(preview()->previewFlag, 1);
              EXPECT_TRUE(display->SaveLastFrame(folder / "preview.bmp"));
              const Point from = Middle(preview()->GetObjectByID(note.designId));
              display->LButtonDown(from[0], from[1]);
              display->MouseMove(450, 350);
              display->LButtonUp(450, 350);
          },
          [&](CTavScreen*) {
              LClick(Middle(preview()->GetObjectByID(button.designId)));
              RClick(Middle(preview()->GetObjectByID(button.designId)));
          },
          [&](CTavScreen*) { ClickPopupItem(preview(), "Delete"); },
          [this](CTavScreen* popup) {
              EXPECT_EQ(popup->GetParent(), main->Preview()) << "opened over the preview";
              Question("Are you sure you want to delete Ok", true)(popup);
          },
          [&](CTavScreen*) {
              EXPECT_EQ(ViewControls(preview()).size(), 1u) << "rebuilt at once";
              display->KeyDown(VK_ESCAPE);
          }});
    EXPECT_EQ(main->Preview(), nullptr);
    EXPECT_EQ(View()->ShownScreen(), "Pop");
    EXPECT_EQ(View()->previewFlag, 0);
    EXPECT_EQ(ViewControls(View()).size(), 1u) << "the main view shows the changes";
    ASSERT_NE(ControlOf(note), nullptr);
    EXPECT_EQ(RectOf(ControlOf(note)), (Rect{180, 180, 150, 40})) << "moved in the preview";
    EXPECT_EQ(loaded.modified, 1);
    test::ExpectLikeReference(folder / "preview.bmp", kReferences, "designer-preview.bmp");
}

// ---- the entry point: window or full screen, frame rate, colour depth fallbacks, failure ----

using Displays = std::deque<std::unique_ptr<platform::Display>>;

// "TITLE window|full DEPTH" of a display asked for.
std::string Asked(const platform::DisplaySettings& s) {
    return s.title + (s.windowed ? " window " : " full ") +
           std::to_string(tav::CurrentApp()->GetColorDepth());
}

// A display that cannot open; it notes what was asked for and puts the next display of `queue` in line.
struct FailingDisplay : platform::HeadlessDisplay {
    FailingDisplay(std::string& log, Displays& queue) : log(log), queue(queue) {}
    bool Open(const platform::DisplaySettings& settings, std::string* error) override {
        log += Asked(settings) + "; ";
        if (!queue.empty()) {
            platform::SetNextDisplay(std::move(queue.front()));
            queue.pop_front();
        }
        *error = "no display here";
        return false;
    }
    std::string& log;
    Displays& queue;
};

class RecoveryTest : public MainScreenFlowTest {
protected:
    fs::path State() const { return fs::path(xdg.path()) / "state/tavbuilder"; }
    // Recovery data `file` for the project file `path` written `age` seconds ago, by a designer that has
    // ended, or by a running one (this process).
    fs::path Leftover(const std::string& file, const std::string& path, int age, bool live = false) {
        builder::Autosave writer(folder / "writer");
        std::unique_ptr<Project> project = DemoProject();
        project->name = file;
        project->modified = 1;
        writer.Tick(0, 1, project.get(), path);
        writer.Flush(project.get(), path);
        std::string text = test::ReadFile(writer.File());
        const std::size_t owner = text.find('\n') + 1;
        if (!live)
            text.replace(owner, text.find('\n', owner) - owner, "999999999 1 x");
        fs::create_directories(State());
        const fs::path leftover = State() / (file + ".recovery");
        test::WriteFile(leftover, text);
        fs::last_write_time(leftover, fs::file_time_type::clock::now() - std::chrono::seconds(age));
        return leftover;
    }
    // At start, before any frame: the offer answered Yes or No; whether it came.
    bool Offer(bool yes) {
        bool answered = false;
        display->SetIdleHandler([&](platform::HeadlessDisplay&) {
            auto* box = dynamic_cast<CTavQuestionBox*>(main->GetInnermostScreen());
            if (box != nullptr && !std::exchange(answered, true)) {
                asked = box->GetText();
                ClickObject(box, yes ? 0 : 1);
            }
        });
        main->OfferRecovery();
        display->SetIdleHandler(nullptr);
        return answered;
    }
    std::string asked;
};

// Offered at start: the newest data of an ended designer, or the opened project's; Yes restores it
// modified with its file, No keeps it until the next save; stale and running designers' data is not offered.
TEST_F(RecoveryTest, OffersTheNewestLeftoverAndRestoresItOnYes) {
    const std::string saved = SavePath("kept.tvp");
    // opened project; the leftovers (name, file, age, live); the answer; project then, path then, left files
    using Leftovers = std::vector<std::tuple<std::string, std::string, int, bool>>;
    const std::tuple<std::string, Leftovers, int, std::string, std::string, std::string> rows[] = {
        {"", {{"Old", "", 60, false}, {"New", saved, 30, false}}, 1, "New", saved, "Old"},
        {"", {{"Old", "", 60, false}, {"New", saved, 30, false}}, 0, "", "", "New Old"},
        {"", {{"Stale", saved, 120, false}, {"Live", "", 1, true}}, -1, "", "", "Live"},
        {saved, {{"Other", "", 1, false}, {"Mine", saved, 30, false}}, 1, "Mine", saved, "Other"},
        {saved, {{"Other", "", 1, false}}, -1, "Demo", saved, "Other"},
    };
    for (const auto& [opened, leftovers, answer, name, path, left] : rows) {
        SCOPED_TRACE(name + " " + left);
        fs::remove_all(State());
        main->TakeProject(nullptr);
        fs::create_directories(folder / "save");
        ASSERT_TRUE(DemoProject()->WriteProjectFile(saved));
        fs::last_write_time(saved, fs::file_time_type::clock::now() - std::chrono::seconds(90));
        ASSERT_TRUE(opened.empty() || main->OpenProjectFile(opened));
        for (const auto& [file, projectPath, age, live] : leftovers)
            Leftover(file, projectPath, age, live);
        EXPECT_EQ(Offer(answer == 1), answer != -1) << "asked";
        EXPECT_EQ(main->GetProject() != nullptr ? main->GetProject()->name : "", name);
        EXPECT_EQ(main->ProjectPath(), path);
        EXPECT_EQ(main->GetProject() != nullptr && main->GetProject()->modified == 1, answer == 1);
        EXPECT_TRUE(answer != 1 || Title() == "*kept - Tavrin Controls Builder") << Title();
        EXPECT_TRUE(answer != 1 || asked.starts_with("Restore the unsaved changes to kept\nmade at "))
            << asked;
        std::string files;
        for (const auto& entry : fs::directory_iterator(State()))
            if (entry.path() != main->Recovery().File())
                files += (files.empty() ? "" : " ") + entry.path().stem().string();
        EXPECT_EQ(files, left);
        EXPECT_EQ(fs::exists(main->Recovery().File()), answer == 1)
            << "a restored project is this designer's";
    }
}

// Written within the delay of a change, once; removed by a save, kept by a failed one, removed by the end.
TEST_F(RecoveryTest, SavesAndTheEndRemoveTheData) {
    fs::create_directories(folder / "save/taken.tvp");
    LoadModifiedDemo();
    Drive(80);
    const std::string own = main->Recovery().File();
    EXPECT_FALSE(fs::exists(own)) << "written before the delay";
    Drive(20);
    EXPECT_TRUE(fs::exists(own));
    Menu("FILE", "Save", {SaveAs("taken"), Message("Error saving to file")});
    EXPECT_TRUE(fs::exists(own)) << "removed by a failed save";
    fs::remove(own);
    Drive(100);
    EXPECT_FALSE(fs::exists(own)) << "written again without a change";
    const fs::path declined = Leftover("Declined", "", 10);
    Offer(false);
    Menu("FILE", "Save", {SaveAs("done")});
    EXPECT_FALSE(fs::exists(own));
    EXPECT_FALSE(fs::exists(declined)) << "a declined leftover is kept until the next save";
    LoadModifiedDemo();
    Drive(100);
    EXPECT_TRUE(fs::exists(own));
    Menu("FILE", "Exit", {Question(kExit, true), Question(kSaveOnExit, false)});
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(fs::exists(own)) << "kept after the end";
}

class BuilderEntryTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        // A failure message goes to the standard error, never to a window of the desktop.
        setenv("TAV_HEADLESS", "1", 1);
        UsePrivateXdgFolders(state.path());
    }

    // Runs the entry point with `failures` displays that cannot open, then a working one if `opens`;
    // tells the displays tried, what the designer shows once it waits for input, and how it ended.
    std::string Start(const std::vector<std::string>& arguments, int failures, bool opens) {
        std::string log, shown;
        for (int i = 0; i < failures; ++i)
            queue.push_back(std::make_unique<FailingDisplay>(log, queue));
        if (opens) {
            auto working = std::make_unique<platform::HeadlessDisplay>();
            working->SetCloseWhenInputEnds(false);
            working->SetIdleHandler([&](platform::HeadlessDisplay& d) {
                auto* app = dynamic_cast<BuilderApp*>(tav::CurrentApp());
                if (!shown.empty() || app == nullptr)
                    return;
                shown = Asked(d.Settings()) + " " + std::to_string(d.Settings().width) + "x" +
                        std::to_string(d.Settings().height) + (app->GetShowFrameRate() ? " rate" : "") +
                        (app->GetWaitBlank() ? " blank" : "") +
                        (dynamic_cast<builder::MainScreen*>(app->GetChildScreen()) ? " main" : "") +
                        (d.Settings().scale ? " x" + std::to_string(d.Settings().scale) : "") + Opened(app);
                d.CloseWindow();
            });
            queue.push_back(std::move(working));
        }
        platform::SetNextDisplay(std::move(queue.front()));
        queue.pop_front();
        display = nullptr;
        std::string ended;
        ::testing::internal::CaptureStderr();
        try {
            ended = "returned " + std::to_string(builder::RunBuilder(
                                      nullptr, builder::ParseBuilderOptions(arguments), SW_SHOWNORMAL));
        } catch (const ProcessEnded& end) {
            ended = "ended " + std::to_string(end.status);
        }
        const bool error = ::testing::internal::GetCapturedStderr().find(
                               "Error: Error Initializing DirectX") != std::string::npos;
        EXPECT_EQ(tav::CurrentApp(), nullptr);
        return log + shown + (shown.empty() ? "" : "; ") + ended + (error ? ", error shown" : "");
    }

    // " open FILE" for the project opened, " message TEXT" for a message box shown over the main screen.
    static std::string Opened(CTavApp* app) {
        auto* main = dynamic_cast<builder::MainScreen*>(app->GetChildScreen());
        auto* box = main != nullptr ? dynamic_cast<CTavMessageBox*>(main->GetInnermostScreen()) : nullptr;
        return (main && !main->ProjectPath().empty()
                    ? " open " + fs::path(main->ProjectPath()).filename().string()
                    : "") +
               (box != nullptr ? std::string(" message ") + box->GetText() : "");
    }

    Displays queue;
    test::TempDir state;
};

// A command line runs in a window, longer than five characters with the frame rate; full screen falls
// back from 24 to 32 and 16 bits, a window is tried once.
TEST_F(BuilderEntryTest, DisplayByCommandLineWithFallbacks) {
    const std::string window = "Tavrin Controls Builder window 24";
    const std::string example = TAV_EXAMPLES_DIR "/hello.tvp";
    const std::tuple<std::vector<std::string>, int, bool, std::string> rows[] = {
        {{"abcdef"}, 0, true, window + " 800x600 rate blank main; ended 0"},
        {{"abc", "de"}, 0, true, window + " 800x600 rate blank main; ended 0"},
        {{"abcde"}, 0, true, window + " 800x600 blank main; ended 0"},
        {{}, 1, true, "TAVRIN full 24; TAVRIN full 32 800x600 blank main; ended 0"},
        {{}, 3, false, "TAVRIN full 24; TAVRIN full 32; TAVRIN full 16; returned 0, error shown"},
        {{"-w"}, 1, false, window + "; returned 0, error shown"},
        {{"--scale", "3", example}, 0, true, window + " 800x600 blank main x3 open hello.tvp; ended 0"},
        {{"--fullscreen", "no such.tvp"},
         0,
         true,
         "TAVRIN full 24 800x600 blank main message Error Opening project file; ended 0"},
    };
    for (const auto& [arguments, failures, opens, expected] : rows)
        EXPECT_EQ(Start(arguments, failures, opens), expected) << arguments.size();
}

// "window|full [rate] [xN] [open FILE]", or "exit STATUS: " and the message's first line.
TEST(BuilderOptions, ArgumentsGiveDisplayScaleProjectOrAnExit) {
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{}, "full"},
        {{"-w"}, "window"},
        {{"fps-shown"}, "window rate"},
        {{"--window", "/home/a b/x.tvp"}, "window open /home/a b/x.tvp"},
        {{"--scale", "8", "--fullscreen", "B.TVP"}, "full x8 open B.TVP"},
        {{"--fullscreen", "--window", "--scale=1", "--", "--odd"}, "window x1"},
        {{"--", "--odd.tvp", "-w", "abc"}, "window rate open --odd.tvp"},
        {{"--help", "--scale"}, "exit 0: usage: tavbuilder [OPTIONS] [PROJECT.tvp]"},
        {{"--version"}, "exit 0: tavbuilder (Tavrin Controls Builder) " TAV_VERSION},
        {{"x.tvp", "--scale"}, "exit 2: tavbuilder: --scale needs a whole number from 1 to 8"},
        {{"--scale", "0"}, "exit 2: tavbuilder: --scale needs a whole number from 1 to 8, not '0'"},
        {{"--scale", "x"}, "exit 2: tavbuilder: --scale needs a whole number from 1 to 8, not 'x'"},
        {{"--scale=9", "--help"}, "exit 2: tavbuilder: --scale needs a whole number from 1 to 8, not '9'"},
        {{"--scale", "2x"}, "exit 2: tavbuilder: --scale needs a whole number from 1 to 8, not '2x'"},
        {{"a.tvp", "b.tvp"}, "exit 2: tavbuilder: one project file at most, not 'a.tvp' and 'b.tvp'"},
    };
    for (const auto& [arguments, expected] : rows) {
        const builder::BuilderOptions o = builder::ParseBuilderOptions(arguments);
        const std::string shown =
            o.exitStatus
                ? "exit " + std::to_string(*o.exitStatus) + ": " + o.message.substr(0, o.message.find('\n'))
                : std::string(o.windowed ? "window" : "full") + (o.frameRate ? " rate" : "") +
                      (o.scale ? " x" + std::to_string(o.scale) : "") +
                      (o.project.empty() ? "" : " open " + o.project);
        EXPECT_EQ(shown, expected) << arguments.size();
    }
}

} // namespace
} // namespace tav::testing
