// Callbacks that destroy objects, screens or the application while the library is still routing
// the event or drawing the frame. Run under AddressSanitizer, any touch of freed memory fails.
#include "HeadlessApp.h"

namespace tav::testing {
namespace {

using LifetimeTest = ScreenAppTest<LogScreen, true>;

TEST_F(LifetimeTest, ButtonRemovingItselfWithEitherAnswer) {
    AddButton(screen, 1, 0, 0);
    AddButton(screen, 2, 0, 0); // overlapping: still offered the release after the first is gone
    int calls = 0;
    // The wrong answer: the library must survive it all the same.
    screen->On("button", FALSE, [&](DWORD id) { ++calls, screen->RemoveObject(id); });
    Click(10, 10);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(screen->GetObjectCount(), 0);
    AddButton(screen, 1, 0, 0); // the id is free again at once
    screen->On("button", TRUE, [&](DWORD id) { screen->RemoveObject(id); });
    Click(10, 10);
    EXPECT_FALSE(screen->HasObject(1));
}

TEST_F(LifetimeTest, VoidNotificationsMayDestroyTheirObjectAndOthers) {
    AddCheckBox(screen, 1, 0, 0, 60, 20);
    AddPlain(screen, 2, 0, 0);
    AddPlain(screen, 3, 0, 0);
    screen->On("check", FALSE, [&](DWORD) {
        for (DWORD id : {1u, 2u, 3u})
            screen->RemoveObject(id);
    });
    Click(5, 5);
    EXPECT_EQ(screen->GetObjectCount(), 0);
    AddPlain(screen, 4, 0, 0);
    AddPlain(screen, 5, 0, 0);
    screen->On("got", FALSE, [&](DWORD id) { screen->RemoveObject(id); });
    Click(5, 5);
    EXPECT_EQ(screen->GetObjectCount(), 0);
}

TEST_F(LifetimeTest, DoubleClickOpeningADialogThatRebuildsTheView) {
    for (DWORD id = 1; id <= 3; ++id)
        AddPlain(screen, id, 0, 0);
    int dialogs = 0;
    screen->On("doubleclick", FALSE, [&](DWORD) {
        LogScreen* dialog = NewLogScreen(50, 100, 100, 100, 100, TAVSCREEN_POPUP, screen);
        AddButton(dialog, 9, 0, 0);
        dialog->On("button", TRUE, [&, dialog](DWORD) {
            // Rebuild the view behind the dialog: the same ids, new objects.
            for (DWORD id = 1; id <= 3; ++id)
                screen->RemoveObject(id);
            for (DWORD id = 1; id <= 3; ++id)
                AddPlain(screen, id, 0, 0);
            dialog->Close();
        });
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

TEST_F(LifetimeTest, ScreensRemovedFromVoidCallbacks) {
    LogScreen* sub = NewLogScreen(7, 0, 0, 100, 100, TAVSCREEN_SUBSCREEN, screen);
    screen->AddSubScreen(sub);
    AddPlain(sub, 1, 0, 0);
    sub->On("after down", FALSE, [&](DWORD id) { screen->RemoveSubScreen(id); });
    Click(5, 5);
    EXPECT_FALSE(screen->HasScreen(7));
    AddPlain(screen, 1, 0, 0);
    // The application's child screen goes; the answer says nothing was destroyed.
    screen->On("objectdown", FALSE, [&](DWORD) { screen->Close(); });
    Click(5, 5);
    EXPECT_EQ(app.GetChildScreen(), nullptr);
    Frame(app, 2);
}

TEST_F(LifetimeTest, ShutdownInsideNestedModalLoopsNeverReturnsIntoThem) {
    bool returned = false;
    screen->On("button", FALSE, [&](DWORD) {
        LogScreen* outer = NewLogScreen(2, 0, 0, 200, 200, TAVSCREEN_POPUP, screen);
        AddButton(outer, 3, 50, 50);
        outer->On("button", FALSE, [&, outer](DWORD) {
            LogScreen* inner = NewLogScreen(4, 10, 10, 100, 100, TAVSCREEN_POPUP, outer);
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
