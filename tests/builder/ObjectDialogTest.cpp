// The object dialog of every kind: the fields it shows and stores, the rules with their messages in
// order, the frames of an animation, digits-only fields, the choosers it opens, and its look.
#include "DialogDriver.h"

#include "builder/FileChooser.h"
#include "builder/ObjectDialog.h"
#include "model/Project.h"
#include "tavctrls/TavFonts.h"
#include "tests/support/Screenshots.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using builder::ObjectDialog;
namespace fs = std::filesystem;

const std::string kReferences = std::string(TAV_SOURCE_DIR) + "/tests/builder/reference";

// Every field set to a value of its own, negative numbers included, so that a swapped or dropped
// field shows up.
ObjectDef RichObject(ObjectKind kind) {
    ObjectDef object;
    object.designId = 77;
    object.name = "Thing";
    object.kind = kind;
    object.x = -12;
    object.y = 34;
    object.width = 120;
    object.height = -8;
    object.image = "img.bmp";
    object.checkValue = 1;
    object.screenName = "Main";
    object.caption = "Hello there";
    object.reservedText = "";
    object.upBitmap = "up.bmp";
    object.overBitmap = "over.bmp";
    object.downBitmap = "down.bmp";
    object.checkedBitmap = "checked.bmp";
    object.uncheckedBitmap = "unchecked.bmp";
    object.listBackground = "listbg.bmp";
    object.multiline = 1;
    object.treeBackground = "treebg.bmp";
    object.interval = 12345;
    object.frames = {"f1.bmp", "f2.bmp"};
    object.transparent = 1;
    object.transparentColor = {1, 2, 3};
    object.textColor = {4, -5, 6};
    object.backColor = {7, 8, 9};
    object.fontName = "Font A";
    object.fontSize = 17;
    object.bold = 1;
    object.columnFontName = "Font B";
    object.columnFontSize = 19;
    object.columnBold = 1;
    object.columnTextColor = {10, 11, 12};
    object.selectedColor = {13, 14, 15};
    object.lineColor = {16, 17, 18};
    object.columnHeight = 21;
    object.itemHeight = 22;
    object.columnBackColor = {23, 24, 25};
    object.plusBitmap = "plus.bmp";
    object.minusBitmap = "minus.bmp";
    object.tabSpace = 26;
    object.textOffsetX = -3;
    object.textOffsetY = 27;
    object.clickScreen = "Other";
    object.reservedNumber = 0;
    return object;
}

class ObjectDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        project.AddScreen(test::MakeScreen("Main"));
        project.AddScreen(test::MakeScreen("Other"));
    }

    int AddExisting(const ObjectDef& object) {
        project.AddObject(std::make_unique<ObjectDef>(object));
        project.modified = 0;
        return project.ObjectCount() - 1;
    }

    // Opens the dialog as the designer's commands do and plays `steps` on it (or on a chooser that it
    // opened) whenever it waits.
    int Open(ObjectKind kind, int index, std::vector<Step> steps, int presetX = -1, int presetY = -1) {
        auto* dialog = new ObjectDialog;
        dialog->screenName = "Main";
        dialog->kind = kind;
        dialog->project = &project;
        dialog->editedIndex = index;
        dialog->presetX = presetX;
        dialog->presetY = presetY;
        int confirmed = -1;
        Run<ObjectDialog>(dialog, 200, 60, 400, 480, std::move(steps),
                          [&](ObjectDialog& done) { confirmed = done.confirmed; });
        return confirmed;
    }

    Project project;
};

const ObjectKind kAllKinds[] = {ObjectKind::Button,    ObjectKind::Static,  ObjectKind::Edit,
                                ObjectKind::CheckBox,  ObjectKind::ListBox, ObjectKind::Tree,
                                ObjectKind::Animation, ObjectKind::Object};

// Each kind shows every field in its place (the layout files) and OK stores exactly what was shown.
TEST_F(ObjectDialogTest, OkOnAnUnchangedDialogStoresExactlyItsValues) {
    for (ObjectKind kind : kAllKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        ObjectDef object = RichObject(kind);
        if (kind == ObjectKind::Object)
            object.transparent = 0; // its colour fields hidden
        const int index = AddExisting(object);
        const std::string layout = "object-dialog-" + std::to_string(static_cast<int>(kind));
        EXPECT_EQ(Open(kind, index, {Layout(layout), Click(1)}), 1);
        EXPECT_EQ(project.Object(index), object);
        EXPECT_EQ(project.modified, 1);
        project.DeleteObject(index);
    }
}

// A button is dropped at 40, 60; the others come from the menu, at the default position.
TEST_F(ObjectDialogTest, OkOnAnUnchangedNewDialogAddsTheKindsDefaults) {
    for (ObjectKind kind : kAllKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        ObjectDef expected;
        expected.screenName = "Main";
        expected.SetKind(kind, project, "Main");
        std::vector<Step> steps = {Click(1)};
        if (kind == ObjectKind::Animation) { // an animation needs a frame
            steps = {Set(14, "f.bmp"), Click(16), Click(1)};
            expected.frames = {"f.bmp"};
        }
        const bool dropped = kind == ObjectKind::Button;
        if (dropped) {
            expected.x = 40;
            expected.y = 60;
        }
        EXPECT_EQ(Open(kind, -1, steps, dropped ? 40 : -1, dropped ? 60 : -1), 1);
        ASSERT_EQ(project.ObjectCount(), 1);
        EXPECT_EQ(project.Object(0), expected);
        project.DeleteObject(0);
    }
}

TEST_F(ObjectDialogTest, CancelLeavesTheProjectAsItWas) {
    const int index = AddExisting(RichObject(ObjectKind::Button));
    const ObjectDef before = project.Object(index);
    EXPECT_EQ(Open(ObjectKind::Button, index, {Set(90, "Changed"), Click(2)}), 0);
    EXPECT_EQ(project.Object(index), before);
    EXPECT_EQ(project.modified, 0);
    EXPECT_EQ(Open(ObjectKind::Static, -1, {Click(2)}), 0);
    EXPECT_EQ(project.ObjectCount(), 1);
}

// The colour fields of a plain object show only while "transparent" is checked; an animation's always.
TEST_F(ObjectDialogTest, TransparentColourOfAPlainObjectShowsOnlyWhileChecked) {
    EXPECT_EQ(Open(ObjectKind::Object, -1,
                   {Layout("object-dialog-plain"), Click(14), Layout("object-dialog-plain-transparent"),
                    Click(14), Layout("object-dialog-plain"), Click(2)}),
              0);
    const int index = AddExisting(RichObject(ObjectKind::Object)); // transparent
    EXPECT_EQ(Open(ObjectKind::Object, index, {Layout("object-dialog-rich-transparent"), Click(2)}), 0);
    EXPECT_EQ(Open(ObjectKind::Animation, -1,
                   {Layout("object-dialog-animation"), Click(19), Layout("object-dialog-animation-checked"),
                    Click(2)}),
              0);
}

// Adding clears the bitmap field; deleting removes the selected row.
TEST_F(ObjectDialogTest, FramesAreAddedDeletedAndStoredInOrder) {
    auto select = [](CTavScreen* d) { static_cast<CTavListBox*>(d->GetObjectByID(17))->SetSelection(1); };
    const std::vector<Step> steps =
        Breaking(18, {{{}, "There are no items in list to delete"}},
                 Breaking(16, {{{}, "Enter the location of the bitmap for this frame first"}},
                          {Set(14, "a.bmp"), Click(16), Layout("object-dialog-frame-added"), Set(14, "b.bmp"),
                           Click(16), Set(14, "c.bmp"), Click(16), Click(18),
                           AnswerBox("Select an item from the list first"), select, Click(18),
                           Layout("object-dialog-frame-deleted"), Click(1)}));
    EXPECT_EQ(Open(ObjectKind::Animation, -1, steps), 1);
    ASSERT_EQ(project.ObjectCount(), 1);
    EXPECT_EQ(project.Object(0).frames, (FrameList{"a.bmp", "c.bmp"}));
}

TEST_F(ObjectDialogTest, ValidationMessagesComeInRuleOrderAndKeepTheDialogOpen) {
    AddExisting(RichObject(ObjectKind::Button)); // "Thing" on "Main"
    const std::vector<Step> steps = Breaking(
        1,
        {{{Set(90, "")}, "Object name cannot be blank"},
         {{Set(90, "a b")}, "Object name cannot contain spaces"},
         {{Set(90, "Thing")}, "Object with this name already exists"},
         {{Set(90, "Fresh"), Set(8, "")}, "Object's width cannot be 0"},
         {{Set(8, "5"), Set(10, "0")}, "Object's height cannot be 0"},
         {{Set(10, "5"), Set(18, "")}, "You have to specify a bitmap for the down state"},
         {{Set(18, "d.bmp"), Set(15, "")}, "You have to specify a bitmap for the over state"},
         {{Set(15, "o.bmp"), Set(12, "")}, "You have to specify a bitmap for the up state"},
         {{Set(12, "u.bmp"), Set(23, "")}, "Font name cannot be blank"},
         {{Set(23, "Verdana"), Set(26, "")}, "Font size cannot be zero"},
         {{Set(26, "9"), Set(34, "256")}, "RGB codes cannot be greater than 255"},
         {{Set(34, "255"), Set(41, "Nowhere")}, "Invalid Screen Name"}},
        {[&](CTavScreen*) { EXPECT_EQ(project.ObjectCount(), 1) << "nothing stored while a rule fails"; },
         Set(41, "Other"), Click(1)});
    EXPECT_EQ(Open(ObjectKind::Button, -1, steps), 1);
    ASSERT_EQ(project.ObjectCount(), 2);
    const ObjectDef& added = project.Object(1);
    EXPECT_EQ(added.name, "Fresh");
    EXPECT_EQ(added.textColor.blue, 255);
    EXPECT_EQ(added.clickScreen, "Other");
}

TEST_F(ObjectDialogTest, SelectButtonsFillTheirFieldsFromTheChoosers) {
    const std::string font = TavGetFontFamilies().at(1);
    EXPECT_EQ(Open(ObjectKind::Button, -1,
                   {Click(24), Row(0, 1), Click(1), Click(42), Row(0, 1), Click(1), ExpectText(23, font),
                    ExpectText(41, "Other"), Click(2)}),
              0);
}

// The bitmap chooser starts in the current directory and opens inside the dialog, which it must fit.
TEST_F(ObjectDialogTest, BrowseFillsTheFieldBeforeIt) {
    test::TempDir folder;
    test::WriteFile(folder / "a.bmp", "x");
    const fs::path previous = fs::current_path();
    fs::current_path(folder.path());
    const Step fits = [](CTavScreen* chooser) {
        ASSERT_NE(dynamic_cast<builder::FileChooser*>(chooser), nullptr);
        const CTavScreen* dialog = chooser->GetParent();
        EXPECT_NE(dynamic_cast<const ObjectDialog*>(dialog), nullptr);
        EXPECT_TRUE(chooser->GetX() >= 0 && chooser->GetX() + chooser->GetWidth() <= dialog->GetWidth());
        EXPECT_TRUE(chooser->GetY() >= 0 && chooser->GetY() + chooser->GetHeight() <= dialog->GetHeight());
    };
    EXPECT_EQ(Open(ObjectKind::Button, -1,
                   {Click(13), fits, Row(builder::FileChooser::ID_FILES, 0),
                    Click(builder::FileChooser::ID_OK), ExpectText(12, folder / "a.bmp"), Click(2)}),
              0);
    fs::current_path(previous);
}

TEST(ReadNumber, TakesAnOptionalMinusAndTheLeadingDigits) {
    const std::pair<const char*, int> rows[] = {{"-5", -5},
                                                {"12ab3", 12},
                                                {"", 0},
                                                {"-", 0},
                                                {"x7", 0},
                                                {"99999999999", 2147483647},
                                                {"-99999999999", -2147483647 - 1}};
    for (const auto& [text, number] : rows)
        EXPECT_EQ(builder::ReadNumber(text), number) << text;
}

TEST_F(ObjectDialogTest, ButtonAndListBoxDialogsLookRight) {
    test::TempDir folder;
    for (ObjectKind kind : {ObjectKind::Button, ObjectKind::ListBox}) {
        // Bitmap paths of the designer's own art would show where the build lies.
        ObjectDef object;
        object.screenName = "Main";
        object.SetKind(kind, project, "Main");
        object.upBitmap = "art//buttonnormal.bmp";
        object.overBitmap = "art//buttonover.bmp";
        object.downBitmap = "art//buttondown.bmp";
        object.listBackground = "art//listback.bmp";
        object.caption = "Start";
        const int index = AddExisting(object);
        const std::string name =
            kind == ObjectKind::Button ? "objectdialog-button.bmp" : "objectdialog-listbox.bmp";
        const std::string shot = folder / name;
        EXPECT_EQ(
            Open(kind, index,
                 {[this](CTavScreen*) { display->MouseMove(5, 5), display->Wait(3); }, Shot(shot), Click(2)}),
            0);
        test::ExpectLikeReference(shot, kReferences, name);
    }
}

} // namespace
} // namespace tav::testing
