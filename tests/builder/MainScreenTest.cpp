// The main screen's layout, its menu bar and tree popups in every state of project and selection,
// and the way the tree selection drives the design view.
#include "builder/AboutBox.h"
#include "builder/PreviewScreen.h"
#include "builder/SelectionArrows.h"
#include "tests/builder/MainScreenDriver.h"
#include "tests/support/Screenshots.h"

#include <array>

namespace tav::testing {
namespace {

using builder::BuilderApp;
using builder::MainScreen;

const std::string kReferences = std::string(TAV_SOURCE_DIR) + "/tests/builder/reference";
const std::string kNoProject = "message: There is no project loaded";
const std::string kNoProjectLoaded = "message: No Project Loaded";
const std::string kNoScreen = "message: No Screen Selected";
const std::string kNoObject =
    "message: There is no object selected. Select and object from the tree control on the left and try again";
const std::string kSelectScreen = "message: Select a screen to add the object to first";
const std::string kStartupQuestion = "question: Would you like to create a startup screen?";

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
    EXPECT_EQ(main->GetBackgroundMode(), TAVBACK_TILE);
    EXPECT_TRUE(main->HasFocus()) << "keys reach the screen before any click";

    auto* bar = dynamic_cast<CTavMenuBar*>(main->GetMenuBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetHeight(), 20);
    std::vector<std::string> menus;
    for (int m = 0; m < bar->GetMenuCount(); ++m) {
        std::string line = bar->GetMenuTitle(m);
        for (int i = 0; i < bar->GetMenuItemCount(m); ++i)
            line += std::string("|") + bar->GetMenuItem(m, i);
        menus.push_back(line);
    }
    EXPECT_EQ(menus,
              (std::vector<std::string>{
                  "FILE|New|Open|Save|Exit",
                  "PROJECT|Properties",
                  "SCREEN|Add Screen|Properties|Delete Screen|List|Full Screen",
                  "OBJECT|Properties|Add Object|Add Button|Add Static|Add CheckBox|Add Edit Box|Add List "
                  "Box|Add Tree Control|Add Animation|Delete Object",
                  "GENERATE CODE|Entire Project|This Screen Only",
                  "HELP|About",
              }));

    ASSERT_NE(Tree(), nullptr);
    EXPECT_EQ(Tree()->GetFontHeight(), 12);
    EXPECT_EQ(TreeTexts(), std::vector<std::string>{"No Project Loaded"});

    using Rect = std::array<int, 4>;
    const struct {
        DWORD id;
        Rect rect;
        const char* bitmap;
    } objects[] = {
        {0, {20, 30, 180, 450}, "art//treeback.bmp"},
        {2, {210, 30, 550, 450}, "art//viewback.bmp"},
        {1, {210, 480, 550, 100}, "art//treeback.bmp"},
        {3, {220, 490, 40, 40}, "art//drag//dragobj.bmp"},
        {4, {280, 490, 40, 40}, "art//drag//dragbutton.bmp"},
        {5, {340, 490, 40, 40}, "art//drag//dragstat.bmp"},
        {6, {400, 490, 40, 40}, "art//drag//dragCheck.bmp"},
        {7, {460, 490, 40, 40}, "art//drag//dragedit.bmp"},
        {8, {520, 490, 40, 40}, "art//drag//draglist.bmp"},
        {9, {580, 490, 40, 40}, "art//drag//dragtree.bmp"},
        {10, {640, 490, 40, 40}, "art//drag//draganim.bmp"},
    };
    EXPECT_EQ(main->GetObjectCount(), 11);
    for (const auto& expected : objects) {
        CTavObject* object = main->GetObjectByID(expected.id);
        ASSERT_NE(object, nullptr) << expected.id;
        const Rect rect{static_cast<int>(object->GetX()), static_cast<int>(object->GetY()),
                        object->GetWidth(), object->GetHeight()};
        EXPECT_EQ(rect, expected.rect) << expected.id;
        EXPECT_STREQ(object->GetBitmapPath(), expected.bitmap) << expected.id;
    }
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ((Rect{View()->GetX(), View()->GetY(), View()->GetWidth(), View()->GetHeight()}),
              (Rect{210, 30, 550, 450}));
    EXPECT_EQ(View()->GetType(), TAVSCREEN_SUBSCREEN);
}

// What each menu item answers in each state; the answer is dismissed and the state checked again.
TEST_F(MainScreenStatesTest, EveryMenuItemInEveryState) {
    const std::string kDelete = "question: Are you sure you want to delete Button1";
    const std::string kDeleteScreen = "question: Are you sure you want to delete this screen?";
    const std::string kExit = "question: Are you sure you want to exit?";
    struct Row {
        const char* title;
        const char* item;
        std::array<std::string, 5> expected; // NoProject, Nothing, Root, ScreenItem, ObjectItem
    };
    auto all = [](const std::string& answer) {
        return std::array<std::string, 5>{answer, answer, answer, answer, answer};
    };
    auto withProject = [](const std::string& none, const std::string& answer) {
        return std::array<std::string, 5>{none, answer, answer, answer, answer};
    };
    auto onScreen = [](const std::string& none, const std::string& unselected, const std::string& answer) {
        return std::array<std::string, 5>{none, unselected, unselected, answer, answer};
    };
    auto onObject = [](const std::string& none, const std::string& unselected, const std::string& answer) {
        return std::array<std::string, 5>{none, unselected, unselected, unselected, answer};
    };
    const Row rows[] = {
        {"FILE", "Open", all("OpenProjectDialog")},
        {"FILE", "Save", withProject(kNoProjectLoaded, "SaveAsDialog")},
        {"FILE", "Exit", all(kExit)},
        {"PROJECT", "Properties", withProject(kNoProjectLoaded, "ProjectDialog")},
        {"SCREEN", "Add Screen", withProject(kNoProject, "ScreenDialog")},
        {"SCREEN", "Properties", onScreen(kNoProject, kNoScreen, "ScreenDialog")},
        {"SCREEN", "Delete Screen", onScreen(kNoProject, kNoScreen, kDeleteScreen)},
        {"SCREEN", "List", withProject(kNoProject, "ScreenListDialog")},
        {"SCREEN", "Full Screen", onScreen(kNoProject, kNoScreen, "PreviewScreen")},
        {"OBJECT", "Properties", onObject(kNoProject, kNoObject, "ObjectDialog 0")},
        {"OBJECT", "Add Object", onScreen(kNoProject, kSelectScreen, "ObjectDialog 7")},
        {"OBJECT", "Add Button", onScreen(kNoProject, kSelectScreen, "ObjectDialog 0")},
        {"OBJECT", "Add Static", onScreen(kNoProject, kSelectScreen, "ObjectDialog 1")},
        {"OBJECT", "Add CheckBox", onScreen(kNoProject, kSelectScreen, "ObjectDialog 3")},
        {"OBJECT", "Add Edit Box", onScreen(kNoProject, kSelectScreen, "ObjectDialog 2")},
        {"OBJECT", "Add List Box", onScreen(kNoProject, kSelectScreen, "ObjectDialog 4")},
        {"OBJECT", "Add Tree Control", onScreen(kNoProject, kSelectScreen, "ObjectDialog 5")},
        {"OBJECT", "Add Animation", onScreen(kNoProject, kSelectScreen, "ObjectDialog 6")},
        {"OBJECT", "Delete Object", onObject(kNoProject, kNoObject, kDelete)},
        {"GENERATE CODE", "Entire Project", withProject(kNoProject, "DestinationDialog")},
        {"GENERATE CODE", "This Screen Only", onScreen(kNoProject, kNoScreen, "DestinationDialog")},
        {"HELP", "About", all("AboutBox")},
    };
    for (const Row& row : rows) {
        for (Selection selection : {NoProject, Nothing, Root, ScreenItem, ObjectItem}) {
            SCOPED_TRACE(std::string(row.title) + " > " + row.item + " in state " +
                         std::to_string(selection));
            Select(selection);
            const Project* before = main->GetProject();
            const int objects = before != nullptr ? before->ObjectCount() : 0;
            Menu(row.title, row.item, {Dismiss(row.expected[selection])});
            ASSERT_EQ(ended, -1) << "the designer ended";
            EXPECT_EQ(main->GetChildScreen(), nullptr) << "every popup is gone";
            if (std::string(row.item) != "Open") {
                EXPECT_EQ(main->GetProject(), before) << "the project is kept";
                if (before != nullptr) {
                    EXPECT_EQ(main->GetProject()->ObjectCount(), objects);
                    EXPECT_EQ(main->GetProject()->ScreenCount(), 2);
                }
            }
        }
    }
}

TEST_F(MainScreenStatesTest, TreePopupsByItemLevel) {
    const struct {
        Selection selection;
        const char* item;
        const char* parent;
        MainScreen::PopupKind kind;
        std::vector<std::string> items;
    } popups[] = {
        {NoProject, "No Project Loaded", "", MainScreen::NoProjectPopup, {"New Project", "Open Project"}},
        {Nothing, "Demo", "", MainScreen::RootPopup, {"New Project", "Open Project", "Properties"}},
        {Nothing,
         "MyScreen",
         "",
         MainScreen::ScreenPopup,
         {"Properties", "Delete Screen", "View List", "Add Screen"}},
        {Nothing, "Button1", "MyScreen", MainScreen::ObjectPopup, {"Properties", "Delete"}},
    };
    for (const auto& popup : popups) {
        SCOPED_TRACE(popup.item);
        Select(popup.selection);
        ClickItem(popup.item, popup.parent, true);
        auto* menu = dynamic_cast<CTavPopupMenu*>(main->GetPopupMenu());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(main->GetPopupKind(), popup.kind);
        std::vector<std::string> items;
        for (int i = 0; i < menu->GetItemCount(); ++i)
            items.emplace_back(menu->GetItem(i));
        EXPECT_EQ(items, popup.items);
        EXPECT_EQ(menu->GetWidth(), 100);
        EXPECT_EQ(menu->GetHeight(), 15 * static_cast<int>(items.size()));
        // At the mouse, in the screen's coordinates (the screen fills the window).
        EXPECT_EQ(static_cast<int>(menu->GetX()), app.GetMouseX());
        EXPECT_EQ(static_cast<int>(menu->GetY()), app.GetMouseY());
        EXPECT_STREQ(menu->GetBackgroundImage()->GetBitmapPath(), "art//popmenuback.bmp");
    }
}

TEST_F(MainScreenStatesTest, EveryTreePopupItemRunsItsCommand) {
    const struct {
        const char* item;
        const char* parent;
        const char* choice;
        std::vector<std::string> answers;
    } rows[] = {
        {"No Project Loaded", "", "New Project", {"ProjectDialog", kStartupQuestion}},
        {"No Project Loaded", "", "Open Project", {"OpenProjectDialog"}},
        {"Demo", "", "New Project", {"ProjectDialog", kStartupQuestion}},
        {"Demo", "", "Open Project", {"OpenProjectDialog"}},
        {"Demo", "", "Properties", {"ProjectDialog"}},
        {"MyScreen", "", "Properties", {"ScreenDialog"}},
        {"MyScreen", "", "Delete Screen", {"question: Are you sure you want to delete this screen?"}},
        {"MyScreen", "", "View List", {"ScreenListDialog"}},
        {"MyScreen", "", "Add Screen", {"ScreenDialog"}},
        {"Button1", "MyScreen", "Properties", {"ObjectDialog 0"}},
        {"Button1", "MyScreen", "Delete", {"question: Are you sure you want to delete Button1"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.item) + " > " + row.choice);
        Select(std::string(row.item) == "No Project Loaded" ? NoProject : Nothing);
        ClickItem(row.item, row.parent, true);
        std::vector<Step> steps;
        for (const std::string& answer : row.answers)
            steps.push_back(Dismiss(answer));
        ChoosePopupItem(main, row.choice, steps);
        EXPECT_EQ(main->GetPopupMenu(), nullptr);
        EXPECT_EQ(main->GetChildScreen(), nullptr);
    }
}

TEST_F(MainScreenTest, SelectionDrivesTheView) {
    LoadDemo();
    EXPECT_TRUE(ViewControls(View()).empty());
    ClickItem("MyScreen");
    EXPECT_EQ(main->CurrentScreenName(), "MyScreen");
    ASSERT_EQ(ViewControls(View()).size(), 2u);
    CTavObject* button = View()->GetObjectByID(main->GetProject()->Object(0).designId);
    ASSERT_NE(button, nullptr);

    // An object of the shown screen: no rebuild, its control takes the focus and the arrows frame it.
    ClickItem("Button1", "MyScreen");
    EXPECT_EQ(View()->GetObjectByID(main->GetProject()->Object(0).designId), button) << "not rebuilt";
    EXPECT_TRUE(button->HasFocus());
    EXPECT_NE(View()->GetObjectByID(builder::LeftArrow)->GetX(), -50.0f);

    ClickItem("Popup1");
    EXPECT_EQ(main->CurrentScreenName(), "Popup1");
    EXPECT_EQ(ViewControls(View()).size(), 1u);

    ClickItem("Demo");
    EXPECT_EQ(main->CurrentScreenName(), "");
    EXPECT_TRUE(ViewControls(View()).empty()) << "the root empties the view";
}

TEST_F(MainScreenTest, F5ShowsMyScreenWithoutAClickFirst) {
    display->KeyDown(VK_F5);
    Drive(1);
    EXPECT_EQ(main->CurrentScreenName(), "") << "nothing without a project";

    LoadDemo();
    display->KeyDown(VK_F5);
    Drive(1);
    EXPECT_EQ(main->CurrentScreenName(), "MyScreen");
    EXPECT_EQ(ViewControls(View()).size(), 2u);

    // And after the tree had a press.
    ClickItem("Popup1");
    EXPECT_EQ(ViewControls(View()).size(), 1u);
    display->KeyDown(VK_F5);
    Drive(1);
    EXPECT_EQ(main->CurrentScreenName(), "MyScreen");
    EXPECT_EQ(ViewControls(View()).size(), 2u);

    auto project = DemoProject();
    project->Screen(0).name = "Other";
    main->TakeProject(std::move(project));
    ClickItem("Popup1");
    display->KeyDown(VK_F5);
    Drive(1);
    EXPECT_EQ(main->CurrentScreenName(), "") << "no screen named MyScreen";
    EXPECT_TRUE(ViewControls(View()).empty());
}

TEST_F(MainScreenTest, AboutBox) {
    Menu(
        "HELP", "About",
        {Expect<builder::AboutBox>(
             "the about box",
             [](builder::AboutBox* box) {
                 EXPECT_EQ(box->GetX(), 200);
                 EXPECT_EQ(box->GetY(), 100);
                 EXPECT_EQ(box->GetWidth(), 300);
                 EXPECT_EQ(box->GetHeight(), 300);
                 auto* text = dynamic_cast<CTavStatic*>(box->GetObjectByID(0));
                 ASSERT_NE(text, nullptr);
                 EXPECT_EQ(text->GetLines().size(), 3u) << "one line each";
                 EXPECT_EQ(
                     std::string(text->GetText()).rfind("Tavrin Builder 1.0\nby Tavrin Software\nEmail: ", 0),
                     0u);
                 EXPECT_TRUE(text->IsMultiline());
                 EXPECT_EQ(text->GetFontWeight(), 700);
                 auto* close = dynamic_cast<CTavButton*>(box->GetObjectByID(1));
                 ASSERT_NE(close, nullptr);
                 EXPECT_STREQ(close->GetCaption(), "Close");
                 EXPECT_EQ(close->GetX(), 230.0f);
                 EXPECT_EQ(close->GetY(), 250.0f);
             }),
         Click(1)});
    EXPECT_EQ(main->GetChildScreen(), nullptr);
}

TEST_F(MainScreenTest, Screenshots) {
    Drive(1);
    display->SaveLastFrame(folder / "empty.bmp");
    test::ExpectLikeReference(folder / "empty.bmp", kReferences, "mainscreen-empty.bmp");

    LoadDemo();
    ClickItem("Button1", "MyScreen");
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
          [this](CTavScreen*) { EXPECT_TRUE(display->SaveLastFrame(folder / "about.bmp")); }, Click(1)});
    test::ExpectLikeReference(folder / "about.bmp", kReferences, "mainscreen-about.bmp");
}

} // namespace
} // namespace tav::testing
