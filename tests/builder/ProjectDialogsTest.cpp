// The project, open, save-as, screen-list and screen dialogs: their rules, outputs and model changes.
#include "DialogDriver.h"

#include "builder/OpenProjectDialog.h"
#include "builder/ProjectDialog.h"
#include "builder/SaveAsDialog.h"
#include "builder/ScreenDialog.h"
#include "builder/ScreenListDialog.h"
#include "model/Project.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using builder::OpenProjectDialog;
using FC = builder::FileChooser;
using builder::ProjectDialog;
using builder::SaveAsDialog;
using builder::ScreenDialog;
using builder::ScreenListDialog;
namespace fs = std::filesystem;

class ProjectDialogsTest : public DialogTest {
protected:
    ProjectDialogsTest() {
        appWidth = 600;
        appHeight = 500;
        project.name = "Proj";
        project.AddScreen(test::MakeScreen("Main"));
        project.Screen(0).startup = 1;
        project.AddScreen(test::MakeScreen("Pop", ScreenType::Popup, "Main"));
        project.AddScreen(test::MakeScreen("Side", ScreenType::SubScreen, "Main"));
        project.AddScreen(test::MakeScreen("Odd", static_cast<ScreenType>(7), "Main"));
        project.AddScreen(test::MakeScreen("Menu"));
        project.modified = 0;
    }
    // The check boxes `ids` read as "1" (checked) or "0".
    static Step Checks(std::vector<DWORD> ids, const std::string& values) {
        return [ids, values](CTavScreen* screen) {
            std::string seen;
            for (DWORD id : ids)
                seen += builder::ValueOf(screen, id) ? '1' : '0';
            EXPECT_EQ(seen, values) << "check boxes from " << ids.front();
        };
    }
    // Runs the project dialog; gives its outputs in one line.
    std::string Outcome(ProjectDialog* dialog, std::vector<Step> steps) {
        std::ostringstream out;
        Run<ProjectDialog>(dialog, std::move(steps), [&](ProjectDialog& d) {
            out << d.confirmed << " " << d.name << " " << d.x << "," << d.y << " " << d.width << "x"
                << d.height << " " << d.bitsPerPixel
                << (d.appMode == AppMode::FullScreen ? " full " : " window ") << d.showFrameRate
                << d.waitVerticalBlank;
        });
        return out.str();
    }
    // Runs a dialog of type T; gives "1 " and its `answer` when confirmed, else "0".
    template <typename T>
    std::string Result(std::vector<Step> steps, T* dialog = new T, std::string T::*answer = &T::resultPath) {
        std::string result;
        Run<T>(dialog, std::move(steps),
               [&](T& done) { result = done.confirmed ? "1 " + done.*answer : "0"; });
        return result;
    }
    static std::string Saved(const std::string& name) {
        return "1 " + (fs::current_path() / "save" / name).string();
    }
    // Runs the screen list over `project`.
    std::string ChooseScreen(std::vector<Step> steps, int filter = 0) {
        auto* dialog = new ScreenListDialog;
        dialog->project = &project;
        dialog->typeFilter = filter;
        return Result(std::move(steps), dialog, &ScreenListDialog::chosenName);
    }
    // Runs the screen dialog for a new screen (or the screen `edited`) of `in`; gives whether it was
    // confirmed.
    int EditScreen(std::vector<Step> steps, int edited = -1, Project* in = nullptr) {
        auto* dialog = new ScreenDialog;
        dialog->project = in != nullptr ? in : &project;
        dialog->editIndex = edited;
        return Run<ScreenDialog>(dialog, std::move(steps));
    }
    // Screen `index` of `in` in one line, then whether the project is marked modified.
    static std::string Brief(const Project& in, int index) {
        const ScreenDef& s = in.Screen(index);
        std::ostringstream out;
        out << s.name << " type " << static_cast<int>(s.type) << " in " << s.parent << " " << s.x << ","
            << s.y << " " << s.width << "x" << s.height << " " << s.background << " mode "
            << static_cast<int>(s.backgroundMode) << " startup " << s.startup << " modified " << in.modified;
        return out.str();
    }
    const std::vector<DWORD> types = {8, 9, 10};
    const std::vector<DWORD> modes = {23, 24, 25};
    // The save folder lies under the current directory; the art is found beside the program.
    test::TempDir folder;
    InFolder here{folder.path()};
    Project project;
};

// Tab and Shift+Tab walk the fields in reading order and wrap; typing replaces what Tab selected; the
// focused field is framed; Return is OK, Escape Cancel; a release that was not pressed inside presses
// nothing.
TEST_F(ProjectDialogsTest, KeyboardWalksTheFieldsAndReturnAndEscapeEndTheDialog) {
    const auto focusOn = [](DWORD id) -> Step {
        return [id](CTavScreen* d) { EXPECT_TRUE(d->GetObjectByID(id)->HasFocus()) << "focus on " << id; };
    };
    const Step strayRelease = [this](CTavScreen* d) {
        const CTavObject* ok = d->GetObjectByID(ProjectDialog::OkButton);
        display->LButtonUp(static_cast<int>(ok->GetAppX()) + 5, static_cast<int>(ok->GetAppY()) + 5);
    };
    const auto shift = [this](bool down) -> Step {
        return [this, down](CTavScreen*) { display->SetShiftDown(down); };
    };
    const Step framed = [this](CTavScreen* d) {
        for (DWORD id : {ProjectDialog::NameEdit, ProjectDialog::XEdit}) {
            const CTavObject* field = d->GetObjectByID(id);
            const int x = static_cast<int>(field->GetAppX()) - 1, y = static_cast<int>(field->GetAppY()) - 1;
            EXPECT_EQ(display->LastFrame().At(x, y) == 0xFFAA28u, id == ProjectDialog::NameEdit) << id;
        }
    };
    bool selected = false;
    std::vector<Step> steps = {strayRelease, pause, focusOn(3)};
    for (DWORD id : {5, 6, 8, 10, 14, 16, 17, 18, 0, 1, 3})
        steps.insert(steps.end(), {Key(VK_TAB), focusOn(id)});
    steps.insert(steps.end(), {shift(true), Key(VK_TAB), shift(false), focusOn(1), Key(VK_TAB), pause, framed,
                               [&](CTavScreen* d) {
                                   selected = dynamic_cast<CTavEdit*>(d->GetObjectByID(3))->HasSelection();
                               },
                               Type("Game"), Key(VK_RETURN)});
    const std::string outcome = Outcome(new ProjectDialog, steps);
    EXPECT_EQ(outcome, (selected ? "1 Game" : "1 MyProjectGame") + std::string(" 0,0 800x600 24 window 00"));
    EXPECT_EQ(Outcome(new ProjectDialog, {Type("X"), Key(VK_ESCAPE)}).substr(0, 2), "0 ");
}

TEST_F(ProjectDialogsTest, ProjectDialogKeepsTheCallersValuesOnOkAndAppliesItsRules) {
    auto* dialog = new ProjectDialog;
    dialog->name = "Game";
    dialog->x = -12;
    dialog->y = 34;
    dialog->width = 640;
    dialog->height = 480;
    dialog->bitsPerPixel = 16;
    dialog->appMode = AppMode::FullScreen;
    dialog->showFrameRate = 1;
    // Clicking a checked "Full Screen" gives a window: position shown, depth hidden. An unchanged OK keeps
    // every value, the negative position included.
    EXPECT_EQ(
        Outcome(dialog, {Layout("project-dialog-fullscreen"), LooksLike("ProjectDialogFullScreen.bmp", true),
                         Click(5), Layout("project-dialog-window"), Click(6),
                         Layout("project-dialog-fullscreen"), Click(0)}),
        "1 Game -12,34 640x480 16 full 10");
    // A new project's rules in order.
    EXPECT_EQ(
        Outcome(new ProjectDialog,
                Breaking(0,
                         {{{Layout("project-dialog-new"), Set(3, ""), Set(14, ""), Set(16, "")},
                           "Please enter a name for you project"},
                          {{Set(3, "MyGame")}, "Please enter height", 16},
                          {{Set(16, "300")}, "Please enter width", 14}},
                         {Set(14, "1234"), Set(8, "77"), Click(17), Click(6), Set(12, "326"), Click(0)})),
        "1 MyGame 77,0 1234x300 326 full 10");
    EXPECT_EQ(Outcome(new ProjectDialog, {Set(3, "Other"), Click(1)}),
              "0 MyProject 0,0 800x600 24 window 00");
}

TEST_F(ProjectDialogsTest, OpenAndSaveAsListTheProjectFilesAndNeedAName) {
    fs::create_directories("save/folder.tvp");
    for (const char* name : {"b.tvp", "a.tvp", "c.txt", "d.tvp.bak", "B.TVP"})
        test::WriteFile(std::string("save/") + name, "x");
    const DWORD files = FC::ID_FILES, ok = FC::ID_OK, cancel = FC::ID_CANCEL, name = FC::ID_NAME;
    // Rows: a.tvp, B.TVP, b.tvp.
    EXPECT_EQ(Result<OpenProjectDialog>({Layout("open-project-dialog"), Click(ok),
                                         AnswerBox("Please select a file first"), Row(files, 2), Click(ok)}),
              Saved("b.tvp"));
    EXPECT_EQ(Result<OpenProjectDialog>({Row(files, 0, true)}), Saved("a.tvp"));
    EXPECT_EQ(Result<OpenProjectDialog>({Row(files, 0), Click(cancel)}), "0");

    // Save as completes the name and asks before overwriting.
    EXPECT_EQ(Result<SaveAsDialog>({Layout("save-as-dialog"), Row(files, 0), ExpectText(name, "a.tvp"),
                                    Set(name, ""), Click(ok), AnswerBox("Please enter a filename first"),
                                    // "b" matches a listed file only once ".tvp" is appended.
                                    Set(name, "b"), Click(ok),
                                    AnswerBox("Are you sure you want to overwrite b.tvp", 1),
                                    ExpectText(name, "b.tvp"), Click(ok),
                                    AnswerBox("Are you sure you want to overwrite b.tvp", 0)}),
              Saved("b.tvp"));
    // A double click takes the row's name and acts as OK.
    EXPECT_EQ(
        Result<SaveAsDialog>({Row(files, 0, true), AnswerBox("Are you sure you want to overwrite a.tvp", 0)}),
        Saved("a.tvp"));
    // Names are compared exactly and only a name longer than ".tvp" keeps its own ending.
    for (auto [typed, completed] : {std::pair{"B.TVP", "B.TVP.tvp"}, std::pair{"new.tvp", "new.tvp"},
                                    std::pair{"tvp", "tvp.tvp"}, std::pair{".tvp", ".tvp"}})
        EXPECT_EQ(Result<SaveAsDialog>({Set(name, typed), Click(ok)}), Saved(completed)) << typed;
    EXPECT_EQ(Result<SaveAsDialog>({Set(name, "x"), Click(cancel)}), "0");
    // A folder is chosen in the lists: a name that would lead out of the shown one is refused.
    for (const char* refused : {"../x", "a/b", "..", "a\\b"})
        EXPECT_EQ(Result<SaveAsDialog>({Set(name, refused), Click(ok), AnswerBox(FC::RefusedName(refused)),
                                        ExpectText(name, refused), Click(cancel)}),
                  "0")
            << refused;
}

TEST_F(ProjectDialogsTest, WithoutASaveFolderTheListsAreEmptyAndSavingMakesIt) {
    EXPECT_EQ(Result<OpenProjectDialog>({Layout("open-project-empty"), Click(FC::ID_OK),
                                         AnswerBox("Please select a file first"), Click(FC::ID_CANCEL)}),
              "0");
    EXPECT_EQ(Result<SaveAsDialog>({Layout("save-as-empty"), Click(FC::ID_CANCEL)}), "0");
    EXPECT_FALSE(fs::exists("save")) << "opening or cancelling makes no folder";

    // Saving makes it; a file in its place is told and keeps the dialog open.
    EXPECT_EQ(Result<SaveAsDialog>({Set(FC::ID_NAME, "first"), Click(FC::ID_OK)}), Saved("first.tvp"));
    EXPECT_TRUE(fs::is_directory("save"));
    EXPECT_TRUE(display->MessagesShown().empty());
    fs::remove("save");
    test::WriteFile("save", "not a folder");
    EXPECT_EQ(Result<SaveAsDialog>(
                  {Set(FC::ID_NAME, "first"), Click(FC::ID_OK),
                   AnswerBox("Could not create the folder " + (fs::current_path() / "save").string()),
                   Click(FC::ID_CANCEL)}),
              "0");
}

TEST_F(ProjectDialogsTest, ScreenListFiltersByTypeAndNeedsASelection) {
    for (int filter = 0; filter <= 3; ++filter)
        EXPECT_EQ(ChooseScreen({Layout("screen-list-filter-" + std::to_string(filter)), Click(2)}, filter),
                  "0");
    EXPECT_EQ(ChooseScreen({Layout("screen-list-dialog"), LooksLike("ScreenListDialog.bmp", true), Click(1),
                            AnswerBox("Select an item from the list first"), Row(0, 2), Click(1)}),
              "1 Side");
    EXPECT_EQ(ChooseScreen({Row(0, 1, true)}), "1 Pop");
    EXPECT_EQ(project.modified, 0);
}

TEST_F(ProjectDialogsTest, NewScreenLayoutAndCheckBoxRules) {
    Project empty;
    EXPECT_EQ(EditScreen({Layout("screen-dialog-new"), LooksLike("ScreenDialogNew.bmp", true),
                          // Unchecking "Full Screen" falls back to a popup with parent, position and size.
                          Click(8), Layout("screen-dialog-new-popup"), Click(10), Checks(types, "001"),
                          Click(10), Checks(types, "100"), Layout("screen-dialog-new"), Click(9), Click(9),
                          Checks(types, "100"),
                          // Unchecking "Center" checks "Stretch", unchecking another checks "Center".
                          Click(23), Checks(modes, "010"), Click(25), Checks(modes, "001"), Click(25),
                          Checks(modes, "100"), Click(24), Set(3, "Title"), Set(21, "art/x.bmp"), Click(0)},
                         -1, &empty),
              1);
    ASSERT_EQ(empty.ScreenCount(), 1);
    EXPECT_EQ(Brief(empty, 0), "Title type 0 in  0,0 100x100 art/x.bmp mode 1 startup 1 modified 1");
}

TEST_F(ProjectDialogsTest, NewScreenRulesInOrderAndParentSelection) {
    project.AddObject(test::MakeObject(ObjectKind::Button, "MyScreen", "Keep"));
    project.Screen(4).startup = 0;
    // The parent comes from the screen list; 700 + 200 passes the project's 800 pixels.
    EXPECT_EQ(EditScreen(Breaking(
                  0,
                  {{{Checks({19}, "0"), Set(3, "Proj")}, "Screen name cannot be the same as project name"},
                   {{Set(3, "")}, "Screen name cannot be blank"},
                   {{Set(3, "Menu")}, "Screen with this name already exists"},
                   {{Set(3, "Second"), Click(19)}, "You cannot have more than one startup screen"},
                   {{Click(19), Click(9)}, "Popup screens and sub screens must have a parent"},
                   {{Set(5, "Nowhere")}, "Invalid parent screen"},
                   {{Click(6), Layout("parent-screen-list"), Row(0, 0), Click(1), ExpectText(5, "Main"),
                     Set(12, "700"), Set(16, "200")},
                    "Screen dimensions can't be greater than parent screen's"}},
                  {Set(12, "600"), Click(0)})),
              1);
    ASSERT_EQ(project.ScreenCount(), 6);
    EXPECT_EQ(Brief(project, 5), "Second type 1 in Main 600,0 200x100  mode 0 startup 0 modified 1");
    EXPECT_EQ(project.Object(0).screenName, "MyScreen") << "a new screen takes no objects";

    EXPECT_EQ(EditScreen({Set(3, "Third"), Click(1)}), 0);
    EXPECT_EQ(project.ScreenCount(), 6);
}

TEST_F(ProjectDialogsTest, EditingAScreenRenamesItsObjectsAndMarksOnlyRealChanges) {
    project.AddObject(test::MakeObject(ObjectKind::Button, "Side", "Go"));
    ScreenDef& side = project.Screen(2);
    side.x = -5;
    side.y = 3;
    side.width = 50;
    side.height = 40;
    side.backgroundMode = BackgroundMode::Tile;
    project.modified = 0;
    const ScreenDef before = side;

    EXPECT_EQ(
        EditScreen({Layout("screen-dialog-edit"), LooksLike("ScreenDialogEdit.bmp", true), Click(0)}, 2), 1);
    EXPECT_EQ(project.Screen(2), before) << "a negative position survives";
    EXPECT_EQ(project.modified, 0);

    EXPECT_EQ(
        EditScreen({Set(3, "Pop"), Click(0), AnswerBox("Screen with this name already exists"), Click(1)}, 2),
        0);
    EXPECT_EQ(project.Screen(2), before);

    EXPECT_EQ(EditScreen({Set(3, "Panel"), Click(0)}, 2), 1);
    EXPECT_EQ(Brief(project, 2), "Panel type 2 in Main -5,3 50x40  mode 2 startup 0 modified 1");
    EXPECT_EQ(project.Object(0).screenName, "Panel");

    // The startup screen itself keeps its flag; a changed size alone marks the project.
    project.modified = 0;
    EXPECT_EQ(EditScreen({Checks({19}, "1"), Click(8), Set(16, "640"), Click(9), Click(0)}, 0), 1);
    EXPECT_EQ(Brief(project, 0), "Main type 0 in  0,0 640x100  mode 0 startup 1 modified 1");

    // Made a popup, the startup screen stops being one, as the project file would have it.
    project.Screen(0).startup = 0;
    project.Screen(4).startup = 1;
    project.Screen(4).parent = "Main";
    EXPECT_EQ(EditScreen({Click(9), Click(0)}, 4), 1);
    EXPECT_EQ(Brief(project, 4), "Menu type 1 in Main 0,0 100x100  mode 0 startup 0 modified 1");
}

} // namespace
} // namespace tav::testing
