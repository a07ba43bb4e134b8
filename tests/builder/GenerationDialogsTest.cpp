// The overwrite question, the destination dialog, and a project generated through them.
#include "DialogDriver.h"

#include "builder/DestinationDialog.h"
#include "builder/DialogGenerationUi.h"
#include "builder/FileChooser.h"
#include "builder/OverwriteBox.h"
#include "builder/ScreenListDialog.h"
#include "codegen/GenerateCommands.h"
#include "model/Project.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

namespace fs = std::filesystem;
using builder::DestinationDialog;
using builder::OverwriteBox;

const std::string kCreate = "Directory does not exist. Do you wish to create it?";
const std::string kOverwrite = "/home/user/out/Start.cpp already exists. Do you want to overwrite it?";

class GenerationDialogsTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ui = std::make_unique<builder::DialogGenerationUi>(main);
    }

    test::TempDir temp;
    std::unique_ptr<builder::DialogGenerationUi> ui;
};

// The answer is the id of the pressed button; a click on the message text is none.
TEST_F(GenerationDialogsTest, OverwriteBoxGivesTheIdOfThePressedButton) {
    for (DWORD button : {kAnswerAlways, kAnswerYes, kAnswerNo, kAnswerNever}) {
        // Later boxes open under the mouse that pressed the last one's button, which then looks hovered.
        Script({Layout("overwrite-box"), pause,
                button == kAnswerAlways ? LooksLike("overwrite-box.bmp") : pause,
                Click(OverwriteBox::kMessageText), Click(button)});
        EXPECT_EQ(OverwriteBox::Ask(main, kOverwrite), static_cast<int>(button));
        EXPECT_EQ(main->GetChildScreen(), nullptr) << "the box is removed";
    }
}

// Cancel gives nothing, whatever was typed.
TEST_F(GenerationDialogsTest, DestinationDialogLayoutAndPlaces) {
    for (const bool project : {true, false}) {
        Script({Layout(project ? "destination-project" : "destination-screen"), Type("/home/user/out"), pause,
                project ? LooksLike("destination-dialog.bmp") : pause,
                Click(DestinationDialog::kCancelButton)});
        EXPECT_EQ(ui->ChooseDestination(project ? DestinationRequest::EntireProject
                                                : DestinationRequest::ThisScreen),
                  std::nullopt);
    }
}

TEST_F(GenerationDialogsTest, DestinationDialogAcceptsOnlyAnExistingOrCreatedFolder) {
    const std::string fresh = temp / "fresh";
    const Step ok = Click(DestinationDialog::kOkButton);

    // Empty: told and kept open; an existing folder is taken as typed.
    Script({ok, AnswerBox("You have to specify a directory"), Type(temp.path()), ok});
    EXPECT_EQ(DestinationDialog::Ask(main), temp.path());

    // A missing folder not to be created keeps the dialog open; then cancelled.
    Script({Type(fresh), ok, AnswerBox(kCreate, 1), Click(DestinationDialog::kCancelButton)});
    EXPECT_EQ(DestinationDialog::Ask(main), std::nullopt);
    EXPECT_FALSE(fs::exists(fresh));

    // Only the last part of a path is created; a folder whose parent is missing fails and stays open.
    Script({Type(temp / "missing/child"), ok, AnswerBox(kCreate, 0), AnswerBox("Error creating directory"),
            Set(DestinationDialog::kFolderEdit, ""), Type(fresh), ok, AnswerBox(kCreate, 0)});
    EXPECT_EQ(DestinationDialog::Ask(main), fresh);
    EXPECT_TRUE(fs::is_directory(fresh));
    EXPECT_FALSE(fs::exists(temp / "missing"));
}

// A cancelled browse changes nothing; a chosen folder goes into the field and the dialog stays open.
TEST_F(GenerationDialogsTest, BrowsePutsTheChosenFolderIntoTheField) {
    fs::create_directory(temp / "sub");
    Script({Type(temp / "sub"), Click(DestinationDialog::kBrowseButton),
            Click(builder::FileChooser::ID_CANCEL), ExpectText(DestinationDialog::kFolderEdit, temp / "sub"),
            Click(DestinationDialog::kBrowseButton), Click(builder::FileChooser::ID_OK),
            ExpectText(DestinationDialog::kFolderEdit, temp / "sub"), Click(DestinationDialog::kOkButton)});
    EXPECT_EQ(DestinationDialog::Ask(main), temp / "sub");
}

// The keep-code box follows the folder (ticked where code was generated) until the user sets it.
TEST_F(GenerationDialogsTest, KeepCodeFollowsTheFolderUntilSet) {
    test::WriteFile(temp / "main.cpp", "");
    const auto keep = [](BOOL on) {
        return [on](CTavScreen* dialog) {
            EXPECT_EQ(builder::ValueOf(dialog, DestinationDialog::kKeepCheck), on);
        };
    };
    const Step ok = Click(DestinationDialog::kOkButton),
               folder = Set(DestinationDialog::kFolderEdit, temp.path());
    Script({folder, pause, keep(TRUE), Type("/art"), pause, keep(FALSE), folder, pause, keep(TRUE), ok});
    EXPECT_EQ(ui->ChooseDestination(DestinationRequest::ThisScreen), temp.path());
    EXPECT_TRUE(ui->Handling().keepUserCode);
    Script({folder, pause, Click(DestinationDialog::kKeepCheck), Set(DestinationDialog::kFolderEdit, "/"),
            pause, folder, pause, keep(FALSE), ok});
    EXPECT_FALSE(ui->ChooseDestination(DestinationRequest::EntireProject) && ui->Handling().keepUserCode);
}

// Its questions and messages are answered in the generation runs.
TEST_F(GenerationDialogsTest, AdapterWarnsAndAsksToOverwriteWithBoxes) {
    Script({AnswerBox("Bitmap skipped"), Click(kAnswerNever)});
    ui->Warn("Bitmap skipped");
    EXPECT_EQ(ui->AskOverwrite(kOverwrite), kAnswerNever);
}

// Generated through the dialogs, with a startup screen picked among the full screens.
TEST_F(GenerationDialogsTest, StartupScreenIsPickedAmongTheFullScreens) {
    Project project;
    project.name = "Demo";
    project.AddScreen(test::MakeScreen("Start"));
    project.AddScreen(test::MakeScreen("Popup", ScreenType::Popup));
    project.AddScreen(test::MakeScreen("Second"));
    project.AddObject(test::MakeObject(ObjectKind::Button, "Start", "Go"));
    project.modified = 0;
    Script(
        {Type(temp.path()), Click(DestinationDialog::kOkButton),
         AnswerBox("Do you want to move copy bitmaps into art folder in your project and make their path "
                   "relative?",
                   1),
         AnswerBox("You haven't selected a startup screen. Do you want to select one?", 0),
         Layout("startup-screen-list"), Row(builder::ScreenListDialog::ScreenList, 1),
         Click(builder::ScreenListDialog::SelectButton),
         AnswerBox("Code generation complete.\nSee the documenation on how to use TavCtrls class libraries "
                   "to add more functionality to your program.")});
    EXPECT_EQ(GenerateEntireProject(&project, *ui), GenerationOutcome::Completed);
    EXPECT_EQ(main->GetChildScreen(), nullptr) << "every dialog is gone";
    EXPECT_EQ(project.Screen(2).startup, 1);
    EXPECT_EQ(project.Screen(0).startup, 0);
    EXPECT_EQ(project.modified, 1);
    EXPECT_NE(test::ReadFile(temp / "main.cpp").find("Second"), std::string::npos);
}

} // namespace
} // namespace tav::testing
