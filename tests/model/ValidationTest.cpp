#include "model/Validation.h"
#include "model/Project.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

// Rows name only the leading fields they set; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace tav {
namespace {

using test::MakeObject;
using test::MakeScreen;

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
    ScreenDef popupWithStartup{"New", 0, 0, 100, 100, "Main", popup};
    popupWithStartup.startup = 1;
    // Screens 0 and 1 are Main and Second; a candidate is {name, x, y, width, height, parent, type}.
    const struct {
        int editedIndex;
        ScreenDef candidate;
        const char* message;
    } cases[] = {
        {kNew, {"Proj"}, "Screen name cannot be the same as project name"},
        {kNew, {""}, "Screen name cannot be blank"},
        {kNew, {"My Screen"}, "Screen name cannot contain spaces"},
        {kNew, {"My\tScreen"}, ""},
        {kNew, {"Second"}, taken},
        {1, {"Main"}, taken},
        {1, {"Second"}, ""},
        {kNew, {"main"}, ""},
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
    } cases[] = {
        {K::Object, [](ObjectDef&) {}, ""},
        {K::Object, SET(o.name = ""), "Object name cannot be blank"},
        {K::Static, SET(o.name = "a b"), "Object name cannot contain spaces"},
        {K::Button, SET(o.name = "Taken"), "Object with this name already exists"},
        {K::Button, SET(o.name = "Taken", o.screenName = "Other"), ""},
        {K::Animation, SET(o.width = 0), "Object's width cannot be 0"}, // before any kind rule
        {K::Object, SET(o.width = -5), ""},
        {K::Tree, SET(o.height = 0), "Object's height cannot be 0"},
        {K::Static, SET(o.transparent = 1, o.transparentColor.red = 999), upper},
        {K::Static, SET(o.transparentColor.red = 999), ""},
        {K::Object, SET(o.transparent = 2, o.transparentColor.blue = 256), ""}, // only 1 is true
        {K::Object, SET(o.transparent = 1, o.transparentColor = {-1, -300, 0}), ""},
        // Button
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
        // Check box
        {K::CheckBox, SET(o.checkedBitmap = o.uncheckedBitmap = ""),
         "You have to specify a bitmap for the checked state"},
        {K::CheckBox, SET(o.uncheckedBitmap = ""), "You have to specify a bitmap for the unchecked state"},
        {K::CheckBox, SET(o.backColor.green = 300, o.fontName = ""), upper},
        {K::CheckBox, SET(o.textColor.red = 300), lower},
        // Static and edit
        {K::Static, SET(o.fontName = "", o.fontSize = 0), font},
        {K::Edit, SET(o.fontSize = 0), size},
        {K::Edit, SET(o.fontSize = -3), ""},
        {K::Edit, SET(o.textColor.green = 1000), lower},
        {K::Static, SET(o.image = ""), ""},
        // List box
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
        // Tree
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
        EXPECT_EQ(cases[i].message, project.ValidateObject(candidate, Project::kNewItem)) << "row " << i;
    }
}

TEST(ObjectRules, AnEditedObjectMayKeepItsNameButNotTakeAnother) {
    Project project;
    project.AddScreen(MakeScreen("Main"));
    project.AddObject(MakeObject(ObjectKind::Object, "Main", "First"));
    project.AddObject(MakeObject(ObjectKind::Object, "Main", "Second"));

    ObjectDef edited = project.Object(1);
    EXPECT_EQ("", project.ValidateObject(edited, 1));
    EXPECT_EQ("Object with this name already exists", project.ValidateObject(edited, Project::kNewItem));
    edited.name = "First";
    EXPECT_EQ("Object with this name already exists", project.ValidateObject(edited, 1));
}

TEST(ProjectRules, EachRuleWithItsMessageAndFocus) {
    const struct {
        const char *name, *width, *height;
        const char* message;
        ProjectField focus;
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
    };
    for (const auto& c : cases) {
        const ProjectRuleFailure result = ValidateProjectSettings(c.name, c.width, c.height);
        EXPECT_EQ(c.message, result.message) << c.name << " " << c.width << "x" << c.height;
        EXPECT_EQ(c.focus, result.focus) << c.name << " " << c.width << "x" << c.height;
    }
}

} // namespace
} // namespace tav
