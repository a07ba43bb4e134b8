#include "HeadlessApp.h"

#include <utility>

namespace tav::testing {
namespace {

using Point = std::pair<int, int>;
using Log = std::vector<std::string>;

class MenuTest : public ScreenAppTest<> {
protected:
    void Click(Point at) { ScreenAppTest::Click(at.first, at.second); }
    // Cut, Copy, Paste at (50, 40), 100 x 60: rows of 15 from y 40, no item from y 85 on.
    CTavPopupMenu* OpenPopup() {
        auto* menu = new CTavPopupMenu;
        EXPECT_EQ(menu->Initialize(50, 40, 100, 60, screen, ArtPath("popmenuback.bmp").c_str()), TAVERROR_OK);
        for (const char* item : {"Cut", "Copy", "Paste", "Copy", ""})
            menu->AddItem(item);
        EXPECT_EQ(screen->SetPopupMenu(menu), TAVERROR_OK);
        return menu;
    }
    // FILE: New, Open, Save, Exit; EDIT: Undo and a long item.
    CTavMenuBar* AttachBar() {
        auto* bar = new CTavMenuBar;
        EXPECT_EQ(bar->Initialize(screen), TAVERROR_OK);
        bar->AddMenu("FILE");
        bar->AddMenu("EDIT");
        for (const auto& [item, menu] : {std::pair{"New", 0},
                                         {"Open", 0},
                                         {"Save", 0},
                                         {"Exit", 0},
                                         {"Undo", 1},
                                         {"Select everything in the view", 1}})
            bar->AddMenuItem(item, menu);
        EXPECT_EQ(screen->SetMenuBar(bar), TAVERROR_OK);
        return bar;
    }
};

TEST_F(MenuTest, PopupHighlightsAndChoosesByRow) {
    CTavPopupMenu menu;
    EXPECT_EQ(menu.Initialize(5, 5, 100, 0, screen, ""), TAVERROR_INVALIDARG);
    EXPECT_EQ(menu.Initialize(5, 5, 100, 30, nullptr, ""), TAVERROR_NOPARENT);
    EXPECT_EQ(menu.Initialize(5, 5, 100, 30, screen, ""), TAVERROR_LOADBITMAP);
    menu.Finish();
    CTavPopupMenu* open = OpenPopup(); // "Copy" twice and an empty item are added once
    EXPECT_EQ(open->GetItemCount(), 3);
    const std::pair<Point, int> moves[] = {{{60, 54}, 0},  {{60, 55}, 1}, {{149, 60}, 1}, {{60, 84}, 2},
                                           {{60, 90}, -1}, {{60, 70}, 2}, {{60, 39}, -1}, {{200, 45}, -1},
                                           {{49, 45}, -1}, {{60, 46}, 0}};
    for (const auto& [at, item] : moves) {
        display->MouseMove(at.first, at.second);
        Frame(app);
        EXPECT_EQ(open->GetHighlightedItem(), item) << at.first << "," << at.second;
    }
    // A release chooses the row under it, or nothing below the items or outside; the menu closes.
    const std::pair<Point, Log> releases[] = {
        {{60, 60}, {"popup Copy"}}, {{140, 84}, {"popup Paste"}}, {{60, 92}, {}}, {{250, 200}, {}}};
    for (const auto& [at, log] : releases) {
        screen->log.clear();
        OpenPopup();
        Click(at);
        EXPECT_EQ(screen->log, log) << at.first << "," << at.second;
        EXPECT_EQ(screen->GetPopupMenu(), nullptr) << at.first << "," << at.second;
    }
}

TEST_F(MenuTest, PopupHandlersThatDestroyTheScreen) {
    for (const std::string destroys : {"child", "close", "object"}) {
        ShowNewScreen();
        AddPlain(screen, 7, 50, 40, 100, 60); // under the menu
        OpenPopup();
        LogScreen* owner = screen;
        screen->hook = [this, destroys, owner](const std::string&) {
            if (destroys == "child")
                ShowNewScreen();
            else if (destroys == "close")
                owner->Close();
            else
                owner->RemoveObject(7);
            return FALSE;
        };
        Click({60, 60});
        Frame(app, 2);
    }
    EXPECT_EQ(screen->log, (Log{"popup Copy"})) << "the press reached the object below";
}

TEST_F(MenuTest, MenuHandlersThatRemoveTheBarOrTheScreen) {
    CTavMenuBar* replacement = nullptr;
    const std::function<BOOL()> handlers[] = {
        [&] { return screen->RemoveMenuBar(), FALSE; },
        [&] {
            replacement = new CTavMenuBar;
            replacement->Initialize(screen);
            screen->SetMenuBar(replacement);
            return FALSE;
        },
        [&] {
            auto* next = new LogScreen;
            next->Initialize(1);
            app.SetChildScreen(next);
            return TRUE;
        },
        // The designer's FILE > Exit: a question while the bar's release is being routed.
        [&] {
            display->SetIdleHandler([&](platform::HeadlessDisplay&) {
                auto* box = dynamic_cast<CTavQuestionBox*>(screen->GetInnermostScreen());
                if (box == nullptr || !screen->IsModalRunning())
                    return;
                EXPECT_EQ(static_cast<CTavMenuBar*>(screen->GetMenuBar())->GetOpenMenu(), -1);
                CTavObject* yes = box->GetObjectByID(0);
                display->LClick(static_cast<int>(yes->GetAppX()) + 5, static_cast<int>(yes->GetAppY()) + 5);
            });
            const BOOL yes = screen->QuestionBox("Are you sure you want to exit?");
            display->SetIdleHandler(nullptr);
            if (yes)
                screen->Close();
            return yes;
        },
    };
    for (const auto& handler : handlers) {
        ShowNewScreen();
        replacement = nullptr;
        CTavMenuBar* bar = AttachBar();
        AddPlain(screen, 5, 0, 0, 320, 240); // presses on the bar or its drop-down never reach it
        LogScreen* owner = screen;
        screen->hook = [handler](const std::string&) { return handler(); };
        Click({bar->GetTitleX(0) + bar->GetTitleWidth(0) / 2, 8});
        CTavObject* drop = bar->GetDropDown();
        ASSERT_NE(drop, nullptr);
        Click({static_cast<int>(drop->GetX()) + drop->GetWidth() - 3,
               static_cast<int>(drop->GetY()) + 3 * 15 + 7});
        Frame(app, 2);
        if (app.GetChildScreen() == owner) {
            EXPECT_EQ(owner->log, (Log{"menu FILE Exit"}));
            EXPECT_EQ(owner->GetMenuBar(), replacement);
            Click({10, 8}); // whatever bar is left still works
        }
    }
    EXPECT_EQ(app.GetChildScreen(), nullptr) << "FILE > Exit closed the screen";
}

} // namespace
} // namespace tav::testing
