// The EDIT menu and the undo history of the main screen's commands: every kind of step undone and redone
// to the byte, the saved state, the clipboard between screens, shortcuts.
#include "builder/ProjectDialog.h"
#include "builder/SaveAsDialog.h"
#include "builder/ScreenDialog.h"
#include "model/ProjectFile.h"
#include "tavctrls/platform/Messages.h"
#include "tests/builder/MainScreenDriver.h"

#include <set>
#include <tuple>

namespace tav::testing {
namespace {

class EditCommandsTest : public MainScreenTest {
protected:
    // The project's file text; view ids left out, as the view rewrites them.
    std::string Text() const {
        Project copy;
        std::string error;
        EXPECT_TRUE(ParseProjectFile(copy, FormatProjectFile(*main->GetProject()), &error)) << error;
        for (auto& object : copy.objects)
            object->designId = 0;
        return FormatProjectFile(copy);
    }
    void Choose(const std::string& screen, std::vector<std::string> objects) {
        ClickItem(screen);
        View()->SetSelection(std::move(objects));
    }
    std::vector<std::string> Names(const std::string& screen) const {
        std::vector<std::string> names;
        for (const auto& object : main->GetProject()->objects)
            if (object->screenName == screen)
                names.push_back(object->name);
        return names;
    }
    std::string UndoText() const { return main->EditMenuText("Undo"); }
};

using Act = std::function<void()>;

TEST_F(EditCommandsTest, EveryKindOfStepUndoesAndRedoesToTheByte) {
    const auto menu = [this](const char* title, const char* item, std::vector<Step> steps = {}) {
        return [=, this] { Menu(title, item, steps); };
    };
    const auto edit = [this](std::vector<std::string> chosen, const char* item,
                             std::vector<Step> steps = {}) {
        return [=, this] {
            Choose("MyScreen", chosen);
            Menu("EDIT", item, steps);
        };
    };
    const std::vector<std::string> both = {"Static1", "Button1"};
    const std::vector<std::tuple<std::string, std::vector<Act>>> rows = {
        {"Delete 2 Objects", {edit(both, "Delete", {Question("Delete 2 objects?", true)})}},
        {"Delete Button1",
         {edit({"Button1"}, "Delete", {Question("Are you sure you want to delete Button1", true)})}},
        {"Cut Static1", {edit({"Static1"}, "Cut")}},
        {"Paste 2 Objects", {edit(both, "Copy"), edit({}, "Paste")}},
        {"Duplicate MyStatic", {edit({"Static1"}, "Duplicate")}},
        {"Align Right", {edit(both, "Align Right")}},
        {"Align Bottom", {edit(both, "Align Bottom")}},
        {"Distribute Vertically",
         {edit({"Button1"}, "Duplicate"), edit({}, "Select All"), menu("EDIT", "Distribute Vertically")}},
        {"Bring to Front", {edit({"Button1"}, "Bring to Front")}},
        {"Send to Back", {edit({"Static1"}, "Send to Back")}},
        {"Add MyStatic",
         {[this] { ClickItem("MyScreen"); },
          menu("OBJECT", "Add Static", {AnswerObjectDialog("1 -1 0,0", kObjectOk)})}},
        {"Properties of Knob",
         {[this] { ClickItem("Button1", "MyScreen"); },
          menu("OBJECT", "Properties", {Type(kObjectName, "Knob"), Click(kObjectOk)})}},
        {"Properties of Main",
         {[this] { ClickItem("MyScreen"); },
          menu("SCREEN", "Properties",
               {Type(builder::ScreenDialog::NameEdit, "Main"), Click(builder::ScreenDialog::OkButton)})}},
        {"Delete Popup1",
         {[this] { ClickItem("Popup1"); },
          menu("SCREEN", "Delete Screen", {Question("Are you sure you want to delete this screen?", true)})}},
        {"Add Third",
         {menu("SCREEN", "Add Screen",
               {Type(builder::ScreenDialog::NameEdit, "Third"), Click(builder::ScreenDialog::OkButton)})}},
        {"Project Properties",
         {menu("PROJECT", "Properties",
               {Type(builder::ProjectDialog::NameEdit, "Other"), Click(builder::ProjectDialog::OkButton)})}},
        {"Move Button1", {[this] {
             ClickItem("MyScreen");
             const CTavObject* button = ControlOf(main->GetProject()->Object(0));
             Drag(Middle(button), {Middle(button)[0] + 30, Middle(button)[1] + 7});
         }}},
    };
    for (const auto& [step, acts] : rows) {
        SCOPED_TRACE(step);
        LoadDemo();
        const std::string start = Text();
        for (const Act& act : acts)
            act();
        const std::string end = Text();
        EXPECT_NE(end, start);
        EXPECT_EQ(UndoText().substr(0, step.size() + 6), "Undo " + step + " ");
        EXPECT_EQ(main->GetProject()->modified, 1);
        while (main->Edits().CanUndo())
            Menu("EDIT", "Undo");
        EXPECT_EQ(Text(), start);
        EXPECT_EQ(main->GetProject()->modified, 0) << "back at the state it was opened in";
        while (main->Edits().CanRedo())
            main->OnRedo();
        EXPECT_EQ(Text(), end);
    }
}

TEST_F(EditCommandsTest, UndoingToTheSavedStateLeavesItUnmodified) {
    LoadDemo();
    Choose("MyScreen", {"Button1"});
    Menu("EDIT", "Align Left", {Message("Select two or more objects to align")});
    EXPECT_FALSE(main->Edits().CanUndo());
    Menu("EDIT", "Duplicate");
    Menu("FILE", "Save", {[this](CTavScreen* popup) {
             builder::SetTextOf(popup, builder::SaveAsDialog::NameEdit, "kept");
             ClickObject(popup, builder::SaveAsDialog::OkButton);
         }});
    EXPECT_EQ(main->GetProject()->modified, 0);
    Menu("EDIT", "Cut");
    main->OnUndo();
    EXPECT_EQ(main->GetProject()->modified, 0);
    main->OnUndo();
    EXPECT_EQ(main->GetProject()->modified, 1) << "before the save";
    EXPECT_EQ(UndoText().find_first_not_of(' ', 4), UndoText().find("Ctrl+Z")) << "plain Undo";
}

TEST_F(EditCommandsTest, PasteGoesAcrossScreensWithFreeNamesAndRefusesGarbage) {
    LoadDemo();
    Choose("MyScreen", {"Static1", "Button1"});
    display->KeyDown('C', platform::mod::kControl);
    Drive(1);
    ClickItem("Popup1");
    display->KeyDown('V', platform::mod::kControl);
    Drive(1);
    EXPECT_EQ(Names("Popup1"), (std::vector<std::string>{"Static2", "Static1", "Button1"}));
    EXPECT_EQ(View()->Selection(), (std::vector<std::string>{"Static1", "Button1"}));
    main->OnPaste(); // the names are taken now
    const std::vector<std::string> names = Names("Popup1");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 5u);
    display->KeyDown('Z', platform::mod::kControl);
    display->KeyDown('Z', platform::mod::kControl | platform::mod::kShift);
    Drive(1);
    EXPECT_EQ(Names("Popup1"), names) << "undone and redone";
    const std::string before = Text();
    for (const char* garbage : {"", "Button1\r\n", "not objects at all"}) {
        TavSetClipboardText(garbage);
        Menu("EDIT", "Paste", {[this](CTavScreen* popup) {
                 EXPECT_EQ(Describe(popup).rfind("message: The clipboard holds no objects to paste", 0), 0u);
                 ClickObject(popup, 0);
             }});
    }
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(main->Edits().StepCount(), 2u);
}

} // namespace
} // namespace tav::testing
