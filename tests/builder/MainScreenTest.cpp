// The main screen's layout, its menu bar and tree popups in every state of project and selection,
// the way the tree selection drives the design view, F5, and the screen's pictures.
#include "tests/builder/DialogDriver.h"
#include "tests/builder/MainScreenDriver.h"
#include "tests/support/Screenshots.h"

namespace tav::testing {
namespace {

using builder::MainScreen;

const std::string kReferences = std::string(TAV_SOURCE_DIR) + "/tests/builder/reference";
const std::string kNoProject = "message: There is no project loaded";
const std::string kNoProjectLoaded = "message: No Project Loaded";
const std::string kNoScreen = "message: No Screen Selected";
const std::string kNoObject =
    "message: There is no object selected. Select and object from the tree control on the left and try again";
const std::string kSelectScreen = "message: Select a screen to add the object to first";
const std::string kStartupQuestion = "question: Would you like to create a startup screen?";
const std::string kDelete = "question: Are you sure you want to delete Button1";
const std::string kDeleteScreen = "question: Are you sure you want to delete this screen?";

enum Selection { NoProject, Nothing, Root, ScreenItem, ObjectItem };

class MainScreenStatesTest : public MainScreenTest {
protected:
    void Select(Selection selection) {
        main->TakeProject(selection == NoProject ? nullptr : DemoProject());
        Drive(1);
        if (selection == Root)
            ClickItem("Demo");
        else if (selection == ScreenItem)
            ClickItem("MyScreen");
        else if (selection == ObjectItem)
            ClickItem("Button1", "MyScreen");
    }
};

TEST_F(MainScreenTest, LayoutAtStart) {
    EXPECT_TRUE(main->HasFocus()) << "keys reach the screen before any click";
    EXPECT_EQ(TreeTexts(), std::vector<std::string>{"No Project Loaded"});
    EXPECT_EQ(Tree()->GetFontHeight(), 12); // the pictures do not see it
    ExpectLayout(main, "main-screen");
    EXPECT_EQ(View()->GetType(), TAVSCREEN_SUBSCREEN);
}

// What each menu item answers in each state; the answer is dismissed and the state checked again.
TEST_F(MainScreenStatesTest, EveryMenuItemInEveryState) {
    const std::string kExit = "question: Are you sure you want to exit?";
    // `needs`: -1 nothing, 0 a project, 1 a screen or object item selected, 2 an object item selected;
    // the answers without a project, without the selection needed, and with it.
    const struct {
        const char* title;
        const char* item;
        int needs;
        std::string none, unselected, answer;
    } rows[] = {
        {"FILE", "Open", -1, "", "", "OpenProjectDialog"},
        {"FILE", "Save", 0, kNoProjectLoaded, "", "SaveAsDialog"},
        {"FILE", "Exit", -1, "", "", kExit},
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
        {"HELP", "About", -1, "", "", "AboutBox"},
    };
    for (const auto& row : rows) {
        for (Selection selection : {NoProject, Nothing, Root, ScreenItem, ObjectItem}) {
            SCOPED_TRACE(std::string(row.title) + " > " + row.item + " in state " +
                         std::to_string(selection));
            Select(selection);
            const Project* before = main->GetProject();
            const int level = static_cast<int>(selection) - 2; // the selected item's level, -1 for none
            Menu(row.title, row.item,
                 {Dismiss(selection == NoProject && row.needs >= 0 ? row.none
                          : row.needs > 0 && level < row.needs     ? row.unselected
                                                                   : row.answer)});
            ASSERT_EQ(ended, -1) << "the designer ended";
            EXPECT_EQ(main->GetChildScreen(), nullptr) << "every popup is gone";
            if (std::string(row.item) != "Open")
                EXPECT_EQ(main->GetProject(), before) << "the project is kept";
            if (main->GetProject() != nullptr)
                EXPECT_EQ(main->GetProject()->ObjectCount() + main->GetProject()->ScreenCount(), 5);
        }
    }
}

// Each tree popup by item level: its items in the order of the table, and what each of them opens.
TEST_F(MainScreenStatesTest, TreePopupsByItemLevel) {
    const struct {
        const char *item, *choice;
        MainScreen::PopupKind kind;
        std::string opens;
    } rows[] = {
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
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.item) + " > " + row.choice);
        Select(row.kind == MainScreen::NoProjectPopup ? NoProject : Nothing);
        ClickItem(row.item, "", true);
        auto* menu = dynamic_cast<CTavPopupMenu*>(main->GetPopupMenu());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(main->GetPopupKind(), row.kind);
        std::vector<std::string> items, expected;
        for (const auto& other : rows)
            if (other.kind == row.kind)
                expected.emplace_back(other.choice);
        for (int i = 0; i < menu->GetItemCount(); ++i)
            items.emplace_back(menu->GetItem(i));
        EXPECT_EQ(items, expected);
        EXPECT_EQ(RectOf(menu), (Rect{app.GetMouseX(), app.GetMouseY(), 100, 15 * menu->GetItemCount()}));
        EXPECT_STREQ(menu->GetBackgroundImage()->GetBitmapPath(), "art//popmenuback.bmp");
        std::vector<Step> steps = {Dismiss(row.opens)};
        if (row.choice == std::string("New Project")) // a cancelled New still offers a startup screen
            steps.push_back(Dismiss(kStartupQuestion));
        ChoosePopupItem(main, row.choice, steps);
        EXPECT_EQ(main->GetPopupMenu(), nullptr);
        EXPECT_EQ(main->GetChildScreen(), nullptr);
    }
}

// F5 shows MyScreen whether the screen, the tree or the view has the focus.
TEST_F(MainScreenTest, F5ShowsMyScreen) {
    const auto shownAfterF5 = [this] {
        display->KeyDown(VK_F5);
        Drive(1);
        return main->CurrentScreenName();
    };
    EXPECT_EQ(shownAfterF5(), "") << "nothing without a project";
    LoadDemo();
    EXPECT_EQ(shownAfterF5(), "MyScreen");
    EXPECT_EQ(ViewControls(View()).size(), 2u);
    ClickItem("Popup1");
    EXPECT_EQ(shownAfterF5(), "MyScreen") << "the tree has the focus";
    ClickItem("Popup1");
    LClick({View()->GetAppX() + 200, View()->GetAppY() + 150}); // the view's own keys pass F5 on
    Drive(1);
    ASSERT_TRUE(View()->HasFocus());
    EXPECT_EQ(shownAfterF5(), "MyScreen");
    auto project = DemoProject();
    project->Screen(0).name = "Other";
    main->TakeProject(std::move(project));
    ClickItem("Popup1");
    EXPECT_EQ(shownAfterF5(), "") << "no screen named MyScreen";
    EXPECT_TRUE(ViewControls(View()).empty());
}

// The tree's selection drives the view; pictures of the screen on the way.
TEST_F(MainScreenTest, SelectionDrivesTheViewAndScreenshots) {
    display->SaveLastFrame(folder / "empty.bmp");
    test::ExpectLikeReference(folder / "empty.bmp", kReferences, "mainscreen-empty.bmp");

    LoadDemo();
    EXPECT_TRUE(ViewControls(View()).empty());
    ClickItem("MyScreen");
    EXPECT_EQ(main->CurrentScreenName(), "MyScreen");
    CTavObject* button = ControlOf(main->GetProject()->Object(0));
    ASSERT_NE(button, nullptr);
    // An object of the shown screen: no rebuild, its control takes the focus and the arrows frame it.
    ClickItem("Button1", "MyScreen");
    EXPECT_EQ(ControlOf(main->GetProject()->Object(0)), button) << "not rebuilt";
    EXPECT_TRUE(button->HasFocus());
    ExpectArrows(button);
    display->MouseMove(600, 300);
    Drive(2);
    display->SaveLastFrame(folder / "project.bmp");
    test::ExpectLikeReference(folder / "project.bmp", kReferences, "mainscreen-project.bmp");

    auto* bar = dynamic_cast<CTavMenuBar*>(main->GetMenuBar());
    display->LClick(bar->GetTitleX(3) + 5, 8);
    display->MouseMove(bar->GetTitleX(3) + 20, 20 + 2 * 15 + 7);
    Drive(2);
    display->SaveLastFrame(folder / "menu.bmp");
    test::ExpectLikeReference(folder / "menu.bmp", kReferences, "mainscreen-menu.bmp");

    display->LClick(700, 300); // closes the menu
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
              EXPECT_EQ(RectOf(box->GetObjectByID(1)), (Rect{230, 250, 50, 20}));
          },
          Click(1)});
    test::ExpectLikeReference(folder / "about.bmp", kReferences, "mainscreen-about.bmp");

    ClickItem("Popup1");
    EXPECT_EQ(ViewControls(View()), std::vector<DWORD>{main->GetProject()->Object(2).designId});
    ClickItem("Demo");
    EXPECT_EQ(main->CurrentScreenName(), "");
    EXPECT_TRUE(ViewControls(View()).empty()) << "the root empties the view";
}

} // namespace
} // namespace tav::testing
