#include "model/Validation.h"
#include "model/Project.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

// Rows name only the fields they set; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace tav {
namespace {

using test::MakeObject;
using test::MakeScreen;

// Proj (800 x 600): Main (full, startup), Second (full), Pop (popup of Main, 200 x 150), Nested (sub of Pop).
void FillScreens(Project& project) {
    project.name = "Proj";
    project.width = 800;
    project.height = 600;
    auto main = MakeScreen("Main");
    main->startup = 1;
    project.AddScreen(std::move(main));
    project.AddScreen(MakeScreen("Second"));
    auto pop = MakeScreen("Pop", ScreenType::Popup, "Main");
    pop->x = pop->y = 100;
    pop->width = 200;
    pop->height = 150;
    project.AddScreen(std::move(pop));
    project.AddScreen(MakeScreen("Nested", ScreenType::SubScreen, "Pop"));
}

TEST(ScreenRules, EachRuleWithItsMessageInOrder) {
    const int kNew = Project::kNewItem;
    const auto popup = ScreenType::Popup;
    const auto sub = ScreenType::SubScreen;
    const char* const tooLarge = "Screen dimensions can't be greater than parent screen's";
    // Screens 0 and 1 are Main and Second as they are, but for what a row sets.
    const struct {
        const char* what;
        int editedIndex;
        ScreenDef candidate;
        const char* message;
    } cases[] = {
        {"the project's name", kNew, {.name = "Proj"}, "Screen name cannot be the same as project name"},
        {"empty", kNew, {.name = ""}, "Screen name cannot be blank"},
        {"a blank", kNew, {.name = "My Screen"}, "Screen name cannot contain spaces"},
        {"a tab is no blank", kNew, {.name = "My\tScreen"}, ""},
        {"a new screen named like one", kNew, {.name = "Second"}, "Screen with this name already exists"},
        {"renamed to another screen's name", 1, {.name = "Main"}, "Screen with this name already exists"},
        {"kept its own name", 1, {.name = "Second"}, ""},
        {"differs in case only", kNew, {.name = "main"}, ""},
        {"a second new startup screen",
         kNew,
         {.name = "New", .startup = 1},
         "You cannot have more than one startup screen"},
        {"an edited second startup screen",
         1,
         {.name = "Second", .startup = 1},
         "You cannot have more than one startup screen"},
        {"the startup screen itself", 0, {.name = "Main", .startup = 1}, ""},
        {"the startup screen renamed", 0, {.name = "Start", .startup = 1}, ""},
        {"a popup without parent",
         kNew,
         {.name = "New", .width = 10, .height = 10, .type = popup},
         "Popup screens and sub screens must have a parent"},
        {"a popup with a missing parent",
         kNew,
         {.name = "New", .parent = "Ghost", .type = popup},
         "Invalid parent screen"},
        {"a parent named in another case",
         kNew,
         {.name = "New", .parent = "main", .type = popup},
         "Invalid parent screen"},
        {"a popup too wide for the project",
         kNew,
         {.name = "New", .x = 700, .width = 200, .height = 10, .parent = "Main", .type = popup},
         tooLarge},
        {"a popup that just fits",
         kNew,
         {.name = "New", .x = 600, .y = 400, .width = 200, .height = 200, .parent = "Main", .type = popup},
         ""},
        {"a popup too high",
         kNew,
         {.name = "New", .y = 401, .width = 10, .height = 200, .parent = "Main", .type = popup},
         tooLarge},
        {"a sub screen too wide for its popup parent",
         kNew,
         {.name = "New", .x = 150, .width = 51, .height = 10, .parent = "Pop", .type = sub},
         tooLarge},
        {"a sub screen that fits its popup parent",
         kNew,
         {.name = "New", .x = 150, .y = 100, .width = 50, .height = 50, .parent = "Pop", .type = sub},
         ""},
        {"an unknown type counts as a sub screen",
         kNew,
         {.name = "New", .width = 300, .height = 10, .parent = "Pop", .type = static_cast<ScreenType>(5)},
         tooLarge},
        {"negative positions pass",
         kNew,
         {.name = "New", .x = -500, .y = -500, .parent = "Main", .type = popup},
         ""},
        {"a popup keeps no startup rule",
         kNew,
         {.name = "New", .parent = "Main", .type = popup, .startup = 1},
         ""},
        {"a full screen larger than the project", kNew, {.name = "Huge", .width = 5000, .height = 5000}, ""},
        {"a full screen whose parent is nonsense", kNew, {.name = "New", .parent = "Ghost"}, ""},
    };
    Project project;
    FillScreens(project);
    for (const auto& c : cases)
        EXPECT_EQ(c.message, project.ValidateScreen(c.candidate, c.editedIndex)) << c.what;

    Project unnamed; // the project's name comes before the blank rule
    EXPECT_EQ("Screen name cannot be the same as project name", unnamed.ValidateScreen({.name = ""}, kNew));
}

// `also` changes a second field: what a rule must not look at, or a later rule that must not win.
struct ObjectCase {
    const char* what;
    ObjectKind kind;
    std::function<void(ObjectDef&)> change;
    const char* message;
    std::function<void(ObjectDef&)> also = [](ObjectDef&) {};
};

TEST(ObjectRules, EachRuleWithItsMessageInOrder) {
    using K = ObjectKind;
    const char* const bitmap = "You have to specify a bitmap for the background image";
    const char* const upper = "RGB Codes cannot be greater than 255";
    const char* const lower = "RGB codes cannot be greater than 255";
    const ObjectCase cases[] = {
        {"defaults of a plain object", K::Object, [](ObjectDef&) {}, ""},
        {"empty name", K::Object, [](ObjectDef& o) { o.name = ""; }, "Object name cannot be blank"},
        {"blank in name", K::Static, [](ObjectDef& o) { o.name = "a b"; },
         "Object name cannot contain spaces"},
        {"name taken on the screen", K::Button, [](ObjectDef& o) { o.name = "Taken"; },
         "Object with this name already exists"},
        {"name taken on another screen only", K::Button, [](ObjectDef& o) { o.name = "Taken"; }, "",
         [](ObjectDef& o) { o.screenName = "Other"; }},
        {"width 0 before any kind rule", K::Animation, [](ObjectDef& o) { o.width = 0; },
         "Object's width cannot be 0"},
        {"negative width", K::Object, [](ObjectDef& o) { o.width = -5; }, ""},
        {"height 0", K::Tree, [](ObjectDef& o) { o.height = 0; }, "Object's height cannot be 0"},
        {"transparent colour above 255", K::Static, [](ObjectDef& o) { o.transparent = 1; }, upper,
         [](ObjectDef& o) { o.transparentColor.red = 999; }},
        {"transparent colour ignored when not transparent", K::Static,
         [](ObjectDef& o) { o.transparentColor.red = 999; }, ""},
        {"transparent flag other than 1 counts as false", K::Object, [](ObjectDef& o) { o.transparent = 2; },
         "", [](ObjectDef& o) { o.transparentColor.blue = 256; }},
        {"negative colours pass", K::Object, [](ObjectDef& o) { o.transparent = 1; }, "",
         [](ObjectDef& o) {
             o.transparentColor = {-1, -300, 0};
         }},
        // Button
        {"button defaults", K::Button, [](ObjectDef&) {}, ""},
        {"button down bitmap", K::Button, [](ObjectDef& o) { o.downBitmap = o.overBitmap = ""; },
         "You have to specify a bitmap for the down state"},
        {"button over bitmap", K::Button, [](ObjectDef& o) { o.overBitmap = o.upBitmap = ""; },
         "You have to specify a bitmap for the over state"},
        {"button up bitmap", K::Button, [](ObjectDef& o) { o.upBitmap = ""; },
         "You have to specify a bitmap for the up state"},
        {"button font", K::Button, [](ObjectDef& o) { o.fontName = ""; }, "Font name cannot be blank"},
        {"button font size", K::Button, [](ObjectDef& o) { o.fontSize = 0; }, "Font size cannot be zero"},
        {"button text colour", K::Button, [](ObjectDef& o) { o.textColor.blue = 256; }, lower},
        {"button back colour is not its concern", K::Button, [](ObjectDef& o) { o.backColor.blue = 256; },
         ""},
        {"button click screen missing", K::Button, [](ObjectDef& o) { o.clickScreen = "Ghost"; },
         "Invalid Screen Name"},
        {"button click screen found", K::Button, [](ObjectDef& o) { o.clickScreen = "Other"; }, ""},
        // Check box
        {"check box checked bitmap", K::CheckBox,
         [](ObjectDef& o) { o.checkedBitmap = o.uncheckedBitmap = ""; },
         "You have to specify a bitmap for the checked state"},
        {"check box unchecked bitmap", K::CheckBox, [](ObjectDef& o) { o.uncheckedBitmap = ""; },
         "You have to specify a bitmap for the unchecked state"},
        {"check box back colour", K::CheckBox, [](ObjectDef& o) { o.backColor.green = 300; }, upper,
         [](ObjectDef& o) { o.fontName = ""; }},
        {"check box text colour", K::CheckBox, [](ObjectDef& o) { o.textColor.red = 300; }, lower},
        // Static and edit
        {"static font before size", K::Static, [](ObjectDef& o) { o.fontName = ""; },
         "Font name cannot be blank", [](ObjectDef& o) { o.fontSize = 0; }},
        {"edit font size", K::Edit, [](ObjectDef& o) { o.fontSize = 0; }, "Font size cannot be zero"},
        {"edit negative font size", K::Edit, [](ObjectDef& o) { o.fontSize = -3; }, ""},
        {"edit text colour", K::Edit, [](ObjectDef& o) { o.textColor.green = 1000; }, lower},
        {"static without back bitmap", K::Static, [](ObjectDef& o) { o.image = ""; }, ""},
        // List box
        {"list background", K::ListBox, [](ObjectDef& o) { o.listBackground = ""; }, bitmap,
         [](ObjectDef& o) { o.backColor.red = 256; }},
        {"list back colour", K::ListBox, [](ObjectDef& o) { o.backColor.red = 256; }, upper,
         [](ObjectDef& o) { o.fontName = ""; }},
        {"list column font", K::ListBox, [](ObjectDef& o) { o.columnFontName = ""; },
         "Font name cannot be blank"},
        {"list column font size", K::ListBox, [](ObjectDef& o) { o.columnFontSize = 0; },
         "Font size cannot be zero"},
        {"list text colour", K::ListBox, [](ObjectDef& o) { o.textColor.red = 256; }, upper},
        {"list column text colour", K::ListBox, [](ObjectDef& o) { o.columnTextColor.red = 256; }, upper},
        {"list line colour", K::ListBox, [](ObjectDef& o) { o.lineColor.blue = 256; }, upper},
        {"list selected colour", K::ListBox, [](ObjectDef& o) { o.selectedColor.green = 300; }, upper,
         [](ObjectDef& o) { o.columnHeight = 0; }},
        {"list column height", K::ListBox, [](ObjectDef& o) { o.columnHeight = 0; },
         "Column height cannot be zero", [](ObjectDef& o) { o.itemHeight = 0; }},
        {"list item height", K::ListBox, [](ObjectDef& o) { o.itemHeight = 0; },
         "Item height cannot be zero"},
        {"list column back colour", K::ListBox, [](ObjectDef& o) { o.columnBackColor.red = 256; }, upper},
        // Tree
        {"tree background", K::Tree, [](ObjectDef& o) { o.treeBackground = ""; }, bitmap},
        {"tree without plus and minus", K::Tree, [](ObjectDef& o) { o.plusBitmap = o.minusBitmap = ""; }, ""},
        {"tree font", K::Tree, [](ObjectDef& o) { o.fontName = ""; }, "Font name cannot be blank"},
        {"tree column font is not its concern", K::Tree, [](ObjectDef& o) { o.columnFontName = ""; }, ""},
        {"tree font size", K::Tree, [](ObjectDef& o) { o.fontSize = 0; }, "Font size cannot be zero"},
        {"tree item back colour", K::Tree, [](ObjectDef& o) { o.backColor.blue = 256; }, upper},
        {"tree selected colour", K::Tree, [](ObjectDef& o) { o.selectedColor.blue = 256; }, upper},
        {"tree item height", K::Tree, [](ObjectDef& o) { o.itemHeight = 0; }, "Item Height cannot be zero"},
        {"tree tab space", K::Tree, [](ObjectDef& o) { o.tabSpace = 0; }, "Tab space cannot be zero"},
        // Animation
        {"animation without frames", K::Animation, [](ObjectDef& o) { o.frames.clear(); },
         "You have to add at least one frame"},
        {"animation transparent colour", K::Animation, [](ObjectDef& o) { o.transparent = 1; }, upper,
         [](ObjectDef& o) { o.transparentColor.green = 256; }},
        // Kinds outside the list have no rules of their own.
        {"unknown kind", static_cast<K>(42), [](ObjectDef& o) { o.fontName = ""; }, ""},
    };
    Project project;
    project.AddScreen(MakeScreen("Main"));
    project.AddScreen(MakeScreen("Other"));
    project.AddObject(MakeObject(ObjectKind::Button, "Main", "Taken"));
    project.AddObject(MakeObject(ObjectKind::Button, "Other", "Taken2"));
    for (const auto& c : cases) {
        ObjectDef candidate;
        candidate.screenName = "Main";
        candidate.SetKind(c.kind, project, "Main");
        candidate.frames = {"art/frame.bmp"};
        c.change(candidate);
        c.also(candidate);
        EXPECT_EQ(c.message, project.ValidateObject(candidate, Project::kNewItem)) << c.what;
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
