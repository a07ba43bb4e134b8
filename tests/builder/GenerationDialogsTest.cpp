// The overwrite question, the destination dialog and the generation adapter, driven on the headless
// display: answers by clicks, messages and questions, and a whole project generated through them.
#include "builder/DestinationDialog.h"
#include "builder/DialogGenerationUi.h"
#include "builder/FileChooser.h"
#include "builder/OverwriteBox.h"
#include "builder/ScreenListDialog.h"
#include "codegen/GenerateCommands.h"
#include "model/Project.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"
#include "tests/tavctrls/HeadlessApp.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

namespace fs = std::filesystem;
using builder::DestinationDialog;
using builder::OverwriteBox;

const std::string kReferences = std::string(TAV_SOURCE_DIR) + "/tests/builder/reference";

using Rect = std::array<int, 4>;
Rect RectOf(const CTavScreen* s) {
    return {s->GetX(), s->GetY(), s->GetWidth(), s->GetHeight()};
}
Rect RectOf(const CTavObject* o) {
    return {static_cast<int>(o->GetX()), static_cast<int>(o->GetY()), o->GetWidth(), o->GetHeight()};
}

// The text of a message or question box: its one multi-line static.
std::string BoxText(const CTavScreen* box) {
    for (int i = 0; i < box->GetObjectCount(); ++i)
        if (auto* text = dynamic_cast<const CTavStatic*>(box->GetObjectAt(i));
            text != nullptr && text->IsMultiline())
            return text->GetText();
    return "(no text)";
}

// One thing done to the popup that waits at an idle moment.
using Step = std::function<void(CTavScreen*)>;

class GenerationDialogsTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app, 800, 600), TAVERROR_OK);
        main = new CTavScreen;
        ASSERT_EQ(main->Initialize(1, 0, 0, 800, 600), TAVERROR_OK);
        app.SetChildScreen(main);
    }

    // The innermost popup while its modal loop runs (a closed popup waits for its loop to end).
    CTavScreen* Waiting() const {
        CTavScreen* inner = main->GetInnermostScreen();
        if (inner == main || inner->GetParent() == nullptr || !inner->GetParent()->IsModalRunning())
            return nullptr;
        return inner;
    }
    // While a popup waits, each idle moment runs the next step on it; `done` counts the steps run.
    void Script(std::vector<Step> steps) {
        done = 0;
        display->SetIdleHandler([this, steps](platform::HeadlessDisplay&) {
            if (done < steps.size())
                if (CTavScreen* popup = Waiting())
                    steps[done++](popup);
        });
    }
    void ClickObject(CTavScreen* owner, DWORD id) {
        CTavObject* object = owner->GetObjectByID(id);
        ASSERT_NE(object, nullptr) << "object " << id;
        display->LClick(static_cast<int>(object->GetAppX()) + object->GetWidth() / 2,
                        static_cast<int>(object->GetAppY()) + object->GetHeight() / 2);
    }
    Step Click(DWORD id) {
        return [this, id](CTavScreen* popup) { ClickObject(popup, id); };
    }
    Step Type(const std::string& text) {
        return [this, text](CTavScreen*) { display->Text(text); };
    }
    // A message or question box with this text; `then` answers it (0: OK or Yes, 1: No).
    Step Box(const std::string& text, DWORD answer) {
        return [this, text, answer](CTavScreen* popup) {
            EXPECT_NE(dynamic_cast<CTavMessageBox*>(popup), nullptr) << "expected a box saying " << text;
            EXPECT_EQ(BoxText(popup), text);
            ClickObject(popup, answer);
        };
    }
    template <typename T>
    Step Expect(const char* what) {
        return
            [what](CTavScreen* popup) { EXPECT_NE(dynamic_cast<T*>(popup), nullptr) << "expected " << what; };
    }
    Step Shot(const std::string& path) {
        return [this, path](CTavScreen*) { EXPECT_TRUE(display->SaveLastFrame(path)); };
    }
    Step Pause() {
        return [this](CTavScreen*) { display->Wait(3); };
    }

    CTavApp app;
    CTavScreen* main = nullptr;
    size_t done = 0;
};

TEST_F(GenerationDialogsTest, OverwriteBoxGivesTheIdOfThePressedButton) {
    const struct {
        std::vector<Step> steps;
        int answer;
    } rows[] = {
        {{Click(0)}, kAnswerAlways},
        {{Click(1)}, kAnswerYes},
        {{Click(2)}, kAnswerNo},
        {{Click(3)}, kAnswerNever},
        {{Click(OverwriteBox::kMessageText), Click(3)}, kAnswerNever}, // the text is no answer
    };
    for (const auto& row : rows) {
        Script(row.steps);
        EXPECT_EQ(OverwriteBox::Ask(main, "/x/a.h already exists. Do you want to overwrite it?"), row.answer);
        EXPECT_EQ(done, row.steps.size()) << "the box closed early";
        EXPECT_EQ(main->GetChildScreen(), nullptr) << "the box is removed";
    }
}

TEST_F(GenerationDialogsTest, OverwriteBoxLayout) {
    Script({[&](CTavScreen* popup) {
                auto* box = dynamic_cast<OverwriteBox*>(popup);
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->GetParent(), main);
                EXPECT_EQ(RectOf(box), (Rect{250, 150, 300, 300}));
                const char* captions[] = {"Always", "Yes", "No", "Never"};
                for (DWORD id = 0; id < 4; ++id) {
                    auto* button = dynamic_cast<CTavButton*>(box->GetObjectByID(id));
                    ASSERT_NE(button, nullptr);
                    EXPECT_STREQ(button->GetCaption(), captions[id]);
                    EXPECT_EQ(RectOf(button), (Rect{20 + static_cast<int>(id) * 65, 260, 65, 20}));
                }
                auto* text = dynamic_cast<CTavStatic*>(box->GetObjectByID(4));
                ASSERT_NE(text, nullptr);
                EXPECT_EQ(RectOf(text), (Rect{20, 20, 260, 240}));
                EXPECT_STREQ(text->GetText(), "Message");
                EXPECT_TRUE(text->IsMultiline() && text->IsTranslucent());
                EXPECT_EQ(box->GetBackgroundMode(), TAVBACK_STRETCH);
            },
            Click(1)});
    EXPECT_EQ(OverwriteBox::Ask(main, "Message"), kAnswerYes);
}

TEST_F(GenerationDialogsTest, DestinationDialogLayoutAndPlaces) {
    builder::DialogGenerationUi ui(main);
    const Step layout = [&](CTavScreen* popup) {
        auto* dialog = dynamic_cast<DestinationDialog*>(popup);
        ASSERT_NE(dialog, nullptr);
        const int w = dialog->GetWidth();
        const int h = dialog->GetHeight();
        EXPECT_EQ(RectOf(dialog->GetObjectByID(1)), (Rect{35, 60, 200, 20}));
        EXPECT_EQ(RectOf(dialog->GetObjectByID(2)), (Rect{240, 60, 50, 20}));
        EXPECT_EQ(RectOf(dialog->GetObjectByID(3)), (Rect{w - 70, h - 40, 50, 20}));
        EXPECT_EQ(RectOf(dialog->GetObjectByID(4)), (Rect{w - 130, h - 40, 50, 20}));
        EXPECT_STREQ(static_cast<CTavButton*>(dialog->GetObjectByID(2))->GetCaption(), "Browse");
        EXPECT_STREQ(static_cast<CTavButton*>(dialog->GetObjectByID(3))->GetCaption(), "Cancel");
        EXPECT_STREQ(static_cast<CTavButton*>(dialog->GetObjectByID(4))->GetCaption(), "OK");
        EXPECT_TRUE(dialog->GetObjectByID(1)->HasFocus()) << "typing goes to the folder field";
        EXPECT_EQ(dialog->GetResult(), 0);
    };
    const struct {
        DestinationRequest request;
        Rect place;
    } rows[] = {{DestinationRequest::EntireProject, {150, 125, 350, 200}},
                {DestinationRequest::ThisScreen, {250, 225, 300, 150}}};
    for (const auto& row : rows) {
        Script({layout, [&](CTavScreen* popup) { EXPECT_EQ(RectOf(popup), row.place); }, Type("somewhere"),
                Click(DestinationDialog::kCancelButton)});
        EXPECT_EQ(ui.ChooseDestination(row.request), std::nullopt)
            << "Cancel gives nothing, whatever was typed";
        EXPECT_EQ(done, 4u);
    }
}

TEST_F(GenerationDialogsTest, DestinationDialogAcceptsOnlyAnExistingOrCreatedFolder) {
    test::TempDir temp;
    const std::string fresh = temp / "fresh";
    const std::string orphan = temp / "missing/child";
    const Step ok = Click(DestinationDialog::kOkButton);
    const Step clear = [](CTavScreen* popup) {
        static_cast<CTavEdit*>(popup->GetObjectByID(1))->SetText("");
    };

    // Empty: told and kept open; an existing folder is taken as typed.
    Script({ok, Box("You have to specify a directory", 0), Type(temp.path()), ok});
    EXPECT_EQ(DestinationDialog::Ask(main, 150, 125, 350, 200), temp.path());
    EXPECT_EQ(done, 4u);

    // A missing folder not to be created keeps the dialog open; then cancelled.
    Script({Type(fresh), ok, Box("Directory does not exist. Do you wish to create it?", 1),
            Expect<DestinationDialog>("the dialog still open"), Click(DestinationDialog::kCancelButton)});
    EXPECT_EQ(DestinationDialog::Ask(main, 150, 125, 350, 200), std::nullopt);
    EXPECT_EQ(done, 5u);
    EXPECT_FALSE(fs::exists(fresh));

    // Only the last part of a path is created; a folder whose parent is missing fails and stays open.
    Script({Type(orphan), ok, Box("Directory does not exist. Do you wish to create it?", 0),
            Box("Error creating directory", 0), clear, Type(fresh), ok,
            Box("Directory does not exist. Do you wish to create it?", 0)});
    EXPECT_EQ(DestinationDialog::Ask(main, 150, 125, 350, 200), fresh);
    EXPECT_EQ(done, 8u);
    EXPECT_TRUE(fs::is_directory(fresh));
    EXPECT_FALSE(fs::exists(temp / "missing"));
}

TEST_F(GenerationDialogsTest, BrowsePutsTheChosenFolderIntoTheField) {
    test::TempDir temp;
    fs::create_directory(temp / "sub");
    std::string shownAfterCancel;
    Script({Type(temp / "sub"), Click(DestinationDialog::kBrowseButton),
            Expect<builder::FileChooser>("the folder chooser"), Click(builder::FileChooser::ID_CANCEL),
            [&](CTavScreen* popup) {
                shownAfterCancel = static_cast<CTavEdit*>(popup->GetObjectByID(1))->GetText();
                ClickObject(popup, DestinationDialog::kBrowseButton);
            },
            Click(builder::FileChooser::ID_OK),
            [&](CTavScreen* popup) {
                auto* dialog = dynamic_cast<DestinationDialog*>(popup);
                ASSERT_NE(dialog, nullptr) << "Browse leaves the dialog open";
                EXPECT_EQ(fs::path(dialog->GetFolder()), fs::path(temp / "sub"));
                EXPECT_EQ(dialog->GetFolder(), static_cast<CTavEdit*>(popup->GetObjectByID(1))->GetText());
                EXPECT_EQ(dialog->GetResult(), 0);
            },
            Click(DestinationDialog::kOkButton)});
    const std::optional<std::string> chosen = DestinationDialog::Ask(main, 150, 125, 350, 200);
    EXPECT_EQ(done, 8u);
    EXPECT_EQ(shownAfterCancel, temp / "sub") << "a cancelled browse changes nothing";
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(fs::path(*chosen), fs::path(temp / "sub"));
}

TEST_F(GenerationDialogsTest, AdapterAnswersWithBoxes) {
    builder::DialogGenerationUi ui(main);
    Script({Box("Go on?", 0), Box("Go on?", 1), Box("Done", 0), Box("Bitmap skipped", 0),
            Expect<OverwriteBox>("the overwrite question"), Click(3)});
    EXPECT_TRUE(ui.AskYesNo(YesNoQuestion::CopyBitmaps, "Go on?"));
    EXPECT_FALSE(ui.AskYesNo(YesNoQuestion::CreateDirectory, "Go on?"));
    ui.ShowMessage("Done", MessageKind::Information);
    ui.Warn("Bitmap skipped");
    EXPECT_EQ(ui.AskOverwrite("a.h already exists. Do you want to overwrite it?"), kAnswerNever);
    EXPECT_EQ(done, 6u);
}

class GenerateThroughDialogsTest : public GenerationDialogsTest {
protected:
    void SetUp() override {
        GenerationDialogsTest::SetUp();
        project.name = "Demo";
        project.AddScreen(test::MakeScreen("Start"));
        project.Screen(0).startup = 1;
        project.AddObject(test::MakeObject(ObjectKind::Button, "Start", "Go"));
    }
    Project project;
    test::TempDir temp;
    const std::string kComplete =
        "Code generation complete.\nSee the documenation on how to use TavCtrls class "
        "libraries to add more functionality to your program.";
    const std::string kCopy =
        "Do you want to move copy bitmaps into art folder in your project and make their path relative?";
};

TEST_F(GenerateThroughDialogsTest, EntireProjectIsWrittenIntoTheChosenFolder) {
    builder::DialogGenerationUi ui(main);
    const std::string out = temp / "out";
    Script({Type(out), Click(DestinationDialog::kOkButton),
            Box("Directory does not exist. Do you wish to create it?", 0), Box(kCopy, 1), Box(kComplete, 0)});
    EXPECT_EQ(GenerateEntireProject(&project, ui), GenerationOutcome::Completed);
    EXPECT_EQ(done, 5u);
    EXPECT_EQ(main->GetChildScreen(), nullptr) << "every dialog is gone";
    ASSERT_FALSE(project.generatedFiles.empty());
    for (const std::string& file : project.generatedFiles)
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    EXPECT_TRUE(fs::is_regular_file(out + "/Start.cpp"));
    EXPECT_TRUE(fs::is_regular_file(out + "/Demo.dsp"));
    EXPECT_FALSE(fs::exists(out + "/art")) << "bitmaps were not to be copied";

    // Again into the same folder: the overwrite question comes at the first file; Never keeps them all.
    test::WriteFile(out + "/Start.cpp", "mine");
    const std::string header = project.generatedFiles.front();
    Script({Type(out), Click(DestinationDialog::kOkButton), Box(kCopy, 1),
            [&](CTavScreen* popup) {
                auto* box = dynamic_cast<OverwriteBox*>(popup);
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->GetMessage(), header + " already exists. Do you want to overwrite it?");
                ClickObject(popup, OverwriteBox::kNeverButton);
            },
            Box(kComplete, 0)});
    EXPECT_EQ(GenerateEntireProject(&project, ui), GenerationOutcome::Completed);
    EXPECT_EQ(done, 5u);
    EXPECT_EQ(test::ReadFile(out + "/Start.cpp"), "mine");
}

TEST_F(GenerateThroughDialogsTest, StartupScreenIsPickedAmongTheFullScreens) {
    project.Screen(0).startup = 0;
    project.AddScreen(test::MakeScreen("Popup", ScreenType::Popup));
    project.AddScreen(test::MakeScreen("Second"));
    project.modified = 0;
    builder::DialogGenerationUi ui(main);
    Script({Type(temp.path()), Click(DestinationDialog::kOkButton), Box(kCopy, 1),
            Box("You haven't selected a startup screen. Do you want to select one?", 0),
            [&](CTavScreen* popup) {
                auto* dialog = dynamic_cast<builder::ScreenListDialog*>(popup);
                ASSERT_NE(dialog, nullptr);
                EXPECT_EQ(RectOf(dialog), (Rect{50, 50, 300, 300}));
                EXPECT_EQ(dialog->typeFilter, 1);
                auto* list =
                    dynamic_cast<CTavListBox*>(dialog->GetObjectByID(builder::ScreenListDialog::ScreenList));
                ASSERT_NE(list, nullptr);
                ASSERT_EQ(list->GetRowCount(), 2) << "full screens only";
                const int row = list->GetItemText(0) == "Second" ? 0 : 1;
                EXPECT_EQ(list->GetItemText(row), "Second");
                list->SetSelection(row);
                ClickObject(dialog, builder::ScreenListDialog::SelectButton);
            },
            Box(kComplete, 0)});
    EXPECT_EQ(GenerateEntireProject(&project, ui), GenerationOutcome::Completed);
    EXPECT_EQ(done, 6u);
    EXPECT_EQ(project.Screen(2).startup, 1);
    EXPECT_EQ(project.Screen(0).startup, 0);
    EXPECT_EQ(project.modified, 1);
    EXPECT_NE(test::ReadFile(temp / "main.cpp").find("Second"), std::string::npos);
}

TEST_F(GenerateThroughDialogsTest, CancelledDestinationEndsSilently) {
    builder::DialogGenerationUi ui(main);
    Script({Click(DestinationDialog::kCancelButton), Box("unexpected", 0)});
    EXPECT_EQ(GenerateEntireProject(&project, ui), GenerationOutcome::Stopped);
    EXPECT_EQ(done, 1u) << "no message after Cancel";
    EXPECT_TRUE(project.generatedFiles.empty());
}

TEST_F(GenerationDialogsTest, Screenshots) {
    test::TempDir temp;
    Script({Pause(), Shot(temp / "overwrite.bmp"), Click(OverwriteBox::kNoButton)});
    OverwriteBox::Ask(main, "/home/user/out/Start.cpp already exists. Do you want to overwrite it?");
    test::ExpectLikeReference(temp / "overwrite.bmp", kReferences, "overwrite-box.bmp");

    Script({Type("/home/user/out"), Pause(), Shot(temp / "destination.bmp"),
            Click(DestinationDialog::kCancelButton)});
    DestinationDialog::Ask(main, 150, 125, 350, 200);
    test::ExpectLikeReference(temp / "destination.bmp", kReferences, "destination-dialog.bmp");
}

} // namespace
} // namespace tav::testing
