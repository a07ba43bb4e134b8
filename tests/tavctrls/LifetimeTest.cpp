// Callbacks that destroy objects, screens or the application while the library is still routing
// the event or drawing the frame. Run under AddressSanitizer, any touch of freed memory fails.
#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tav::testing {
namespace {

class LifetimeTest : public ScreenAppTest<> {
protected:
    void SetUp() override {
        ScreenAppTest::SetUp();
        screen->verbose = true;
    }
    // The owner runs `action` with the number of every entry that starts with `kind`, then answers.
    static void On(LogScreen* owner, const std::string& kind, std::function<void(DWORD)> action,
                   BOOL answer = FALSE) {
        owner->hook = [=](const std::string& entry) {
            if (entry.rfind(kind + " ", 0) != 0)
                return FALSE;
            action(static_cast<DWORD>(std::stoul(entry.substr(kind.size() + 1))));
            return answer;
        };
    }
    static LogScreen* Popup(DWORD id, int x, int y, int size, CTavScreen* parent) {
        auto* popup = new LogScreen;
        return popup->Initialize(id, x, y, size, size, TAVSCREEN_POPUP, parent) == TAVERROR_OK ? popup
                                                                                               : nullptr;
    }
};

TEST_F(LifetimeTest, ButtonRemovingItselfWithEitherAnswer) {
    AddButton(screen, 1, 0, 0);
    AddButton(screen, 2, 0, 0); // overlapping: still offered the release after the first is gone
    int calls = 0;
    // The wrong answer: the library must survive it all the same.
    On(screen, "button", [&](DWORD id) { ++calls, screen->RemoveObject(id); });
    Click(10, 10);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(screen->GetObjectCount(), 0);
    AddButton(screen, 1, 0, 0); // the id is free again at once
    On(
        screen, "button", [&](DWORD id) { screen->RemoveObject(id); }, TRUE);
    Click(10, 10);
    EXPECT_FALSE(screen->HasObject(1));
}

TEST_F(LifetimeTest, VoidNotificationsMayDestroyTheirObjectAndOthers) {
    auto* box = new CTavCheckBox;
    ASSERT_EQ(box->Initialize("c", 1, 0, 0, 60, 20, screen, ArtPath("checkyes.bmp").c_str(),
                              ArtPath("checkno.bmp").c_str()),
              TAVERROR_OK);
    screen->AddObject(box);
    AddPlain(screen, 2, 0, 0);
    AddPlain(screen, 3, 0, 0);
    On(screen, "check", [&](DWORD) {
        for (DWORD id : {1u, 2u, 3u})
            screen->RemoveObject(id);
    });
    Click(5, 5);
    EXPECT_EQ(screen->GetObjectCount(), 0);
    AddPlain(screen, 4, 0, 0);
    AddPlain(screen, 5, 0, 0);
    On(screen, "got", [&](DWORD id) { screen->RemoveObject(id); });
    Click(5, 5);
    EXPECT_EQ(screen->GetObjectCount(), 0);
}

TEST_F(LifetimeTest, DoubleClickOpeningADialogThatRebuildsTheView) {
    for (DWORD id = 1; id <= 3; ++id)
        AddPlain(screen, id, 0, 0);
    int dialogs = 0;
    On(screen, "doubleclick", [&](DWORD) {
        LogScreen* dialog = Popup(50, 100, 100, 100, screen);
        AddButton(dialog, 9, 0, 0);
        On(
            dialog, "button",
            [&, dialog](DWORD) {
                // Rebuild the view behind the dialog: the same ids, new objects.
                for (DWORD id = 1; id <= 3; ++id)
                    screen->RemoveObject(id);
                for (DWORD id = 1; id <= 3; ++id)
                    AddPlain(screen, id, 0, 0);
                dialog->Close();
            },
            TRUE);
        display->LClick(110, 110);
        ++dialogs;
        screen->SetChildScreen(dialog);
        screen->RemoveChildScreen();
    });
    display->DoubleClick(5, 5);
    Frame(app, 3);
    EXPECT_GE(dialogs, 1);
    EXPECT_EQ(screen->GetObjectCount(), 3);
}

TEST_F(LifetimeTest, ScreenClosingItselfFromAVoidCallback) {
    AddPlain(screen, 1, 0, 0);
    // The application's child screen goes; the answer says nothing was destroyed.
    On(screen, "objectdown", [&](DWORD) { screen->Close(); });
    Click(5, 5);
    EXPECT_EQ(app.GetChildScreen(), nullptr);
    Frame(app, 2);
}

TEST_F(LifetimeTest, SubScreenRemovedWhileRouting) {
    auto* sub = new LogScreen;
    sub->verbose = true;
    ASSERT_EQ(sub->Initialize(7, 0, 0, 100, 100, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    screen->AddSubScreen(sub);
    AddPlain(sub, 1, 0, 0);
    On(sub, "after down", [&](DWORD id) { screen->RemoveSubScreen(id); });
    Click(5, 5);
    EXPECT_FALSE(screen->HasScreen(7));
}

TEST_F(LifetimeTest, ShutdownInsideNestedModalLoopsNeverReturnsIntoThem) {
    bool returned = false;
    On(screen, "button", [&](DWORD) {
        LogScreen* outer = Popup(2, 0, 0, 200, screen);
        AddButton(outer, 3, 50, 50);
        On(outer, "button", [&, outer](DWORD) {
            LogScreen* inner = Popup(4, 10, 10, 100, outer);
            display->DestroyWindow();
            outer->SetChildScreen(inner);
            returned = true;
        });
        display->LClick(60, 60);
        screen->SetChildScreen(outer);
        returned = true;
    });
    AddButton(screen, 1, 250, 200);
    display->LClick(260, 210);
    EXPECT_EQ(Run(app), 0);
    EXPECT_FALSE(returned);
}

} // namespace
} // namespace tav::testing
