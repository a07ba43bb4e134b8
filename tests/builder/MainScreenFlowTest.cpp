// Whole designer sessions: made, edited, saved and opened again; leaving with unsaved work; the
// palette; generation from the menu.
#include "builder/DestinationDialog.h"
#include "builder/OpenProjectDialog.h"
#include "builder/ProjectDialog.h"
#include "builder/SaveAsDialog.h"
#include "builder/ScreenDialog.h"
#include "tavgen/Tavgen.h"
#include "tests/builder/MainScreenDriver.h"

#include <map>
#include <sstream>

namespace tav::testing {
namespace {

namespace fs = std::filesystem;
using builder::BuilderApp;
using builder::OpenProjectDialog;
using builder::SaveAsDialog;

constexpr DWORD kFrameEdit = 14, kAddFrame = 16;

const std::string kSaveCurrent = "Do you wish to save your current project?";
const std::string kWouldSave = "Would you like to save your current project?";
const std::string kSaveOnExit = "Do you wish to save your project?";
const std::string kStartup = "Would you like to create a startup screen?";
const std::string kExit = "Are you sure you want to exit?";
const std::string kComplete = "Code generation complete.\nSee the documenation on how to use TavCtrls class "
                              "libraries to add more functionality to your program.";
const std::string kCopyQuestion =
    "Do you want to move copy bitmaps into art folder in your project and make their path relative?";

class MainScreenFlowTest : public MainScreenTest {
protected:
    Step SaveAs(const std::string& name) {
        return [this, name](CTavScreen* popup) {
            ASSERT_EQ(Describe(popup), "SaveAsDialog");
            builder::SetTextOf(popup, SaveAsDialog::NameEdit, name);
            ClickObject(popup, SaveAsDialog::OkButton);
        };
    }
    // Selects the row with `text` in the list `listId` of the dialog that waits, then clicks `ok`.
    Step PickRow(DWORD listId, const std::string& text, DWORD ok) {
        return [this, listId, text, ok](CTavScreen* popup) {
            auto* list = dynamic_cast<CTavListBox*>(popup->GetObjectByID(listId));
            ASSERT_NE(list, nullptr) << Describe(popup);
            for (int row = 0; row < list->GetRowCount(); ++row)
                if (list->GetItemText(row) == text)
                    list->SetSelection(row);
            ClickObject(popup, ok);
        };
    }
    Step OpenFile(const std::string& name) {
        return PickRow(OpenProjectDialog::FileList, name, OpenProjectDialog::OkButton);
    }
    void LoadModifiedDemo() {
        LoadDemo();
        main->GetProject()->modified = 1;
    }
    std::string SavePath(const std::string& name) const { return folder / ("save/" + name); }
};

TEST_F(MainScreenFlowTest, NewAsksToSaveOnlyAModifiedProject) {
    LoadModifiedDemo();
    ClickItem("MyScreen");
    Menu("FILE", "New",
         {Question(kSaveCurrent, false), Click(builder::ProjectDialog::OkButton), Question(kStartup, false)});
    ASSERT_NE(main->GetProject(), nullptr);
    EXPECT_EQ(main->GetProject()->modified, 1);
    EXPECT_EQ(TreeTexts(), std::vector<std::string>{"MyProject"});
    EXPECT_TRUE(ViewControls(View()).empty()) << "New empties the view";
    EXPECT_EQ(main->CurrentScreenName(), "");
    // A new project counts as unsaved work; a cancelled New still asks for a startup screen.
    Menu("FILE", "New",
         {Question(kSaveCurrent, false), Dismiss("ProjectDialog"), Question(kStartup, true),
          Message("There is no project loaded")});
    EXPECT_EQ(main->GetProject(), nullptr);
    EXPECT_EQ(TreeTexts(), std::vector<std::string>{"No Project Loaded"});
}

// Each kind through the OBJECT menu, edited, one deleted, saved, opened again and saved again: the two
// files are the same bytes.
TEST_F(MainScreenFlowTest, MadeEditedSavedOpenedAndSavedAgainGivesTheSameFile) {
    Menu("FILE", "New",
         {Type(builder::ProjectDialog::NameEdit, "Trip"), Click(builder::ProjectDialog::OkButton),
          Question(kStartup, true), Click(builder::ScreenDialog::OkButton)});
    ASSERT_NE(main->GetProject(), nullptr);
    ASSERT_EQ(main->GetProject()->ScreenCount(), 1);
    const std::string screen = main->GetProject()->Screen(0).name;
    EXPECT_EQ(main->CurrentScreenName(), screen) << "the new screen is selected and shown";
    EXPECT_EQ(main->SelectedScreenName(), screen);
    for (const char* item : {"Add Object", "Add Button", "Add Static", "Add CheckBox", "Add Edit Box",
                             "Add List Box", "Add Tree Control", "Add Animation"}) {
        SCOPED_TRACE(item);
        std::vector<Step> steps{Click(kObjectOk)};
        if (std::string(item) == "Add Animation")
            steps.insert(steps.begin(), {Type(kFrameEdit, "art//spin1.bmp"), Click(kAddFrame)});
        Menu("OBJECT", item, steps);
        const ObjectDef& added = *main->GetProject()->objects.back();
        EXPECT_EQ(main->SelectedObjectName(), added.name) << "the new object is selected";
        ASSERT_NE(ControlOf(added), nullptr) << "its control is shown";
        EXPECT_TRUE(ControlOf(added)->HasFocus());
    }
    ASSERT_EQ(main->GetProject()->ObjectCount(), 8);
    // The selected object (the animation) edited; the button deleted.
    Menu("OBJECT", "Properties", {Type(kObjectName, "Spinner"), Click(kObjectOk)});
    EXPECT_EQ(main->SelectedObjectName(), "Spinner");
    EXPECT_EQ(main->GetProject()->Object(7).name, "Spinner");
    const std::string button = main->GetProject()->Object(1).name;
    ClickItem(button, screen);
    Menu("OBJECT", "Delete Object", {Question("Are you sure you want to delete " + button, true)});
    EXPECT_EQ(main->GetProject()->ObjectCount(), 7);
    EXPECT_EQ(FindItem(button, screen), -1);
    EXPECT_EQ(ViewControls(View()).size(), 7u) << "the view was rebuilt without it";
    Menu("FILE", "Save", {SaveAs("first")});
    ASSERT_TRUE(fs::is_regular_file(SavePath("first.tvp")));
    EXPECT_EQ(main->GetProject()->modified, 0);
    Menu("FILE", "Open", {OpenFile("first.tvp")});
    ASSERT_EQ(main->GetProject()->name, "Trip");
    // Save asks for the name even for a project that came from a file.
    Menu("FILE", "Save", {SaveAs("second")});
    EXPECT_EQ(test::ReadFile(SavePath("second.tvp")), test::ReadFile(SavePath("first.tvp")));
}

TEST_F(MainScreenFlowTest, OpenEmptiesTheViewAndReportsAnUnreadableFile) {
    LoadDemo();
    ClickItem("MyScreen");
    ASSERT_FALSE(ViewControls(View()).empty());
    fs::create_directory(folder / "save");
    test::WriteFile(SavePath("broken.tvp"), "not a project\r\n");
    Menu("FILE", "Open", {OpenFile("broken.tvp"), Message("Error Opening project file")});
    EXPECT_EQ(main->GetProject(), nullptr);
    EXPECT_TRUE(ViewControls(View()).empty()) << "nothing of the old project is left in the view";
    EXPECT_EQ(View()->GetBackground(), nullptr);
    EXPECT_EQ(TreeTexts(), std::vector<std::string>{"No Project Loaded"});
}

// Yes to the save question, then no save: the command stops and the project stays.
TEST_F(MainScreenFlowTest, AWantedSaveThatDidNotHappenKeepsTheProject) {
    fs::create_directories(folder / "save/taken.tvp"); // a folder where the file would go
    const std::pair<std::string, std::string> commands[] = {
        {"New", kSaveCurrent}, {"Open", kWouldSave}, {"Exit", kSaveOnExit}};
    for (const auto& [item, question] : commands) {
        for (bool cancel : {true, false}) {
            SCOPED_TRACE(item + (cancel ? " cancelled" : " failed"));
            LoadModifiedDemo();
            const Project* project = main->GetProject();
            std::vector<Step> steps = {Question(question, true)};
            if (item == "Exit") // asked first whether to exit at all
                steps.insert(steps.begin(), Question(kExit, true));
            if (cancel)
                steps.push_back(Dismiss("SaveAsDialog"));
            else
                steps.insert(steps.end(), {SaveAs("taken"), Message("Error saving to file")});
            Menu("FILE", item, steps);
            ASSERT_EQ(ended, -1) << "the designer ended";
            EXPECT_EQ(main->GetProject(), project);
            EXPECT_EQ(main->GetProject()->modified, 1);
            EXPECT_NE(FindItem("Button1", "MyScreen"), -1);
        }
    }
}

// Saved before New and before the end when the user says so.
TEST_F(MainScreenFlowTest, SavedWhenTheUserSaysSo) {
    LoadModifiedDemo();
    Menu("FILE", "New",
         {Question(kSaveCurrent, true), SaveAs("kept"), Dismiss("ProjectDialog"), Question(kStartup, false)});
    Project reread;
    ASSERT_TRUE(reread.ReadProjectFile(SavePath("kept.tvp")));
    test::ExpectSameStoredProject(*DemoProject(), reread);

    LoadModifiedDemo();
    Menu("FILE", "Exit", {Question(kExit, true), Question(kSaveOnExit, true), SaveAs("last")});
    EXPECT_EQ(ended, 0) << "the shutdown ended the process";
    EXPECT_TRUE(fs::is_regular_file(SavePath("last.tvp")));
}

// A cancelled save keeps the window; No closes it without saving.
TEST_F(MainScreenFlowTest, ClosingTheWindowOffersToSaveUnsavedWork) {
    LoadModifiedDemo();
    display->CloseWindow();
    Run({Question(kSaveOnExit, true), Dismiss("SaveAsDialog")});
    ASSERT_EQ(ended, -1);
    EXPECT_NE(main->GetProject(), nullptr);
    display->CloseWindow();
    Run({Question(kSaveOnExit, false)});
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(fs::exists(folder / "save"));
}

TEST_F(MainScreenFlowTest, DeleteScreenBySelection) {
    const auto deleteScreen = [this] {
        Menu("SCREEN", "Delete Screen", {Question("Are you sure you want to delete this screen?", true)});
    };
    LoadDemo();
    ClickItem("Popup1");
    deleteScreen();
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"Demo", "MyScreen", "Button1", "Static1"}));
    // An object item stands for its screen; the screen goes with its objects.
    ClickItem("Button1");
    deleteScreen();
    EXPECT_EQ(main->GetProject()->ObjectCount(), 0);
    EXPECT_EQ(main->CurrentScreenName(), "");
    EXPECT_TRUE(ViewControls(View()).empty());
    EXPECT_EQ(TreeTexts(), std::vector<std::string>{"Demo"});
    Menu("SCREEN", "List", {Message("There are no screens in the project")});
}

TEST_F(MainScreenFlowTest, ScreenPropertiesAndListSelectTheScreen) {
    LoadDemo();
    ClickItem("Static2", "Popup1");
    Menu("SCREEN", "Properties",
         {Type(builder::ScreenDialog::WidthEdit, "320"), Click(builder::ScreenDialog::OkButton)});
    EXPECT_EQ(main->GetProject()->Screen(1).width, 320);
    EXPECT_EQ(SelectedText(), "Popup1");
    EXPECT_EQ(View()->GetWidth(), 320) << "the view shows the changed screen";

    Menu("SCREEN", "List", {PickRow(0, "MyScreen", 1)});
    EXPECT_EQ(main->SelectedScreenName(), "MyScreen");
    EXPECT_EQ(main->CurrentScreenName(), "MyScreen");
}

TEST_F(MainScreenFlowTest, PaletteDragPlacesANewObjectWhereItIsDropped) {
    // Without a project a press on the palette starts nothing.
    CTavObject* buttonIcon = main->GetObjectByID(4);
    display->LButtonDown(300, 510);
    Drive(1);
    EXPECT_EQ(app.DragState, BuilderApp::NoDrag);
    display->LButtonUp(300, 510);
    LoadDemo();
    ClickItem("MyScreen");
    display->LButtonDown(300, 510);
    Drive(1);
    EXPECT_EQ(app.DragState, BuilderApp::PlacingObject);
    ASSERT_NE(app.DragImage(), nullptr);
    EXPECT_EQ(RectOf(app.DragImage()), RectOf(buttonIcon));
    // The image follows the mouse; dropped outside the view, nothing is made and the drag ends.
    display->MouseMove(100, 300);
    Drive(1);
    EXPECT_EQ(RectOf(app.DragImage()), (Rect{100, 300, 40, 40}));
    display->LButtonUp(100, 300);
    Drive(1);
    EXPECT_EQ(app.DragState, BuilderApp::NoDrag);
    EXPECT_EQ(app.DragImage(), nullptr);
    EXPECT_EQ(main->GetProject()->ObjectCount(), 3);
    // Dropped on the view: the dialog opens with the drop position.
    Drag(Middle(buttonIcon), InView(40, 60), {AnswerObjectDialog("0 -1 40,60", kObjectCancel)});
    EXPECT_EQ(app.DragImage(), nullptr);
    EXPECT_EQ(main->GetProject()->ObjectCount(), 3);
    Drag(Middle(main->GetObjectByID(3)), InView(120, 70), {AnswerObjectDialog("7 -1 120,70", kObjectOk)});
    ASSERT_EQ(main->GetProject()->ObjectCount(), 4);
    const ObjectDef& added = main->GetProject()->Object(3);
    EXPECT_EQ((Point{added.x, added.y}), (Point{120, 70}));
    ASSERT_NE(ControlOf(added), nullptr);
    EXPECT_TRUE(ControlOf(added)->HasFocus());
    ExpectArrows(ControlOf(added));
    EXPECT_EQ(SelectedText(), added.name);
}

TEST_F(MainScreenFlowTest, TheDragImageIsFreedOnce) {
    LoadDemo();
    CTavObject* icon = main->GetObjectByID(3);
    app.StartDrag(BuilderApp::PlacingObject, icon, 1, 2);
    ASSERT_NE(app.DragImage(), nullptr);
    EXPECT_EQ(app.draggedObjectId, 3);
    // A new drag replaces the image; ending twice frees nothing twice (the sanitizer build checks).
    app.StartDrag(BuilderApp::PlacingObject, icon, 3, 4);
    app.EndDrag();
    EXPECT_EQ(app.DragImage(), nullptr);
    app.EndDrag();
    app.AfterLMouseUp(0, 0);
    EXPECT_EQ(app.DragState, BuilderApp::NoDrag);
    // A drag left over when the application goes is freed with it.
    app.StartDrag(BuilderApp::PlacingObject, icon, 5, 6);
}

// The files written through the menu and its dialogs are those of tavgen for the same answers.
TEST_F(MainScreenFlowTest, GenerationFromTheMenuWritesWhatTavgenWrites) {
    LoadDemo();
    const auto generate = [this](const char* item, const std::string& out, const std::string& done) {
        fs::create_directory(out);
        Menu("GENERATE CODE", item,
             {Type(builder::DestinationDialog::kFolderEdit, out),
              Click(builder::DestinationDialog::kOkButton), Question(kCopyQuestion, false), Message(done)});
    };
    const auto files = [](const fs::path& dir) {
        std::map<std::string, std::string> read;
        for (const auto& entry : fs::directory_iterator(dir))
            read[entry.path().filename().string()] = test::ReadFile(entry.path().string());
        return read;
    };
    // Both write to a folder of the same name, so that nothing differs by it.
    const std::string out = folder / "out";
    generate("Entire Project", out, kComplete);
    fs::rename(out, folder / "designer");
    const std::string tvp = folder / "demo.tvp";
    ASSERT_TRUE(DemoProject()->WriteProjectFile(tvp));
    std::ostringstream stdOut, stdErr;
    fs::create_directory(out);
    ASSERT_EQ(RunTavgen({"generate", tvp, out, "--cmake"}, stdOut, stdErr), 0) << stdErr.str();
    const auto designer = files(folder / "designer");
    EXPECT_EQ(designer.count("MyScreen.cpp"), 1u);
    EXPECT_EQ(designer, files(out));

    ClickItem("Static2", "Popup1");
    generate("This Screen Only", folder / "one", "Code generation complete");
    std::vector<std::string> names;
    for (const auto& [name, text] : files(folder / "one"))
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"Popup1.cpp", "Popup1.h"}));
}

} // namespace
} // namespace tav::testing
