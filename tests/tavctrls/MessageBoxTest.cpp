// Message and question boxes on the headless display: answers, placement, growth with the text, boxes
// asked for while a dialog is showing, and the end of the process while a box waits.
#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

class BoxScreen : public CTavScreen {
public:
    std::function<BOOL(DWORD)> buttonDown;
    BOOL OnButtonDown(DWORD id) override { return buttonDown ? buttonDown(id) : FALSE; }
};

using Rect = std::array<int, 4>;
Rect RectOf(const CTavScreen* s) {
    return {s->GetX(), s->GetY(), s->GetWidth(), s->GetHeight()};
}
Rect RectOf(const CTavObject* o) {
    return {static_cast<int>(o->GetX()), static_cast<int>(o->GetY()), o->GetWidth(), o->GetHeight()};
}

// One thing done to the waiting box at an idle moment.
using BoxStep = std::function<void(CTavMessageBox*)>;

class MessageBoxTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app, 320, 240), TAVERROR_OK);
        screen = new BoxScreen;
        ASSERT_EQ(screen->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(screen);
        // The boxes load their bitmaps from "art//" under the current directory.
        previousDirectory = std::filesystem::current_path();
        std::filesystem::current_path(TAV_SOURCE_DIR);
    }
    void TearDown() override {
        std::filesystem::current_path(previousDirectory);
        HeadlessAppTest::TearDown();
    }

    // A box that has closed stays the innermost screen until its loop ends; input queued for it then
    // would keep that loop busy, so only a box whose loop still runs counts.
    static CTavMessageBox* Waiting(CTavScreen* inner) {
        auto* box = dynamic_cast<CTavMessageBox*>(inner);
        return box != nullptr && box->GetParent()->IsModalRunning() ? box : nullptr;
    }
    void ClickObject(CTavScreen* owner, DWORD id) {
        CTavObject* object = owner->GetObjectByID(id);
        ASSERT_NE(object, nullptr) << "object " << id;
        display->LClick(static_cast<int>(object->GetAppX()) + object->GetWidth() / 2,
                        static_cast<int>(object->GetAppY()) + object->GetHeight() / 2);
    }
    // While a box waits, every idle moment runs the next step on it; `done` counts the steps run.
    void Script(std::vector<BoxStep> steps) {
        done = 0;
        display->SetIdleHandler([this, steps](platform::HeadlessDisplay&) {
            if (done >= steps.size())
                return;
            if (CTavMessageBox* box = Waiting(screen->GetInnermostScreen()))
                steps[done++](box);
        });
    }
    BoxStep Click(DWORD id) {
        return [this, id](CTavMessageBox* box) { ClickObject(box, id); };
    }

    CTavApp app;
    BoxScreen* screen = nullptr;
    size_t done = 0;
    std::filesystem::path previousDirectory;
};

TEST_F(MessageBoxTest, QuestionBoxIsYesOnlyForTheYesButton) {
    const BoxStep corner = [this](CTavMessageBox* box) {
        display->LClick(box->GetAppX() + 1, box->GetAppY() + 1);
    };
    const struct {
        const char* what;
        std::vector<BoxStep> steps; // ids: 0 Yes, 1 No, 2 the text
        BOOL answer;
    } rows[] = {
        {"yes", {Click(0)}, TRUE},
        {"no", {Click(1)}, FALSE},
        {"text, then yes", {Click(2), Click(0)}, TRUE},
        {"corner, then yes", {corner, Click(0)}, TRUE},
        {"text, then no", {Click(2), Click(1)}, FALSE},
    };
    for (const auto& row : rows) {
        Script(row.steps);
        EXPECT_EQ(screen->QuestionBox("Are you sure you want to exit?"), row.answer) << row.what;
        EXPECT_EQ(done, row.steps.size()) << row.what << ": the box closed early";
        EXPECT_EQ(screen->GetChildScreen(), nullptr) << row.what;
    }
}

TEST_F(MessageBoxTest, ShortTextsGetTheUsualPlaceAndParts) {
    Script({[&](CTavMessageBox* box) {
                EXPECT_EQ(box->GetParent(), screen);
                EXPECT_EQ(box->GetID(), 99u);
                EXPECT_EQ(RectOf(box), (Rect{80, 60, 160, 120}));
                EXPECT_EQ(RectOf(box->GetObjectByID(0)), (Rect{80, 80, 50, 20}));
                EXPECT_EQ(RectOf(box->GetObjectByID(2)), (Rect{0, 0, 160, 120}));
                auto* text = dynamic_cast<CTavStatic*>(box->GetObjectByID(1));
                ASSERT_NE(text, nullptr);
                EXPECT_STREQ(text->GetText(), "Saved.");
                EXPECT_TRUE(text->IsMultiline() && text->IsTranslucent());
            },
            Click(1), Click(2), Click(0)});
    screen->MessageBox("Saved.");
    EXPECT_EQ(done, 4u) << "only OK closes a message box";

    Script({[&](CTavMessageBox* box) {
                EXPECT_EQ(RectOf(box->GetObjectByID(0)), (Rect{25, 90, 50, 20}));
                EXPECT_EQ(RectOf(box->GetObjectByID(1)), (Rect{80, 90, 50, 20}));
                EXPECT_STREQ(static_cast<CTavButton*>(box->GetObjectByID(1))->GetCaption(), "No");
                EXPECT_EQ(box->GetBackgroundMode(), TAVBACK_STRETCH);
            },
            Click(1)});
    EXPECT_FALSE(screen->QuestionBox("Replace it?"));
}

// Whatever the text and the screen that asks, the text ends above the buttons, the buttons lie inside
// the box and the box inside the asking screen (into which it is drawn), and the box answers.
TEST_F(MessageBoxTest, BoxesGrowToTheirTextAndKeepTheirButtonsReachable) {
    const std::string longText =
        "The project could not be saved because the folder that was chosen for it no "
        "longer exists or cannot be written; choose another folder and save again.";
    std::string huge;
    for (int i = 0; i < 60; ++i)
        huge += "word" + std::to_string(i) + " ";
    const struct {
        const char* what;
        bool question;
        Rect asker; // a sub screen of the application's screen; that screen itself when 0 wide
        std::string text;
    } rows[] = {
        {"long question", true, {}, longText},
        {"long message", false, {}, longText},
        {"many lines", false, {}, "1\n2\n3\n4\n5\n6\n7"},
        {"one long word", true, {}, std::string(80, 'W')},
        {"more than fits", true, {}, huge},
        {"small sub screen", true, {150, 120, 110, 80}, "Delete?"},
        {"sub screen", false, {20, 20, 280, 200}, longText},
    };
    for (const auto& row : rows) {
        CTavScreen* asker = screen;
        if (row.asker[2] > 0) {
            asker = new BoxScreen;
            ASSERT_EQ(asker->Initialize(7, row.asker[0], row.asker[1], row.asker[2], row.asker[3],
                                        TAVSCREEN_SUBSCREEN, screen),
                      TAVERROR_OK);
            screen->AddSubScreen(asker);
        }
        Script(
            {[&](CTavMessageBox* box) {
                 const int w = box->GetWidth(), h = box->GetHeight();
                 EXPECT_EQ(box->GetParent(), asker) << row.what;
                 EXPECT_TRUE(w > asker->GetWidth() / 2 || h > asker->GetHeight() / 2) << row.what;
                 if (asker->GetWidth() >= 150 && asker->GetHeight() >= 120) {
                     EXPECT_TRUE(box->GetX() >= 0 && box->GetX() + w <= asker->GetWidth()) << row.what;
                     EXPECT_TRUE(box->GetY() >= 0 && box->GetY() + h <= asker->GetHeight()) << row.what;
                 }
                 EXPECT_LE(box->GetAppX() + w, app.GetWidth()) << row.what;
                 EXPECT_LE(box->GetAppY() + h, app.GetHeight()) << row.what;
                 for (DWORD id : {0u, row.question ? 1u : 0u}) {
                     ASSERT_NE(box->GetObjectByID(id), nullptr) << row.what;
                     const Rect button = RectOf(box->GetObjectByID(id));
                     EXPECT_TRUE(button[0] >= 0 && button[0] + button[2] <= w && button[1] + button[3] <= h)
                         << row.what;
                 }
                 auto* text = static_cast<CTavStatic*>(box->GetObjectByID(row.question ? 2 : 1));
                 ASSERT_NE(text, nullptr) << row.what;
                 const int linesEnd =
                     static_cast<int>(text->GetY()) + static_cast<int>(text->GetLines().size()) * 15;
                 if (row.text != huge) {
                     EXPECT_LE(linesEnd, static_cast<int>(box->GetObjectByID(0)->GetY())) << row.what;
                 }
             },
             Click(0)});
        if (row.question) {
            EXPECT_TRUE(asker->QuestionBox(row.text.c_str())) << row.what;
        } else {
            asker->MessageBox(row.text.c_str());
        }
        EXPECT_EQ(done, 2u) << row.what;
        screen->RemoveSubScreen(7);
    }
}

TEST_F(MessageBoxTest, BoxAskedForBehindAShowingDialogGoesOverTheDialog) {
    for (const bool question : {true, false}) {
        auto* dialog = new BoxScreen;
        ASSERT_EQ(dialog->Initialize(5, 20, 20, 280, 200, TAVSCREEN_POPUP, screen), TAVERROR_OK);
        for (DWORD id : {1u, 2u}) { // 1 asks, 2 ends the dialog
            auto* button = new CTavButton;
            button->Initialize("B", id, 10, static_cast<float>(id * 60), 40, 20, dialog, "a.bmp", "b.bmp",
                               "c.bmp");
            dialog->AddObject(button);
        }
        CTavScreen* boxParent = nullptr;
        BOOL answer = FALSE;
        bool dialogStayed = false;
        int asked = 0;
        dialog->buttonDown = [&](DWORD id) {
            if (id == 2) {
                dialog->Close();
                return TRUE;
            }
            ++asked;
            // The application's screen asks, while its dialog is the one showing.
            if (question)
                answer = screen->QuestionBox("Overwrite?");
            else
                screen->MessageBox("Saved.");
            dialogStayed = screen->GetChildScreen() == dialog && screen->IsModalRunning();
            return FALSE;
        };
        display->SetIdleHandler([&](platform::HeadlessDisplay&) {
            CTavScreen* inner = screen->GetInnermostScreen();
            if (CTavMessageBox* box = Waiting(inner)) {
                boxParent = box->GetParent();
                ClickObject(box, 0);
            } else if (inner == dialog && screen->IsModalRunning()) {
                ClickObject(dialog, asked == 0 ? 1 : 2);
            }
        });
        ASSERT_EQ(screen->SetChildScreen(dialog), TAVERROR_OK);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(boxParent, dialog) << "question " << question;
        EXPECT_TRUE(dialogStayed) << "question " << question;
        EXPECT_EQ(answer, question ? TRUE : FALSE);
        EXPECT_EQ(dialog->GetChildScreen(), nullptr);
        screen->RemoveChildScreen();
        display->SetIdleHandler(nullptr);
    }
}

TEST_F(MessageBoxTest, FrozenScreenGetsNoBoxItCouldNeverAnswer) {
    screen->SetFrozen(TRUE);
    EXPECT_FALSE(screen->QuestionBox("Continue?"));
    screen->MessageBox("Nothing");
    EXPECT_EQ(screen->GetChildScreen(), nullptr);
}

TEST_F(MessageBoxTest, ClosingTheApplicationWhileAQuestionWaitsEndsTheProcess) {
    bool returned = false;
    int status = -1;
    display->SetIdleHandler([&](platform::HeadlessDisplay& headless) {
        if (Waiting(screen->GetInnermostScreen()) != nullptr)
            headless.CloseWindow();
    });
    try {
        screen->QuestionBox("Are you sure you want to exit?");
        returned = true;
    } catch (const ProcessEnded& ended) {
        status = ended.status;
    }
    display = nullptr;
    EXPECT_FALSE(returned);
    EXPECT_EQ(status, 0);
}

} // namespace
} // namespace tav::testing
