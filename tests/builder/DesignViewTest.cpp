// The project tree, the design view and the preview, driven through a real MainScreen and BuilderApp
// on the headless display: tree filling, view rebuilds, moves, double clicks, right-click menus and
// the full-screen preview.
#include "builder/PreviewScreen.h"
#include "builder/ProjectViews.h"
#include "builder/SelectionArrows.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tests/builder/DialogDriver.h"
#include "tests/builder/MainScreenDriver.h"
#include "tests/support/Screenshots.h"

namespace tav::testing {
namespace {

using builder::BuilderApp;
using builder::ShowScreenInView;

const std::string kReferences = std::string(TAV_SOURCE_DIR) + "/tests/builder/reference";

std::vector<std::string> PopupItems(const CTavScreen* screen) {
    std::vector<std::string> items;
    if (auto* popup = dynamic_cast<CTavPopupMenu*>(screen->GetPopupMenu()))
        for (int i = 0; i < popup->GetItemCount(); ++i)
            items.push_back(popup->GetItem(i));
    return items;
}

class DesignViewTest : public MainScreenTest {
protected:
    void SetUp() override {
        MainScreenTest::SetUp();
        project = std::make_unique<Project>();
        project->name = "Proj";
    }
    // Hands the project over (with a screen "S" when it has none).
    Project& Load() {
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

    std::unique_ptr<Project> project;
};

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
    // Each item as its level and text, "+" when expanded, "*" when selected (the colours are in the
    // main screen's pictures). Project order; an object of no screen has no item.
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
                                    {"", "same", "0Proj+ 1A 2a1 2same 1B 2same 1Empty "},
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
    ASSERT_TRUE(display->SaveLastFrame(folder / "main.bmp"));
    test::ExpectLikeReference(folder / "main.bmp", kReferences, "designer-main.bmp");
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
    Drag(Middle(ControlOf(loaded.Object(2))), InView(300, 200));
    EXPECT_EQ(loaded.modified, 1);
    EXPECT_EQ(RectOf(ControlOf(loaded.Object(2))), (Rect{300, 200, 60, 40}));
    ExpectArrows(ControlOf(loaded.Object(2)));
    EXPECT_EQ((std::vector<Point>{position(0), position(1), position(2)}),
              (std::vector<Point>{{10, 10}, {5, 5}, {300, 200}}));
    EXPECT_EQ(SelectedText(), "Fine");
    LClick(InView(400, 400)); // the empty view takes the focus
    Drive(1);
    ExpectArrows(nullptr);
}

TEST_F(DesignViewTest, RebuildShowsEditsAndStartsUsedControlsOver) {
    AddObject(*project, ObjectKind::CheckBox, "S", "Tick", 10, 10, 100, 20);
    AddObject(*project, ObjectKind::Static, "S", "Label", 10, 60, 100, 20).caption = "Before";
    AddObject(*project, ObjectKind::Object, "S", "Pic", 10, 100);
    Project& loaded = Load();
    Select("S");
    LClick(Middle(ControlOf(loaded.Object(0))));
    LClick(InView(400, 400)); // the focus goes elsewhere again
    Drive(1);
    ASSERT_EQ(dynamic_cast<CTavCheckBox*>(ControlOf(loaded.Object(0)))->GetValue(), TRUE);
    loaded.Object(1).caption = "After";
    ShowScreenInView(&loaded, View(), "S", false);
    EXPECT_EQ(dynamic_cast<CTavCheckBox*>(ControlOf(loaded.Object(0)))->GetValue(), FALSE);
    EXPECT_EQ(std::string(dynamic_cast<CTavStatic*>(ControlOf(loaded.Object(1)))->GetText()), "After");
    EXPECT_EQ(ViewControls(View()), (std::vector<DWORD>{0, 1, 2})) << "project order";
    // A bitmap changed on disk is read again.
    const auto writeBitmap = [&](int side, std::uint32_t pixel) {
        platform::PixelBuffer pixels;
        ASSERT_TRUE(pixels.Allocate(side, side));
        for (int i = 0; i < side * side; ++i)
            pixels.Row(i / side)[i % side] = pixel;
        ASSERT_TRUE(platform::SaveBitmapFile(folder / "picture.bmp", pixels));
    };
    writeBitmap(4, 0xFF0000);
    loaded.Object(2).image = folder / "picture.bmp";
    ShowScreenInView(&loaded, View(), "S", false);
    EXPECT_EQ(PixelAt(ControlOf(loaded.Object(2))->GetImage(), 2, 2), 0xFF0000u);
    writeBitmap(5, 0x0000FF);
    ShowScreenInView(&loaded, View(), "S", false);
    EXPECT_EQ(PixelAt(ControlOf(loaded.Object(2))->GetImage(), 2, 2), 0x0000FFu);
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
    ChoosePopupItem(View(), "Add Static", {AnswerObjectDialog("1 -1 0,0", kObjectCancel)}); // no position
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
    EXPECT_EQ(RectOf(ControlOf(note)), (Rect{250, 200, 150, 40})) << "moved in the preview";
    EXPECT_EQ(loaded.modified, 1);
    test::ExpectLikeReference(folder / "preview.bmp", kReferences, "designer-preview.bmp");
}

} // namespace
} // namespace tav::testing
