#include "model/CodeNames.h"
#include "model/Names.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "model/Validation.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>
#include <unistd.h>

// Rule rows name only the leading fields they set; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

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
    EXPECT_EQ("MyButton", AddNew(project, ObjectKind::Button, "B"));
    EXPECT_EQ("MyStatic", AddNew(project, ObjectKind::Static, "A"));
    project.DeleteObject(project.FindObjectIndex("MyButton", "A"));
    EXPECT_EQ("MyButton", AddNew(project, ObjectKind::Button, "A")); // a freed name is taken again
    EXPECT_EQ("MyButton3", AddNew(project, ObjectKind::Button, "A"));
    // A gap after the plain name: 2 is free again and comes before 3.
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
        [](Project& p) { p.RenameScreen(0, "Renamed"); },
        [](Project& p) { p.DeleteScreen(0); },
        // Out-of-range deletes change nothing.
        [](Project& p) { p.DeleteScreen(-1); },
        [](Project& p) { p.DeleteScreen(p.ScreenCount()); },
        [](Project& p) { p.DeleteObject(p.ObjectCount()); },
    };
    for (std::size_t i = 0; i < std::size(edits); ++i) {
        project.modified = 0;
        edits[i](project);
        EXPECT_EQ(i < 5 ? 1 : 0, project.modified) << "edit " << i;
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
    project.Object(5).clickScreen = "Other";

    project.DeleteScreen(0);
    ASSERT_EQ(2, project.ScreenCount());
    EXPECT_EQ("Child", project.Screen(0).name);
    EXPECT_EQ("Main", project.Screen(0).parent) << "a child keeps its dangling parent";
    EXPECT_EQ((std::vector<std::string>{"Other/a", "main/c", "Other/e", "Child/f"}), ObjectNames(project));
    EXPECT_EQ("", project.Object(2).clickScreen) << "a button opens no deleted screen";

    project.AddScreen(MakeScreen("Sub", ScreenType::SubScreen, "Other"));
    project.AddScreen(MakeScreen("")); // an empty name refers to no screen: nothing follows it
    project.RenameScreen(1, "New");
    EXPECT_EQ("New", project.Screen(1).name);
    EXPECT_EQ((std::vector<std::string>{"New/a", "main/c", "New/e", "Child/f"}), ObjectNames(project));
    EXPECT_EQ(project.Object(3).clickScreen + "," + project.Screen(2).parent, "New,New");
    project.RenameScreen(3, "Blank");
    EXPECT_EQ(project.Object(0).clickScreen + project.Screen(1).parent, "");
}

ScreenDef Startup(const char* name) {
    ScreenDef screen{name};
    screen.startup = 1;
    return screen;
}

TEST(ScreenRules, EachRuleWithItsMessageInOrder) {
    const int kNew = Project::kNewItem;
    const auto popup = ScreenType::Popup;
    const auto sub = ScreenType::SubScreen;
    const char* const tooLarge = "Screen dimensions can't be greater than parent screen's";
    const char* const twoStartups = "You cannot have more than one startup screen";
    const char* const taken = "Screen with this name already exists";
    const std::string id = "Screen name must be a C++ identifier: ", app = "the application class Proj";
    const std::string ic = " where file names ignore case", guard = " would clash with the include guard ";
    ScreenDef popupWithStartup{"New", 0, 0, 100, 100, "Main", popup};
    popupWithStartup.startup = 1;
    // Screens 0 and 1 are Main and Second; a candidate is {name, x, y, width, height, parent, type}.
    const struct {
        int editedIndex;
        ScreenDef candidate;
        std::string message;
    } cases[] = {
        {kNew, {"Proj"}, "Screen name cannot be the same as project name"},
        {kNew, {""}, "Screen name cannot be blank"},
        {kNew, {"My Screen"}, "Screen name cannot contain spaces"},
        {kNew, {"My\tScreen"}, id + "My\tScreen is not one"},
        {kNew, {"class"}, id + "class is a C++ keyword"},
        {kNew, {"a__b"}, id + "a__b is reserved to the compiler"},
        {kNew, {"_Big"}, id + "_Big is reserved to the compiler"},
        {kNew, {"_big"}, ""},
        {kNew, {"RGB"}, "The screen class RGB would clash with the library's name RGB"},
        {kNew, {"time"}, "The screen class time would clash with the C library's name time"},
        {kNew, {"Main_H"}, "The screen class Main_H" + guard + "Main_H of screen Main"},
        {kNew, {"Proj_H"}, "The screen class Proj_H" + guard + "Proj_H of " + app},
        {1, {"X"}, "The constant X_H of object X/H" + guard + "X_H of screen X"},
        {kNew, {"Second"}, taken},
        {1, {"Main"}, taken},
        {1, {"Second"}, ""},
        {kNew,
         {"main"},
         "The file main.h of screen main would clash with the file Main.h of screen Main" + ic},
        {kNew, Startup("New"), twoStartups},
        {1, Startup("Second"), twoStartups},
        {0, Startup("Main"), ""},
        {0, Startup("Start"), ""},
        {kNew, {"New", 0, 0, 10, 10, "", popup}, "Popup screens and sub screens must have a parent"},
        {kNew, {"New", 0, 0, 100, 100, "Ghost", popup}, "Invalid parent screen"},
        {kNew, {"New", 0, 0, 100, 100, "main", popup}, "Invalid parent screen"},
        {kNew, {"New", 700, 0, 200, 10, "Main", popup}, tooLarge},
        {kNew, {"New", 600, 400, 200, 200, "Main", popup}, ""},
        {kNew, {"New", 0, 401, 10, 200, "Main", popup}, tooLarge},
        {kNew, {"New", 150, 0, 51, 10, "Pop", sub}, tooLarge},
        {kNew, {"New", 150, 100, 50, 50, "Pop", sub}, ""},
        {kNew, {"New", 0, 0, 300, 10, "Pop", static_cast<ScreenType>(5)}, tooLarge}, // unknown: a sub screen
        {kNew, {"New", -500, -500, 100, 100, "Main", popup}, ""},
        {kNew, popupWithStartup, ""},
        {kNew, {"Huge", 0, 0, 5000, 5000}, ""},       // a full screen larger than the project
        {kNew, {"New", 0, 0, 100, 100, "Ghost"}, ""}, // a full screen's parent is not looked at
    };
    // Proj (800 x 600): Main (startup), Second, Pop (popup of Main, 200 x 150 at 100, 100), Nested (sub of
    // Pop).
    Project project;
    project.name = "Proj";
    project.width = 800;
    project.height = 600;
    for (const ScreenDef& screen :
         {Startup("Main"), ScreenDef{"Second"}, ScreenDef{"Pop", 100, 100, 200, 150, "Main", popup},
          ScreenDef{"Nested", 0, 0, 100, 100, "Pop", sub}})
        project.AddScreen(std::make_unique<ScreenDef>(screen));
    project.AddObject(MakeObject(ObjectKind::Object, "Second", "H")); // Second_H: Second's edits still pass
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].message, project.ValidateScreen(cases[i].candidate, cases[i].editedIndex))
            << "row " << i;

    Project unnamed; // the project's name comes before the blank rule
    EXPECT_EQ("Screen name cannot be the same as project name", unnamed.ValidateScreen({.name = ""}, kNew));
}

// Changes the candidate: `o.field = value`, several separated by commas.
#define SET(...) [](ObjectDef& o) { __VA_ARGS__; }

TEST(ObjectRules, EachRuleWithItsMessageInOrder) {
    using K = ObjectKind;
    const char* const bitmap = "You have to specify a bitmap for the background image";
    const char* const upper = "RGB Codes cannot be greater than 255";
    const char* const lower = "RGB codes cannot be greater than 255";
    const char* const font = "Font name cannot be blank";
    const char* const size = "Font size cannot be zero";
    // A second change in a row is what a rule must not look at, or a later rule that must not win.
    const struct {
        ObjectKind kind;
        std::function<void(ObjectDef&)> change;
        const char* message;
        int editedIndex = Project::kNewItem; // 0 is Main/Taken, 1 is Other/Taken2
    } cases[] = {
        {K::Object, [](ObjectDef&) {}, ""},
        {K::Object, SET(o.name = ""), "Object name cannot be blank"},
        {K::Object, SET(o.name = "my-edit"),
         "Object name must form a C++ identifier with its screen's name: Main_my-edit is not one"},
        {K::Object, SET(o.name = "3D"), ""},
        {K::Object, SET(o.name = "H"),
         "The constant Main_H of object Main/H would clash with the include guard Main_H of screen Main"},
        {K::Object, SET(o.name = "H", o.width = 0), "Object's width cannot be 0"},
        {K::Static, SET(o.name = "a b"), "Object name cannot contain spaces"},
        {K::Button, SET(o.name = "Taken"), "Object with this name already exists"},
        {K::Button, SET(o.name = "Taken", o.screenName = "Other"), ""},
        {K::Button, SET(o.name = "Taken"), "", 0}, // an edited object keeps its own name
        {K::Button, SET(o.name = "Taken"), "Object with this name already exists", 1},
        {K::Animation, SET(o.width = 0), "Object's width cannot be 0"}, // before any kind rule
        {K::Object, SET(o.width = -5), ""},
        {K::Tree, SET(o.height = 0), "Object's height cannot be 0"},
        {K::Static, SET(o.transparent = 1, o.transparentColor.red = 999), upper},
        {K::Static, SET(o.transparentColor.red = 999), ""},
        {K::Object, SET(o.transparent = 2, o.transparentColor.blue = 256), ""}, // only 1 is true
        {K::Object, SET(o.transparent = 1, o.transparentColor = {-1, -300, 0}), ""},
        {K::Button, [](ObjectDef&) {}, ""},
        {K::Button, SET(o.downBitmap = o.overBitmap = ""), "You have to specify a bitmap for the down state"},
        {K::Button, SET(o.overBitmap = o.upBitmap = ""), "You have to specify a bitmap for the over state"},
        {K::Button, SET(o.upBitmap = ""), "You have to specify a bitmap for the up state"},
        {K::Button, SET(o.fontName = ""), font},
        {K::Button, SET(o.fontSize = 0), size},
        {K::Button, SET(o.textColor.blue = 256), lower},
        {K::Button, SET(o.backColor.blue = 256), ""},
        {K::Button, SET(o.clickScreen = "Ghost"), "Invalid Screen Name"},
        {K::Button, SET(o.clickScreen = "Other"), ""},
        {K::CheckBox, SET(o.checkedBitmap = o.uncheckedBitmap = ""),
         "You have to specify a bitmap for the checked state"},
        {K::CheckBox, SET(o.uncheckedBitmap = ""), "You have to specify a bitmap for the unchecked state"},
        {K::CheckBox, SET(o.backColor.green = 300, o.fontName = ""), upper},
        {K::CheckBox, SET(o.textColor.red = 300), lower},
        {K::Static, SET(o.fontName = "", o.fontSize = 0), font},
        {K::Edit, SET(o.fontSize = 0), size},
        {K::Edit, SET(o.fontSize = -3), ""},
        {K::Edit, SET(o.textColor.green = 1000), lower},
        {K::Static, SET(o.image = ""), ""},
        {K::ListBox, SET(o.listBackground = "", o.backColor.red = 256), bitmap},
        {K::ListBox, SET(o.backColor.red = 256, o.fontName = ""), upper},
        {K::ListBox, SET(o.columnFontName = ""), font},
        {K::ListBox, SET(o.columnFontSize = 0), size},
        {K::ListBox, SET(o.textColor.red = 256), upper},
        {K::ListBox, SET(o.columnTextColor.red = 256), upper},
        {K::ListBox, SET(o.lineColor.blue = 256), upper},
        {K::ListBox, SET(o.selectedColor.green = 300, o.columnHeight = 0), upper},
        {K::ListBox, SET(o.columnHeight = 0, o.itemHeight = 0), "Column height cannot be zero"},
        {K::ListBox, SET(o.itemHeight = 0), "Item height cannot be zero"},
        {K::ListBox, SET(o.columnBackColor.red = 256), upper},
        {K::Tree, SET(o.treeBackground = ""), bitmap},
        {K::Tree, SET(o.plusBitmap = o.minusBitmap = ""), ""},
        {K::Tree, SET(o.fontName = ""), font},
        {K::Tree, SET(o.columnFontName = ""), ""},
        {K::Tree, SET(o.fontSize = 0), size},
        {K::Tree, SET(o.backColor.blue = 256), upper},
        {K::Tree, SET(o.selectedColor.blue = 256), upper},
        {K::Tree, SET(o.itemHeight = 0), "Item Height cannot be zero"},
        {K::Tree, SET(o.tabSpace = 0), "Tab space cannot be zero"},
        // Animation; kinds outside the list have no rules of their own
        {K::Animation, SET(o.frames.clear()), "You have to add at least one frame"},
        {K::Animation, SET(o.transparent = 1, o.transparentColor.green = 256), upper},
        {static_cast<K>(42), SET(o.fontName = ""), ""},
    };
    Project project;
    project.AddScreen(MakeScreen("Main"));
    project.AddScreen(MakeScreen("Other"));
    project.AddObject(MakeObject(ObjectKind::Button, "Main", "Taken"));
    project.AddObject(MakeObject(ObjectKind::Button, "Other", "Taken2"));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ObjectDef candidate;
        candidate.screenName = "Main";
        candidate.SetKind(cases[i].kind, project, "Main");
        candidate.frames = {"art/frame.bmp"};
        cases[i].change(candidate);
        EXPECT_EQ(cases[i].message, project.ValidateObject(candidate, cases[i].editedIndex)) << "row " << i;
    }
}

TEST(ProjectRules, EachRuleWithItsMessageAndFocus) {
    const struct {
        const char *name, *width, *height;
        const char* message;
        ProjectField focus = ProjectField::None;
    } cases[] = {
        {"", "", "", "Please enter a name for you project", ProjectField::None},
        {"My Project", "800", "600", "Project name cannot contain spaces", ProjectField::None},
        {"P", "", "", "Please enter height", ProjectField::Height},
        {"P", "", "600", "Please enter width", ProjectField::Width},
        {"P", "800", "0", "Please enter height", ProjectField::Height},
        {"P", "0", "0", "Please enter height", ProjectField::Height},
        {"P", "abc", "600", "Please enter width", ProjectField::Width},
        {"P", "-3", "600", "Please enter width", ProjectField::Width},
        {"P", "1", "1", "", ProjectField::None},
        {"P", "12px", "7 ", "", ProjectField::None},
        {"my-game", "1", "1", "Project name must be a C++ identifier: my-game is not one"},
        {"CTavApp", "1", "1", "The application class CTavApp would clash with the library's name CTavApp"},
        {"WinMain_H", "", "1", "Please enter width", ProjectField::Width},
        {"test", "1", "1", "Project name test is a target name CMake keeps for itself"},
    };
    for (const auto& c : cases) {
        const ProjectRuleFailure result = ValidateProjectSettings(c.name, c.width, c.height);
        EXPECT_EQ(c.message, result.message) << c.name << " " << c.width << "x" << c.height;
        EXPECT_EQ(c.focus, result.focus) << c.name << " " << c.width << "x" << c.height;
    }
    Project project;
    project.AddScreen(MakeScreen("Main"));
    EXPECT_EQ("The application class Main_H would clash with the include guard Main_H of screen Main",
              ValidateProjectSettings("Main_H", "1", "1", &project).message);
}

// Every name the library's headers declare where generated code sees it (at global scope, or in CTavScreen or
// CTavApp, which generated classes derive from) must be in the model's list.
TEST(CodeNames, LibraryListHoldsEveryPublicName) {
    std::set<std::string> found;
    const std::regex lastIdent("([A-Za-z_]\\w*)\\s*$"), beforeParen("(\\w+)\\s*\\(");
    const std::regex tag("\\b(class|struct|union|enum|namespace)\\s+(class\\s+|struct\\s+)?(\\w+)");
    const auto declare = [&](const std::string& statement) {
        std::smatch m;
        if (std::regex_search(statement, m, tag) && statement.find("typedef") == std::string::npos)
            return void(found.insert(m[3]));
        if (std::regex_search(statement, m, beforeParen) && statement.find('=') > statement.find('('))
            return void(found.insert(m[1]));
        std::stringstream pieces(statement);
        for (std::string piece; std::getline(pieces, piece, ',');)
            if (const std::string part = piece.substr(0, piece.find('='));
                std::regex_search(part, m, lastIdent))
                found.insert(m[1]);
    };
    for (const auto& entry :
         std::filesystem::directory_iterator(TAV_SOURCE_DIR "/tavctrls/include/tavctrls")) {
        std::string text = std::regex_replace(test::ReadFile(entry.path()), std::regex("\\\\\\n"), " ");
        text =
            std::regex_replace(text, std::regex("//[^\\n]*|/\\*[\\s\\S]*?\\*/|\"(\\\\.|[^\"\\\\])*\""), " ");
        for (std::smatch m; std::regex_search(text, m, std::regex("#\\s*define\\s+(\\w+)"));)
            found.insert(m[1]), text = m.prefix().str() + m.suffix().str();
        text = std::regex_replace(text, std::regex("#[^\\n]*|\\b(public|private|protected)\\s*:"), " ");
        while (std::regex_search(text, std::regex("<[^<>;{}]*>")))
            text = std::regex_replace(text, std::regex("<[^<>;{}]*>"), " ");
        std::vector<std::pair<std::string, bool>> scopes; // name, open (an enum's names belong outside it)
        std::string statement;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c != ';' && c != '{' && c != '}') {
                statement += c;
                continue;
            }
            const bool body =
                c == '{' && std::regex_search(statement, std::regex("(\\)|const|override)\\s*$"));
            for (int depth = 0; body && (depth += text[i] == '{' ? 1 : text[i] == '}' ? -1 : 0) > 0;)
                ++i; // an inline function's body
            std::string named;
            for (const auto& [name, open] : scopes)
                named += open ? "" : name + " ";
            if (named.empty() || named == "CTavScreen " || named == "CTavApp ")
                declare(statement);
            std::smatch m;
            if (c == '{' && !body)
                scopes.emplace_back(std::regex_search(statement, m, tag) ? m[3].str() : "",
                                    m.size() > 1 && m[1] == "enum" && !m[2].matched);
            if (c == '}' && !scopes.empty())
                scopes.pop_back();
            statement.clear();
        }
    }
    std::string missing;
    for (const std::string& name : found)
        if (IdentifierFault(name).empty() && !std::count(LibraryNames().begin(), LibraryNames().end(), name))
            missing += name + " ";
    EXPECT_EQ("", missing);
    EXPECT_GT(found.size(), 300u);
}

} // namespace
} // namespace tav
