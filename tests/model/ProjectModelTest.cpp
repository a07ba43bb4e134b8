#include "model/ProgramFolder.h"
#include "model/Project.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace tav {
namespace {

using test::MakeObject;
using test::MakeScreen;

std::vector<std::string> ObjectNames(const Project& project) {
    std::vector<std::string> names;
    for (const auto& object : project.objects)
        names.push_back(object->screenName + "/" + object->name);
    return names;
}

// Adds an object the way the object dialog does for a new one.
std::string AddNew(Project& project, ObjectKind kind, const std::string& screen) {
    auto object = std::make_unique<ObjectDef>();
    object->screenName = screen;
    object->SetKind(kind, project, screen);
    const std::string name = object->name;
    project.AddObject(std::move(object));
    return name;
}

TEST(ProjectModel, DefaultBitmapsLieInTheArtFolderBesideTheProgram) {
    char self[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string art = std::filesystem::path(self).parent_path().string() + "/art/";
    const ObjectDef o;
    EXPECT_EQ(
        (std::vector<std::string>{o.upBitmap, o.overBitmap, o.downBitmap, o.checkedBitmap, o.uncheckedBitmap,
                                  o.listBackground, o.treeBackground, o.plusBitmap, o.minusBitmap}),
        (std::vector<std::string>{art + "buttonnormal.bmp", art + "buttonover.bmp", art + "buttondown.bmp",
                                  art + "checkyes.bmp", art + "checkno.bmp", art + "listback.bmp",
                                  art + "treeback.bmp", art + "plus.bmp", art + "minus.bmp"}));
}

TEST(ProjectModel, SetKindAppliesTheKindDefaults) {
    Project project;
    const struct {
        ObjectKind kind;
        const char* name;
        int width, height;
        RgbTriple text, back, selected;
        int bold;
    } cases[] = {
        {ObjectKind::Object, "MyObject", 50, 50, {0, 0, 0}, {0, 0, 0}, {0, 255, 0}, 0},
        {ObjectKind::Button, "MyButton", 50, 20, {255, 0, 0}, {0, 0, 0}, {0, 255, 0}, 1},
        {ObjectKind::Static, "MyStatic", 50, 20, {255, 0, 0}, {64, 255, 64}, {0, 255, 0}, 0},
        {ObjectKind::Edit, "MyEdit", 50, 20, {255, 0, 0}, {64, 255, 64}, {0, 255, 0}, 0},
        {ObjectKind::CheckBox, "MyCheckbox", 50, 18, {255, 255, 0}, {0, 0, 255}, {0, 255, 0}, 0},
        {ObjectKind::ListBox, "MyListBox", 100, 100, {0, 0, 0}, {128, 128, 128}, {0, 255, 0}, 0},
        {ObjectKind::Tree, "MyTree", 100, 100, {0, 0, 0}, {64, 255, 0}, {255, 255, 192}, 0},
        {ObjectKind::Animation, "MyAnimation", 50, 50, {0, 0, 0}, {0, 0, 0}, {0, 255, 0}, 0},
    };
    for (const auto& c : cases) {
        ObjectDef object;
        object.screenName = "S";
        object.SetKind(c.kind, project, "S");
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.kind, object.kind);
        EXPECT_EQ(c.name, object.name);
        EXPECT_EQ(c.width, object.width);
        EXPECT_EQ(c.height, object.height);
        EXPECT_EQ(c.text, object.textColor);
        EXPECT_EQ(c.back, object.backColor);
        EXPECT_EQ(c.selected, object.selectedColor);
        EXPECT_EQ(c.bold, object.bold);
        EXPECT_EQ(20, object.itemHeight);
        EXPECT_EQ(0, object.textOffsetX);
    }
}

TEST(ProjectModel, NewObjectsGetNumberedNamesPerScreen) {
    Project project;
    EXPECT_EQ("MyButton", AddNew(project, ObjectKind::Button, "A"));
    EXPECT_EQ("MyButton2", AddNew(project, ObjectKind::Button, "A"));
    EXPECT_EQ("MyButton3", AddNew(project, ObjectKind::Button, "A"));
    EXPECT_EQ("MyButton", AddNew(project, ObjectKind::Button, "B"));
    EXPECT_EQ("MyStatic", AddNew(project, ObjectKind::Static, "A"));

    project.DeleteObject(project.FindObjectIndex("MyButton", "A"));
    EXPECT_EQ("MyButton", AddNew(project, ObjectKind::Button, "A")); // a freed name is taken again
    EXPECT_EQ("MyButton4", AddNew(project, ObjectKind::Button, "A"));

    // A gap after the plain name: 2 is free again and comes before 4.
    project.DeleteObject(project.FindObjectIndex("MyButton2", "A"));
    EXPECT_EQ("MyButton2", AddNew(project, ObjectKind::Button, "A"));
}

TEST(ProjectModel, LookupsCompareNamesExactly) {
    Project project;
    for (const char* name : {"Main", "main", ""})
        project.AddScreen(MakeScreen(name));
    EXPECT_EQ(1, project.FindScreenIndex("main"));
    EXPECT_EQ(-1, project.FindScreenIndex("MAIN"));
    EXPECT_EQ(-1, project.FindScreenIndex("")); // an empty text finds nothing, even an unnamed screen
    EXPECT_EQ(nullptr, project.FindScreen(""));
    EXPECT_EQ(&project.Screen(1), project.FindScreen("main"));

    for (const char* screen : {"Main", "main", "main"})
        project.AddObject(MakeObject(ObjectKind::Button, screen, "Ok"));
    EXPECT_EQ(1, project.FindObjectIndex("Ok", "main"));
    EXPECT_EQ(-1, project.FindObjectIndex("ok", "main"));
    EXPECT_EQ(2, project.CountObjects("Ok", "main"));
    EXPECT_EQ(0, project.CountObjects("ok", "Main"));
}

TEST(ProjectModel, StartupScreenQuestions) {
    Project project;
    EXPECT_FALSE(project.HasOtherStartupScreen(""));
    auto main = MakeScreen("Main");
    main->startup = 1;
    project.AddScreen(std::move(main));
    auto popup = MakeScreen("Popup", ScreenType::Popup, "Main");
    popup->startup = 1;
    project.AddScreen(std::move(popup));

    EXPECT_EQ(0, project.Screen(1).startup) << "only a full screen keeps the startup flag";
    EXPECT_TRUE(project.HasOtherStartupScreen(""));
    EXPECT_TRUE(project.HasOtherStartupScreen("Popup"));
    EXPECT_FALSE(project.HasOtherStartupScreen("Main"));
}

TEST(ProjectModel, EveryEditMarksTheProjectModified) {
    Project project;
    project.AddScreen(MakeScreen("Main"));
    project.AddObject(MakeObject(ObjectKind::Button, "Main", "Ok"));
    const std::function<void(Project&)> edits[] = {
        [](Project& p) { p.AddScreen(MakeScreen("Other")); },
        [](Project& p) { p.AddObject(MakeObject(ObjectKind::Static, "Main", "S")); },
        [](Project& p) { p.DeleteObject(0); },
        [](Project& p) { p.DeleteScreen(0); },
    };
    for (const auto& edit : edits) {
        project.modified = 0;
        edit(project);
        EXPECT_EQ(1, project.modified);
    }
    project.modified = 0;
    project.DeleteScreen(-1);
    project.DeleteScreen(project.ScreenCount());
    project.DeleteObject(project.ObjectCount());
    EXPECT_EQ(0, project.modified) << "out-of-range deletes change nothing";
}

TEST(ProjectModel, DeletingAScreenRemovesExactlyItsObjectsAndRenamingMovesThem) {
    Project project;
    project.AddScreen(MakeScreen("Main"));
    project.AddScreen(MakeScreen("Child", ScreenType::Popup, "Main"));
    project.AddScreen(MakeScreen("Other"));
    const std::pair<const char*, const char*> objects[] = {{"Other", "a"}, {"Main", "b"},  {"main", "c"},
                                                           {"Main", "d"},  {"Other", "e"}, {"Child", "f"}};
    for (const auto& [screen, name] : objects)
        project.AddObject(MakeObject(ObjectKind::Button, screen, name));
    project.Object(4).clickScreen = "Main";

    project.DeleteScreen(0);
    ASSERT_EQ(2, project.ScreenCount());
    EXPECT_EQ("Child", project.Screen(0).name);
    EXPECT_EQ("Main", project.Screen(0).parent) << "a child keeps its dangling parent";
    EXPECT_EQ((std::vector<std::string>{"Other/a", "main/c", "Other/e", "Child/f"}), ObjectNames(project));
    EXPECT_EQ("Main", project.Object(2).clickScreen);

    project.AddScreen(MakeScreen("Sub", ScreenType::SubScreen, "Other"));
    project.Object(3).clickScreen = "Other";
    project.RenameScreen(1, "New");
    EXPECT_EQ("New", project.Screen(1).name);
    EXPECT_EQ((std::vector<std::string>{"New/a", "main/c", "New/e", "Child/f"}), ObjectNames(project));
    EXPECT_EQ("Other", project.Object(3).clickScreen) << "click screens are not renamed";
    EXPECT_EQ("Other", project.Screen(2).parent) << "parents are not renamed";
}

} // namespace
} // namespace tav
