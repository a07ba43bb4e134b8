// Popup menus and the menu bar on the headless display: what the mouse highlights, opens, closes and
// chooses, what is drawn, and handlers that remove the menu or destroy the screen while it is routing.
#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tav::testing {
namespace {

using Point = std::pair<int, int>;
using Choice = std::pair<std::string, std::string>;

class MenuScreen : public CTavScreen {
public:
    std::function<void()> popupHook;
    std::function<BOOL()> menuHook;
    std::vector<std::string> popupClicks;
    std::vector<Choice> menuClicks;
    std::vector<DWORD> objectDowns;

    void OnPopupMenuItemClicked(const char* item) override {
        popupClicks.emplace_back(item);
        if (popupHook)
            popupHook();
    }
    BOOL OnMenuItemClicked(const char* top, const char* sub) override {
        menuClicks.emplace_back(top, sub);
        return menuHook ? menuHook() : FALSE;
    }
    BOOL OnObjectLMouseDown(DWORD id) override {
        objectDowns.push_back(id);
        return FALSE;
    }
};

class MenuTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app, 320, 240), TAVERROR_OK);
        ShowNewScreen();
    }
    static MenuScreen* NewScreen() {
        auto* made = new MenuScreen;
        EXPECT_EQ(made->Initialize(1), TAVERROR_OK);
        return made;
    }
    void ShowNewScreen() {
        screen = NewScreen();
        app.SetChildScreen(screen);
    }
    void Click(Point at) {
        display->LClick(at.first, at.second);
        Frame(app);
    }
    void Move(Point at) {
        display->MouseMove(at.first, at.second);
        Frame(app);
    }
    CTavObject* AddPlain(DWORD id, int x, int y, int w, int h) {
        auto* object = new CTavObject;
        EXPECT_EQ(object->Initialize(id, static_cast<float>(x), static_cast<float>(y), w, h, screen),
                  TAVERROR_OK);
        screen->AddObject(object);
        return object;
    }

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
    CTavMenuBar* AttachBar(CTavScreen* owner) {
        auto* bar = new CTavMenuBar;
        EXPECT_EQ(bar->Initialize(owner), TAVERROR_OK);
        bar->AddMenu("FILE");
        bar->AddMenu("EDIT");
        for (const char* item : {"New", "Open", "Save", "Exit"})
            bar->AddMenuItem(item, 0);
        bar->AddMenuItem("Undo", 1);
        bar->AddMenuItem("Select everything in the view", 1);
        EXPECT_EQ(owner->SetMenuBar(bar), TAVERROR_OK);
        return bar;
    }
    static Point TitlePoint(CTavMenuBar* bar, int menu) {
        CTavScreen* owner = bar->GetOwnerScreen();
        return {owner->GetAppX() + bar->GetTitleX(menu) + bar->GetTitleWidth(menu) / 2, owner->GetAppY() + 8};
    }
    static Point ItemPoint(CTavMenuBar* bar, int row) {
        CTavObject* drop = bar->GetDropDown();
        EXPECT_NE(drop, nullptr);
        if (drop == nullptr)
            return {-1, -1};
        CTavScreen* owner = bar->GetOwnerScreen();
        return {owner->GetAppX() + static_cast<int>(drop->GetX()) + drop->GetWidth() - 3,
                owner->GetAppY() + static_cast<int>(drop->GetY()) + row * 15 + 7};
    }
    void Choose(CTavMenuBar* bar, int menu, int row) {
        Click(TitlePoint(bar, menu));
        Click(ItemPoint(bar, row));
    }

    CTavApp app;
    MenuScreen* screen = nullptr;
};

// ---- popup menu ----

TEST_F(MenuTest, PopupMenuInitializeAndItems) {
    const std::string back = ArtPath("popmenuback.bmp");
    CTavPopupMenu menu;
    EXPECT_EQ(menu.Initialize(5, 5, 0, 30, screen, back.c_str()), TAVERROR_INVALIDARG);
    EXPECT_EQ(menu.Initialize(5, 5, 100, 0, screen, back.c_str()), TAVERROR_INVALIDARG);
    EXPECT_EQ(menu.Initialize(5, 5, 100, 30, nullptr, back.c_str()), TAVERROR_NOPARENT);
    EXPECT_EQ(menu.Initialize(5, 5, 100, 30, screen, ""), TAVERROR_LOADBITMAP);
    EXPECT_EQ(menu.Initialize(5, 5, 100, 30, screen, "missing.bmp"), TAVERROR_OK); // draws nothing
    menu.Finish();
    CTavPopupMenu* items = OpenPopup(); // adds "Copy" twice and an empty item
    EXPECT_EQ(items->GetItemCount(), 3);
    EXPECT_TRUE(items->HasItem("Paste"));
    EXPECT_FALSE(items->HasItem("Delete"));
}

TEST_F(MenuTest, PopupHighlightFollowsTheMouse) {
    CTavPopupMenu* menu = OpenPopup();
    const struct {
        Point at;
        int item;
    } moves[] = {
        {{60, 45}, 0}, {{60, 54}, 0},  {{60, 55}, 1},   {{149, 60}, 1}, {{60, 84}, 2}, {{60, 90}, -1},
        {{60, 70}, 2}, {{60, 39}, -1}, {{200, 45}, -1}, {{49, 45}, -1}, {{60, 46}, 0},
    };
    for (const auto& move : moves) {
        Move(move.at);
        EXPECT_EQ(menu->GetHighlightedItem(), move.item) << move.at.first << "," << move.at.second;
    }
}

TEST_F(MenuTest, PopupReleases) {
    const struct {
        const char* what;
        Point at;
        std::vector<std::string> clicks;
    } rows[] = {
        {"on Copy", {60, 60}, {"Copy"}},
        {"on Paste's last row of pixels", {140, 84}, {"Paste"}},
        {"below the last item", {60, 92}, {}},
        {"outside", {250, 200}, {}},
    };
    for (const auto& row : rows) {
        screen->popupClicks.clear();
        OpenPopup();
        Click(row.at);
        EXPECT_EQ(screen->popupClicks, row.clicks) << row.what;
        EXPECT_EQ(screen->GetPopupMenu(), nullptr) << row.what << ": the menu stays open";
    }
}

TEST_F(MenuTest, PopupClosesBeforeItsHandlerWhichMayOpenAnother) {
    OpenPopup();
    auto* seen = reinterpret_cast<CTavObject*>(1);
    auto* second = new CTavPopupMenu;
    ASSERT_EQ(second->Initialize(10, 10, 80, 30, screen, ArtPath("popmenuback.bmp").c_str()), TAVERROR_OK);
    second->AddItem("Again");
    screen->popupHook = [&] {
        seen = screen->GetPopupMenu();
        screen->SetPopupMenu(second);
        screen->popupHook = nullptr;
    };
    Click({60, 45});
    EXPECT_EQ(seen, nullptr);
    EXPECT_EQ(screen->GetPopupMenu(), second);
    Click({20, 15});
    EXPECT_EQ(screen->popupClicks, (std::vector<std::string>{"Cut", "Again"}));
}

TEST_F(MenuTest, PopupHandlersThatDestroyTheScreen) {
    const std::function<void()> destroyers[] = {
        [&] { app.SetChildScreen(NewScreen()); },
        [&] { screen->Close(); },
        [&] { screen->RemoveObject(7); },
    };
    for (const auto& destroy : destroyers) {
        ShowNewScreen();
        AddPlain(7, 50, 40, 100, 60); // under the menu
        OpenPopup();
        screen->popupHook = destroy;
        Click({60, 60});
        Frame(app, 2);
    }
    EXPECT_TRUE(screen->objectDowns.empty());
}

TEST_F(MenuTest, PopupIsDrawnAboveTheObjects) {
    AddPlain(3, 0, 0, 320, 240)->GetImage()->Fill(0x123456);
    CTavPopupMenu* menu = OpenPopup();
    Move({60, 62});
    ASSERT_EQ(menu->GetHighlightedItem(), 1);
    const auto& frame = display->LastFrame();
    EXPECT_EQ(frame.At(145, 62), 0x808080u); // the highlighted row
    EXPECT_NE(frame.At(145, 47), 0x808080u); // another row
    EXPECT_NE(frame.At(145, 47), 0x123456u);
    EXPECT_EQ(frame.At(200, 62), 0x123456u); // beside the menu
}

// ---- menu bar ----

TEST_F(MenuTest, MenuBarInitializeAndMenus) {
    auto* sub = new MenuScreen;
    ASSERT_EQ(sub->Initialize(4, 10, 30, 100, 100, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    screen->AddSubScreen(sub);
    CTavMenuBar bar;
    EXPECT_EQ(bar.Initialize(nullptr), TAVERROR_NOPARENT);
    EXPECT_EQ(bar.Initialize(sub), TAVERROR_NOPARENT);
    ASSERT_EQ(bar.Initialize(screen), TAVERROR_OK);
    EXPECT_EQ(bar.GetWidth(), 320);
    EXPECT_EQ(bar.GetHeight(), 16);
    EXPECT_EQ(bar.AddMenu(""), -1);
    EXPECT_EQ(bar.AddMenu("FILE"), 0);
    EXPECT_EQ(bar.AddMenu("EDIT"), 1);
    EXPECT_EQ(bar.AddMenuItem("New", 2), -1);
    EXPECT_EQ(bar.AddMenuItem("New", -1), -1);
    EXPECT_EQ(bar.AddMenuItem("Exit", 0), 0);
    // Titles from 0, as wide as their text, 5 apart.
    EXPECT_EQ(bar.GetTitleX(0), 0);
    EXPECT_GT(bar.GetTitleWidth(0), 0);
    EXPECT_EQ(bar.GetTitleX(1), bar.GetTitleWidth(0) + 5);
    bar.Finish();
}

TEST_F(MenuTest, ReleasesOnTheBarOpenAndCloseMenus) {
    CTavMenuBar* bar = AttachBar(screen);
    const Point file = TitlePoint(bar, 0), edit = TitlePoint(bar, 1);
    const struct {
        const char* what;
        Point at;
        int open;
    } rows[] = {
        {"FILE", file, 0}, {"FILE again", file, -1},
        {"FILE", file, 0}, {"EDIT", edit, 1},
        {"FILE", file, 0}, {"elsewhere", {160, 200}, -1},
        {"EDIT", edit, 1}, {"between titles", {bar->GetTitleX(1) - 2, 8}, -1},
        {"FILE", file, 0}, {"right of the titles", {300, 8}, -1},
    };
    for (const auto& row : rows) {
        Click(row.at);
        EXPECT_EQ(bar->GetOpenMenu(), row.open) << row.what;
        EXPECT_EQ(bar->GetDropDown() != nullptr, row.open >= 0) << row.what;
    }
    EXPECT_TRUE(screen->menuClicks.empty());
}

TEST_F(MenuTest, ChoosingAnItemClosesTheMenuBeforeTheHandler) {
    CTavMenuBar* bar = AttachBar(screen);
    AddPlain(5, 0, 0, 320, 240); // below the bar and its drop-down
    int openInHandler = 99;
    screen->menuHook = [&] {
        openInHandler = bar->GetOpenMenu();
        return FALSE;
    };
    Click(TitlePoint(bar, 0));
    const Point exit = ItemPoint(bar, 3);
    Click(exit);
    EXPECT_EQ(screen->menuClicks, (std::vector<Choice>{{"FILE", "Exit"}}));
    EXPECT_EQ(openInHandler, -1);
    EXPECT_EQ(bar->GetDropDown(), nullptr);
    EXPECT_TRUE(screen->objectDowns.empty())
        << "a press on the bar or its drop-down reached the object below";
    Click(exit); // nothing open there now: the object gets it
    EXPECT_EQ(screen->objectDowns, std::vector<DWORD>{5});
}

TEST_F(MenuTest, MenuBarHighlightFollowsTheMouse) {
    CTavMenuBar* bar = AttachBar(screen);
    const Point file = TitlePoint(bar, 0), edit = TitlePoint(bar, 1);
    Click(file);
    const Point row2 = ItemPoint(bar, 2), row0 = ItemPoint(bar, 0);
    const struct {
        const char* what;
        Point at;
        bool fileTitle, editTitle;
        int item;
    } rows[] = {
        {"EDIT title", edit, false, true, -1}, {"row 2", row2, false, false, 2},
        {"row 0", row0, false, false, 0},      {"FILE title", file, true, false, -1},
        {"row 2", row2, false, false, 2},      {"outside", {200, 200}, false, false, -1},
    };
    for (const auto& row : rows) {
        Move(row.at);
        EXPECT_EQ(bar->IsTitleHighlighted(0), row.fileTitle) << row.what;
        EXPECT_EQ(bar->IsTitleHighlighted(1), row.editTitle) << row.what;
        EXPECT_EQ(bar->GetHighlightedItem(0), row.item) << row.what;
    }
    EXPECT_EQ(bar->GetOpenMenu(), 0) << "moving opens and closes nothing";
}

TEST_F(MenuTest, DropDownIsDrawnUnderItsTitleAndFitsItsItems) {
    screen->SetBackColor(0x00FFFF);
    CTavMenuBar* bar = AttachBar(screen);
    Click(TitlePoint(bar, 1));
    CTavObject* drop = bar->GetDropDown();
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->GetX(), static_cast<float>(bar->GetTitleX(1)));
    EXPECT_EQ(drop->GetY(), 16.0f);
    EXPECT_EQ(drop->GetHeight(), 2 * 15);
    int longest = 0;
    drop->GetImage()->GetTextExtent("Select everything in the view", "Verdana", 0, 15, 0, &longest, nullptr);
    EXPECT_GE(drop->GetWidth(), longest);

    Move(ItemPoint(bar, 1));
    const auto& frame = display->LastFrame();
    const int right = static_cast<int>(drop->GetX()) + drop->GetWidth() - 1;
    EXPECT_EQ(frame.At(right, 16 + 3), 0x404040u);      // row 0: back colour
    EXPECT_EQ(frame.At(right, 16 + 15 + 3), 0xFFu);     // row 1: highlighted
    EXPECT_EQ(frame.At(right, 16 + 30 + 3), 0x00FFFFu); // below it: the screen
    EXPECT_EQ(frame.At(319, 3), 0x404040u);             // the bar spans the screen
    Click({160, 200});
    EXPECT_EQ(display->LastFrame().At(right, 16 + 3), 0x00FFFFu);
}

TEST_F(MenuTest, MenuBarOnAPopupWorksInThePopupsCoordinates) {
    auto* dialog = new MenuScreen;
    ASSERT_EQ(dialog->Initialize(3, 60, 50, 200, 150, TAVSCREEN_POPUP, screen), TAVERROR_OK);
    CTavMenuBar* bar = AttachBar(dialog);
    EXPECT_EQ(dialog->SetWidth(150), TAVERROR_OK);
    EXPECT_EQ(bar->GetWidth(), 150);
    EXPECT_FALSE(bar->HitTest(bar->GetTitleX(0) + 2, 8)) << "the bar is at the top of the popup";
    const Point file = TitlePoint(bar, 0);
    ASSERT_EQ(file.second, 58);
    dialog->LMouseUp(file.first, file.second);
    const Point save = ItemPoint(bar, 2);
    EXPECT_TRUE(bar->HitTest(save.first, save.second));
    dialog->LMouseUp(save.first, save.second);
    EXPECT_EQ(dialog->menuClicks, (std::vector<Choice>{{"FILE", "Save"}}));
    dialog->Finish();
    delete dialog;
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
        [&] { return app.SetChildScreen(NewScreen()), TRUE; },
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
            if (!yes)
                return FALSE;
            screen->Close();
            return TRUE;
        },
    };
    for (const auto& handler : handlers) {
        ShowNewScreen();
        replacement = nullptr;
        CTavMenuBar* bar = AttachBar(screen);
        MenuScreen* owner = screen;
        screen->menuHook = handler;
        Choose(bar, 0, 3);
        Frame(app, 2);
        if (app.GetChildScreen() == owner) {
            EXPECT_EQ(owner->GetMenuBar(), replacement);
            Click({10, 8}); // whatever bar is left still works
        }
    }
    EXPECT_EQ(app.GetChildScreen(), nullptr) << "FILE > Exit closed the screen";
}

} // namespace
} // namespace tav::testing
