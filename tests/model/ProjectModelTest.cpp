#include "model/Project.h"
#include "model/ProjectFile.h"
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

// Each kind's defaults as the project file stores them; the default bitmaps lie in the art folder
// beside the program, written "PROGRAM/art/..." in the golden.
TEST(ProjectModel, SetKindAppliesTheKindDefaults) {
    char self[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string folder = std::filesystem::path(self).parent_path().string();
    Project project;
    for (int kind = 0; kind <= static_cast<int>(ObjectKind::Object) + 1; ++kind)
        AddNew(project, static_cast<ObjectKind>(kind), "S");
    std::string text = FormatProjectFile(project);
    for (std::size_t at; (at = text.find(folder + "/art/")) != std::string::npos;)
        text.replace(at, folder.size(), "PROGRAM");
    test::ExpectSameAsGolden(text, TAV_SOURCE_DIR "/tests/model/golden/kind-defaults.tvp");
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

TEST(ProjectModel, LookupsCompareNamesExactlyAndStartupQuestions) {
    Project project;
    EXPECT_FALSE(project.HasOtherStartupScreen(""));
    for (const char* name : {"Main", "main", ""})
        project.AddScreen(MakeScreen(name));
    EXPECT_EQ(1, project.FindScreenIndex("main"));
    EXPECT_EQ(-1, project.FindScreenIndex("MAIN"));
    EXPECT_EQ(-1, project.FindScreenIndex("")); // an empty text finds nothing, even an unnamed screen
    for (const char* screen : {"Main", "main", "main"})
        project.AddObject(MakeObject(ObjectKind::Button, screen, "Ok"));
    EXPECT_EQ(1, project.FindObjectIndex("Ok", "main"));
    EXPECT_EQ(-1, project.FindObjectIndex("ok", "main"));
    EXPECT_EQ(2, project.CountObjects("Ok", "main"));
    EXPECT_EQ(0, project.CountObjects("ok", "Main"));

    project.Screen(0).startup = 1;
    auto popup = MakeScreen("Popup", ScreenType::Popup, "Main");
    popup->startup = 1; // only a full screen keeps the startup flag
    project.AddScreen(std::move(popup));
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
        // Out-of-range deletes change nothing.
        [](Project& p) { p.DeleteScreen(-1); },
        [](Project& p) { p.DeleteScreen(p.ScreenCount()); },
        [](Project& p) { p.DeleteObject(p.ObjectCount()); },
    };
    for (std::size_t i = 0; i < std::size(edits); ++i) {
        project.modified = 0;
        edits[i](project);
        EXPECT_EQ(i < 4 ? 1 : 0, project.modified) << "edit " << i;
    }
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
