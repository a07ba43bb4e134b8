// The EDIT menu and the undo history of the main screen's commands: every kind of step undone and redone
// to the byte, the clipboard between screens, shortcuts, the saved state.
#include "builder/ProjectDialog.h"
#include "builder/SaveAsDialog.h"
#include "builder/ScreenDialog.h"
#include "tavctrls/platform/Messages.h"
#include "tests/builder/MainScreenDriver.h"

#include <tuple>

namespace tav::testing {
namespace {

const std::string kDelete = "Are you sure you want to delete ";
const std::string kDeleteScreen = "Are you sure you want to delete this screen?";

class EditCommandsTest : public MainScreenTest {
protected:
    std::string Text() const { return TextWithoutViewIds(*main->GetProject()); }
    std::string UndoText() const { return main->EditMenuText("Undo"); }
};

// The undo step's name; a tree item clicked (Button1 is MyScreen's); objects then selected in the view; a
// menu and its items run in turn, the last one answered by the steps.
using Strings = std::vector<std::string>;
using Row = std::tuple<std::string, std::string, Strings, std::string, Strings, std::vector<Step>>;

TEST_F(EditCommandsTest, EveryKindOfStepUndoesAndRedoesToTheByte) {
    const std::vector<std::string> both = {"Static1", "Button1"};
    using builder::ScreenDialog;
    const Step okScreen = Click(ScreenDialog::OkButton), okProject = Click(builder::ProjectDialog::OkButton);
    // clang-format off
    const std::vector<Row> rows = {
        {"Delete 2 Objects", "MyScreen", both, "EDIT", {"Delete"}, {Question("Delete 2 objects?", true)}},
        {"Delete Button1", "MyScreen", {"Button1"}, "EDIT", {"Delete"}, {Question(kDelete + "Button1", true)}},
        {"Cut Static1", "MyScreen", {"Static1"}, "EDIT", {"Cut"}, {}},
        {"Paste 2 Objects", "MyScreen", both, "EDIT", {"Copy", "Paste"}, {}},
        {"Duplicate MyStatic", "MyScreen", {"Static1"}, "EDIT", {"Duplicate"}, {}},
        {"Align Right", "MyScreen", both, "EDIT", {"Align Right"}, {}},
        {"Distribute Vertically", "MyScreen", {"Button1"}, "EDIT", {"Duplicate", "Select All", "Distribute Vertically"}, {}},
        {"Bring to Front", "MyScreen", {"Button1"}, "EDIT", {"Bring to Front"}, {}},
        {"Send to Back", "MyScreen", {"Static1"}, "EDIT", {"Send to Back"}, {}},
        {"Add MyStatic", "MyScreen", {}, "OBJECT", {"Add Static"}, {AnswerObjectDialog("1 -1 250,200", kObjectOk)}},
        {"Properties of Knob", "Button1", {}, "OBJECT", {"Properties"}, {Type(kObjectName, "Knob"), Click(kObjectOk)}},
        {"Properties of Main", "MyScreen", {}, "SCREEN", {"Properties"}, {Type(ScreenDialog::NameEdit, "Main"), okScreen}},
        {"Delete Popup1", "Popup1", {}, "SCREEN", {"Delete Screen"}, {Question(kDeleteScreen, true)}},
        {"Add Third", "Demo", {}, "SCREEN", {"Add Screen"}, {Type(ScreenDialog::NameEdit, "Third"), okScreen}},
        {"Project Properties", "Demo", {}, "PROJECT", {"Properties"}, {Type(builder::ProjectDialog::NameEdit, "X"), okProject}},
    };
    // clang-format on
    for (const auto& [step, treeItem, chosen, title, items, steps] : rows) {
        SCOPED_TRACE(step);
        LoadDemo();
        const std::string start = Text();
        ClickItem(treeItem, treeItem == "Button1" ? "MyScreen" : "");
        View()->SetSelection(chosen);
        for (const std::string& item : items)
            Menu(title, item, item == items.back() ? steps : std::vector<Step>());
        const std::string end = Text();
        EXPECT_NE(end, start);
        EXPECT_EQ(UndoText().substr(0, step.size() + 6), "Undo " + step + " ");
        EXPECT_EQ(main->GetProject()->modified, 1);
        while (main->Edits().CanUndo())
            Menu("EDIT", "Undo");
        EXPECT_EQ(Text(), start);
        EXPECT_EQ(main->GetProject()->modified, 0) << "back at the state it was opened in";
        EXPECT_EQ(UndoText().find_first_not_of(' ', 4), UndoText().find("Ctrl+Z")) << "plain Undo";
        while (main->Edits().CanRedo())
            main->OnRedo();
        EXPECT_EQ(Text(), end);
    }
}

TEST_F(EditCommandsTest, PasteGoesAcrossScreensWithFreeNamesRefusesGarbageAndUndoesToTheSavedState) {
    LoadDemo();
    ClickItem("MyScreen");
    View()->SetSelection({"Static1", "Button1"});
    display->KeyDown('C', platform::mod::kControl);
    Drive(1);
    ClickItem("Popup1");
    display->KeyDown('V', platform::mod::kControl);
    Drive(1);
    EXPECT_EQ(View()->Selection(), (Strings{"Static1", "Button1"}));
    main->OnPaste(); // the names are taken now
    const Strings texts = {"Demo",    "MyScreen", "Button1", "Static1",  "Popup1",
                           "Static2", "Static1",  "Button1", "MyStatic", "MyButton"};
    EXPECT_EQ(TreeTexts(), texts);
    display->KeyDown('Z', platform::mod::kControl);
    Drive(1);
    EXPECT_EQ(TreeTexts().size(), 8u);
    display->KeyDown('Z', platform::mod::kControl | platform::mod::kShift);
    Drive(1);
    EXPECT_EQ(TreeTexts(), texts) << "undone and redone";
    const std::string before = Text();
    for (const char* garbage : {"", "Button1\r\n", "not objects at all"}) {
        TavSetClipboardText(garbage);
        Menu("EDIT", "Paste", {Message("The clipboard holds no objects to paste")});
    }
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(main->Edits().StepCount(), 2u);
    Menu("FILE", "Save", {Type(builder::FileChooser::ID_NAME, "kept"), Click(builder::FileChooser::ID_OK)});
    main->OnUndo();
    EXPECT_EQ(main->GetProject()->modified, 1);
    main->OnRedo();
    EXPECT_EQ(main->GetProject()->modified, 0) << "back at the saved state";
}

} // namespace
} // namespace tav::testing
