#include "HeadlessApp.h"

#include <array>
#include <utility>

namespace tav::testing {
namespace {

using Rect = std::array<int, 4>;
// One thing done to the waiting box at an idle moment.
using BoxStep = std::function<void(CTavMessageBox*)>;

class MessageBoxTest : public ScreenAppTest<> {
protected:
    // A box that has closed stays the innermost screen until its loop ends; input queued for it then
    // would keep that loop busy, so only a box whose loop still runs counts.
    static CTavMessageBox* Waiting(CTavScreen* inner) {
        auto* box = dynamic_cast<CTavMessageBox*>(inner);
        return box != nullptr && box->GetParent()->IsModalRunning() ? box : nullptr;
    }
    // While a box waits, every idle moment runs the next step on it; `done` counts the steps run.
    void Script(std::vector<BoxStep> steps) {
        done = 0;
        display->SetIdleHandler([this, steps](platform::HeadlessDisplay&) {
            CTavMessageBox* box = Waiting(screen->GetInnermostScreen());
            if (done < steps.size() && box != nullptr)
                steps[done++](box);
        });
    }
    BoxStep Click(DWORD id) {
        return [this, id](CTavMessageBox* box) {
            CTavObject* object = box->GetObjectByID(id);
            ASSERT_NE(object, nullptr) << "object " << id;
            display->LClick(static_cast<int>(object->GetAppX()) + object->GetWidth() / 2,
                            static_cast<int>(object->GetAppY()) + object->GetHeight() / 2);
        };
    }

    size_t done = 0;
};

TEST_F(MessageBoxTest, OnlyTheirButtonsCloseTheBoxes) {
    // The question's ids: 0 Yes, 1 No, 2 the text.
    for (const auto& [steps, answer] :
         {std::pair{std::vector{Click(0)}, TRUE}, {{Click(2), Click(1)}, FALSE}}) {
        Script(steps);
        EXPECT_EQ(screen->QuestionBox("Are you sure you want to exit?"), answer);
        EXPECT_EQ(done, steps.size()) << "the box closed early";
    }
    Script({[&](CTavMessageBox* box) {
                CTavObject* ok = box->GetObjectByID(0);
                EXPECT_EQ((Rect{int(ok->GetX()), int(ok->GetY()), ok->GetWidth(), ok->GetHeight()}),
                          (Rect{80, 80, 50, 20}));
                auto* text = dynamic_cast<CTavStatic*>(box->GetObjectByID(1));
                ASSERT_NE(text, nullptr);
                EXPECT_STREQ(text->GetText(), "Saved.");
                EXPECT_TRUE(text->IsMultiline() && text->IsTranslucent());
            },
            Click(1), Click(2), Click(0)});
    screen->MessageBox("Saved.");
    EXPECT_EQ(done, 4u) << "only OK closes a message box";
}

TEST_F(MessageBoxTest, FrozenOrClosingApplicationGetsNoAnswer) {
    screen->SetFrozen(TRUE); // no box it could never answer
    EXPECT_FALSE(screen->QuestionBox("Continue?"));
    EXPECT_EQ(screen->GetChildScreen(), nullptr);
    screen->SetFrozen(FALSE);
    display->SetIdleHandler([&](platform::HeadlessDisplay& headless) {
        if (Waiting(screen->GetInnermostScreen()) != nullptr)
            headless.CloseWindow();
    });
    try {
        screen->QuestionBox("Are you sure you want to exit?");
        ADD_FAILURE() << "the question returned after the shutdown";
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.status, 0);
    }
    display = nullptr;
}

} // namespace
} // namespace tav::testing
