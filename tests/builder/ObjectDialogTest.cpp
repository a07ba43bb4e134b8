// The object dialog of every kind: its fields, rules, frames, the choosers it opens, and its look.
#include "DialogDriver.h"

#include "builder/FileChooser.h"
#include "builder/ObjectDialog.h"
#include "model/Project.h"
#include "tavctrls/TavFonts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using builder::ObjectDialog;

// Every field set to a value of its own, negative numbers included, so that a swapped or dropped
// field shows up.
ObjectDef RichObject(ObjectKind kind) {
    ObjectDef object;
    object.designId = 77;
    object.name = "Thing";
    object.kind = kind;
    object.screenName = "Main";
    object.clickScreen = "Other";
    object.frames = {"f1.bmp", "f2.bmp"};
    int n = 0;
    for (auto text : {&ObjectDef::image, &ObjectDef::caption, &ObjectDef::upBitmap, &ObjectDef::overBitmap,
                      &ObjectDef::downBitmap, &ObjectDef::checkedBitmap, &ObjectDef::uncheckedBitmap,
                      &ObjectDef::listBackground, &ObjectDef::treeBackground, &ObjectDef::fontName,
                      &ObjectDef::columnFontName, &ObjectDef::plusBitmap, &ObjectDef::minusBitmap})
        object.*text = "text " + std::to_string(++n);
    for (auto number :
         {&ObjectDef::x, &ObjectDef::y, &ObjectDef::width, &ObjectDef::height, &ObjectDef::interval,
          &ObjectDef::fontSize, &ObjectDef::columnFontSize, &ObjectDef::columnHeight, &ObjectDef::itemHeight,
          &ObjectDef::tabSpace, &ObjectDef::textOffsetX, &ObjectDef::textOffsetY})
        object.*number = ++n % 3 == 0 ? -n : n;
    for (auto flag : {&ObjectDef::checkValue, &ObjectDef::multiline, &ObjectDef::transparent,
                      &ObjectDef::bold, &ObjectDef::columnBold})
        object.*flag = 1;
    for (auto colour : {&ObjectDef::transparentColor, &ObjectDef::textColor, &ObjectDef::backColor,
                        &ObjectDef::columnTextColor, &ObjectDef::selectedColor, &ObjectDef::lineColor,
                        &ObjectDef::columnBackColor}) {
        object.*colour = {n + 1, -(n + 2), n + 3};
        n += 3;
    }
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
        return Run<ObjectDialog>(dialog, std::move(steps));
    }

    Project project;
};

// Each kind shows every field in its place (the layout files); Cancel stores nothing and OK exactly
// what was shown. A new one holds the kind's defaults: a button is dropped at 40, 60, the others come
// from the menu, at the default position.
TEST_F(ObjectDialogTest, CancelOrOkOnAnUnchangedDialogStoresExactlyItsValues) {
    for (int k = 0; k <= 7; ++k) {
        SCOPED_TRACE(k);
        const auto kind = static_cast<ObjectKind>(k);
        ObjectDef object = RichObject(kind);
        if (kind == ObjectKind::Object)
            object.transparent = 0; // its colour fields hidden
        const int index = AddExisting(object);
        EXPECT_EQ(Open(kind, index, {Set(90, "Changed"), Click(2)}), 0);
        EXPECT_EQ(project.modified, 0);
        EXPECT_EQ(Open(kind, index, {Layout("object-dialog-" + std::to_string(k)), Click(1)}), 1);
        EXPECT_EQ(project.Object(index), object);
        EXPECT_EQ(project.modified, 1);
        project.DeleteObject(index);

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
        EXPECT_EQ(Open(kind, -1, {Click(2)}), 0);
        EXPECT_EQ(Open(kind, -1, steps, dropped ? 40 : -1, dropped ? 60 : -1), 1);
        ASSERT_EQ(project.ObjectCount(), 1);
        EXPECT_EQ(project.Object(0), expected);
        project.DeleteObject(0);
    }
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

// Closing and quitting open no screen; a full screen offers no closing and shows a stored close as quitting.
TEST_F(ObjectDialogTest, CloseAndQuitOpenNoScreenAndAFullScreenQuitsInsteadOfClosing) {
    project.Screen(0).type = ScreenType::Popup;
    const int index = AddExisting(RichObject(ObjectKind::Button));
    EXPECT_EQ(Open(ObjectKind::Button, index, {Click(44), Layout("object-dialog-button-close"), Click(1)}),
              1);
    EXPECT_EQ(std::to_string(project.Object(index).reservedNumber) + project.Object(index).clickScreen, "1");
    project.Screen(0).type = ScreenType::FullScreen;
    EXPECT_EQ(Open(ObjectKind::Button, index, {Layout("object-dialog-button-quit"), Click(1)}), 1);
    EXPECT_EQ(project.Object(index).reservedNumber, 2);
}

// The bitmap chooser starts in the current directory and opens inside the dialog, which it must fit.
TEST_F(ObjectDialogTest, SelectAndBrowseButtonsFillTheFieldsBeforeThem) {
    test::TempDir folder;
    test::WriteFile(folder / "a.bmp", "x");
    InFolder here(folder.path());
    const Step fits = [](CTavScreen* c) {
        const CTavScreen* dialog = c->GetParent();
        EXPECT_NE(dynamic_cast<const ObjectDialog*>(dialog), nullptr);
        EXPECT_TRUE(c->GetX() >= 0 && c->GetY() >= 0 && c->GetX() + c->GetWidth() <= dialog->GetWidth() &&
                    c->GetY() + c->GetHeight() <= dialog->GetHeight());
    };
    const std::string font = TavGetFontFamilies().at(1);
    EXPECT_EQ(
        Open(ObjectKind::Button, -1,
             {Click(24), Row(0, 1), Click(1), Click(42), Row(0, 1), Click(1), Click(13), fits,
              Row(builder::FileChooser::ID_FILES, 0), Click(builder::FileChooser::ID_OK),
              ExpectText(23, font), ExpectText(41, "Other"), ExpectText(12, folder / "a.bmp"), Click(2)}),
        0);
}

TEST(ReadNumber, TakesAnOptionalMinusAndTheLeadingDigits) {
    const char* texts[] = {"-5", "12ab3", "", "-", "x7", "99999999999", "-99999999999"};
    const int numbers[] = {-5, 12, 0, 0, 0, INT32_MAX, INT32_MIN};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(builder::ReadNumber(texts[i]), numbers[i]) << texts[i];
}

TEST_F(ObjectDialogTest, ButtonAndListBoxDialogsLookRight) {
    for (auto [kind, name] : {std::pair{ObjectKind::Button, "objectdialog-button.bmp"},
                              std::pair{ObjectKind::ListBox, "objectdialog-listbox.bmp"}}) {
        // Bitmap paths of the designer's own art would show where the build lies.
        ObjectDef object;
        object.screenName = "Main";
        object.SetKind(kind, project, "Main");
        object.upBitmap = "art//buttonnormal.bmp";
        object.overBitmap = "art//buttonover.bmp";
        object.downBitmap = "art//buttondown.bmp";
        object.listBackground = "art//listback.bmp";
        object.caption = "Start";
        const Step settle = [this](CTavScreen*) { display->MouseMove(5, 5), display->Wait(3); };
        EXPECT_EQ(Open(kind, AddExisting(object), {settle, LooksLike(name), Click(2)}), 0);
    }
}

} // namespace
} // namespace tav::testing
