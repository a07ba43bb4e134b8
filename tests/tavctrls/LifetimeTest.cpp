// Callbacks that destroy objects, screens or the application while the library is still routing
// the event or drawing the frame. Run under AddressSanitizer, any touch of freed memory fails.
#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tav::testing {
namespace {

// A screen whose callbacks run whatever the test puts in them.
class HookScreen : public CTavScreen {
public:
    std::function<BOOL(DWORD)> buttonDown;
    std::function<void(DWORD, BOOL)> checkBox;
    std::function<void(DWORD)> gotFocus;
    std::function<void(DWORD, int, int)> objectDoubleClick;
    std::function<BOOL(DWORD)> objectDown;
    std::function<void(int, int)> afterDown;

    BOOL OnButtonDown(DWORD id) override { return buttonDown ? buttonDown(id) : FALSE; }
    void OnCheckBoxClick(DWORD id, BOOL value) override {
        if (checkBox)
            checkBox(id, value);
    }
    void OnObjectGotFocus(DWORD id) override {
        if (gotFocus)
            gotFocus(id);
    }
    void AfterObjectDoubleClick(DWORD id, int x, int y) override {
        if (objectDoubleClick)
            objectDoubleClick(id, x, y);
    }
    BOOL OnObjectLMouseDown(DWORD id) override { return objectDown ? objectDown(id) : FALSE; }
    void AfterLMouseDown(int x, int y) override {
        if (afterDown)
            afterDown(x, y);
    }
};

class LifetimeTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app), TAVERROR_OK);
        screen = new HookScreen;
        ASSERT_EQ(screen->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(screen);
    }
    CTavButton* AddButton(CTavScreen* owner, DWORD id, int x, int y) {
        auto* button = new CTavButton;
        EXPECT_EQ(button->Initialize("B", id, static_cast<float>(x), static_cast<float>(y), 40, 20, owner,
                                     ArtPath("buttonnormal.bmp").c_str(), ArtPath("buttonover.bmp").c_str(),
                                     ArtPath("buttondown.bmp").c_str()),
                  TAVERROR_OK);
        owner->AddObject(button);
        return button;
    }
    CTavObject* AddPlain(CTavScreen* owner, DWORD id, int x, int y) {
        auto* object = new CTavObject;
        EXPECT_EQ(object->Initialize(id, static_cast<float>(x), static_cast<float>(y), 40, 20, owner), TAVERROR_OK);
        owner->AddObject(object);
        return object;
    }
    void Click(int x, int y) {
        display->LClick(x, y);
        Frame(app);
    }

    CTavApp app;
    HookScreen* screen = nullptr;
};

TEST_F(LifetimeTest, ButtonRemovingItselfWithEitherAnswer) {
    AddButton(screen, 1, 0, 0);
    AddButton(screen, 2, 0, 0); // overlapping: still offered the release after the first is gone
    int calls = 0;
    screen->buttonDown = [&](DWORD id) {
        ++calls;
        screen->RemoveObject(id);
        return FALSE; // wrong answer: the library must survive it all the same
    };
    Click(10, 10);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(screen->GetObjectCount(), 0);
    AddButton(screen, 1, 0, 0); // the id is free again at once
    screen->buttonDown = [&](DWORD id) {
        screen->RemoveObject(id);
        return TRUE;
    };
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
    screen->checkBox = [&](DWORD, BOOL) {
        for (DWORD id : {1u, 2u, 3u})
            screen->RemoveObject(id);
    };
    Click(5, 5);
    EXPECT_EQ(screen->GetObjectCount(), 0);

    AddPlain(screen, 4, 0, 0);
    AddPlain(screen, 5, 0, 0);
    screen->gotFocus = [&](DWORD id) { screen->RemoveObject(id); };
    Click(5, 5);
    EXPECT_EQ(screen->GetObjectCount(), 0);
}

TEST_F(LifetimeTest, DoubleClickOpeningADialogThatRebuildsTheView) {
    for (DWORD id = 1; id <= 3; ++id)
        AddPlain(screen, id, 0, 0);
    int dialogs = 0;
    screen->objectDoubleClick = [&](DWORD, int, int) {
        auto* dialog = new HookScreen;
        ASSERT_EQ(dialog->Initialize(50, 100, 100, 100, 100, TAVSCREEN_POPUP, screen), TAVERROR_OK);
        AddButton(dialog, 9, 0, 0);
        dialog->buttonDown = [&, dialog](DWORD) {
            // Rebuild the view behind the dialog: the same ids, new objects.
            for (DWORD id = 1; id <= 3; ++id)
                screen->RemoveObject(id);
            for (DWORD id = 1; id <= 3; ++id)
                AddPlain(screen, id, 0, 0);
            dialog->Close();
            return TRUE;
        };
        display->LClick(110, 110);
        ++dialogs;
        screen->SetChildScreen(dialog);
        screen->RemoveChildScreen();
    };
    display->DoubleClick(5, 5);
    Frame(app, 3);
    EXPECT_GE(dialogs, 1);
    EXPECT_EQ(screen->GetObjectCount(), 3);
}

TEST_F(LifetimeTest, ScreenClosingItselfFromAVoidCallback) {
    AddPlain(screen, 1, 0, 0);
    AddPlain(screen, 2, 0, 0);
    screen->objectDown = [&](DWORD) {
        screen->Close(); // the application's child screen goes; the answer says nothing was destroyed
        return FALSE;
    };
    Click(5, 5);
    EXPECT_EQ(app.GetChildScreen(), nullptr);
    Frame(app, 2);
}

TEST_F(LifetimeTest, SubScreenRemovedWhileRouting) {
    auto* sub = new HookScreen;
    ASSERT_EQ(sub->Initialize(7, 0, 0, 100, 100, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    screen->AddSubScreen(sub);
    AddPlain(sub, 1, 0, 0);
    sub->afterDown = [&](int, int) { screen->RemoveSubScreen(7); };
    Click(5, 5);
    EXPECT_FALSE(screen->HasScreen(7));
}

TEST_F(LifetimeTest, ShutdownInsideNestedModalLoopsNeverReturnsIntoThem) {
    bool returned = false;
    screen->buttonDown = [&](DWORD) {
        auto* outer = new HookScreen;
        EXPECT_EQ(outer->Initialize(2, 0, 0, 200, 200, TAVSCREEN_POPUP, screen), TAVERROR_OK);
        AddButton(outer, 3, 50, 50);
        outer->buttonDown = [&, outer](DWORD) {
            auto* inner = new HookScreen;
            EXPECT_EQ(inner->Initialize(4, 10, 10, 100, 100, TAVSCREEN_POPUP, outer), TAVERROR_OK);
            display->DestroyWindow();
            outer->SetChildScreen(inner);
            returned = true;
            return FALSE;
        };
        display->LClick(60, 60);
        screen->SetChildScreen(outer);
        returned = true;
        return FALSE;
    };
    AddButton(screen, 1, 250, 200);
    display->LClick(260, 210);
    EXPECT_EQ(Run(app), 0);
    EXPECT_FALSE(returned);
}

} // namespace
} // namespace tav::testing
