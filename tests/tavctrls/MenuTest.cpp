#include "HeadlessApp.h"

#include <array>
#include <tuple>
#include <utility>

namespace tav::testing {
namespace {

using Point = std::pair<int, int>;
using Log = std::vector<std::string>;
// One thing done to the waiting box at an idle moment.
using BoxStep = std::function<void(CTavScreen*)>;

class MenuTest : public ScreenAppTest<> {
protected:
    void Click(Point at) { ScreenAppTest::Click(at.first, at.second); }
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
    BoxStep Press(DWORD id) {
        return [this, id](CTavScreen* box) {
            CTavObject* object = box->GetObjectByID(id);
            ASSERT_NE(object, nullptr) << "object " << id;
            display->LClick(static_cast<int>(object->GetAppX()) + object->GetWidth() / 2,
                            static_cast<int>(object->GetAppY()) + object->GetHeight() / 2);
        };
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
    CTavMenuBar* AttachBar() {
        auto* bar = new CTavMenuBar;
        EXPECT_EQ(bar->Initialize(screen), TAVERROR_OK);
        bar->AddMenu("FILE");
        bar->AddMenu("EDIT");
        for (const char* item : {"New", "Open", "Save", "Exit"})
            bar->AddMenuItem(item, 0);
        for (const char* item : {"Undo", "Select everything in the view"})
            bar->AddMenuItem(item, 1);
        EXPECT_EQ(screen->SetMenuBar(bar), TAVERROR_OK);
        return bar;
    }

    size_t done = 0;
};
using MessageBoxTest = MenuTest;

TEST_F(MessageBoxTest, OnlyTheirButtonsAndKeysCloseTheBoxes) {
    // The question's ids: 0 Yes, 1 No, 2 the text. Return answers Yes, Escape No.
    const auto key = [this](UINT key) { return [this, key](CTavScreen*) { display->KeyDown(key); }; };
    for (const auto& [steps, answer] : {std::pair{std::vector{Press(0)}, TRUE},
                                        {{Press(2), Press(1)}, FALSE},
                                        {{key(VK_SPACE), key(VK_RETURN)}, TRUE},
                                        {{key(VK_ESCAPE)}, FALSE}}) {
        Script(steps);
        EXPECT_EQ(screen->QuestionBox("Are you sure you want to exit?"), answer);
        EXPECT_EQ(done, steps.size()) << "the box closed early";
    }
    Script({[&](CTavScreen* box) {
                CTavObject* ok = box->GetObjectByID(0);
                EXPECT_EQ((std::array{int(ok->GetX()), int(ok->GetY()), ok->GetWidth(), ok->GetHeight()}),
                          (std::array{80, 80, 50, 20}));
                auto* text = dynamic_cast<CTavStatic*>(box->GetObjectByID(1));
                ASSERT_NE(text, nullptr);
                EXPECT_STREQ(text->GetText(), "Saved.");
                EXPECT_TRUE(text->IsMultiline() && text->IsTranslucent());
            },
            Press(1), Press(2), key(VK_RETURN)});
    screen->MessageBox("Saved.");
    EXPECT_EQ(done, 4u) << "only OK (or Return) closes a message box";
}

TEST_F(MessageBoxTest, ABoxGoesOverTheShowingDialogAndGrowsToItsText) {
    auto* dialog = new LogScreen;
    ASSERT_EQ(dialog->Initialize(5, 20, 20, 200, 160, TAVSCREEN_POPUP, screen), TAVERROR_OK);
    AddButton(dialog, 1, 10, 60);
    // The application's screen asks while its dialog shows; the box has its text's lines and no more.
    dialog->On("button", FALSE, [this](DWORD) {
        screen->MessageBox("Saved.");
        screen->MessageBox("Saving failed: the folder chosen for the project is gone, choose another.");
    });
    std::vector<int> seen; // each box's parent, size and lines
    display->SetIdleHandler([&](platform::HeadlessDisplay&) {
        CTavScreen* inner = screen->GetInnermostScreen();
        if (CTavMessageBox* box = Waiting(inner)) {
            auto* text = static_cast<CTavStatic*>(box->GetObjectByID(1));
            for (int i : {int(box->GetParent()->GetID()), box->GetWidth(), box->GetHeight(),
                          int(text->GetLines().size())})
                seen.push_back(i);
            Press(0)(box);
        } else if (inner == dialog && screen->IsModalRunning()) {
            if (seen.empty())
                return Press(1)(inner);
            dialog->Close();
        }
    });
    ASSERT_EQ(screen->SetChildScreen(dialog), TAVERROR_OK);
    EXPECT_EQ(seen, (std::vector<int>{5, 100, 120, 2, 5, 182, 150, 4}));
}

// Half the asking screen, centred, the text wrapped inside: taller only for more lines, wider only when
// they do not fit at the screen's height, never past the screen.
TEST_F(MessageBoxTest, BoxesKeepHalfTheScreenUnlessTheirTextNeedsMore) {
    CTavMessageBox message;
    CTavQuestionBox question;
    const std::string sentence = "The project was saved.", tall(800, 'x');
    const std::tuple<CTavMessageBox*, std::string, std::array<int, 4>> cases[] = {
        {&message, "Saved.", {80, 60, 160, 120}},  {&message, sentence, {80, 60, 160, 120}},
        {&question, sentence, {80, 60, 160, 120}}, {&message, sentence + " " + sentence, {80, 45, 160, 150}},
        {&message, tall, {0, 0, 320, 240}},        {&question, tall, {0, 0, 320, 240}},
    };
    for (const auto& [box, text, place] : cases) {
        const auto at = CTavMessageBox::PlaceOver(*screen, text, box->NeededRoom());
        EXPECT_EQ((std::array{at.x, at.y, at.width, at.height}), place) << text;
    }
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
    // The menu is closed before its handler runs, which may open another one.
    screen->hook = [this](const std::string&) {
        EXPECT_EQ(screen->GetPopupMenu(), nullptr);
        return OpenPopup(), FALSE;
    };
    OpenPopup();
    Click({60, 60});
    EXPECT_NE(screen->GetPopupMenu(), nullptr);
    // Escape closes an open menu, the popup first, then the bar's.
    CTavMenuBar* bar = AttachBar();
    Click({bar->GetTitleX(0) + 5, 8});
    for (const int open : {0, -1}) {
        display->KeyDown(VK_ESCAPE);
        Frame(app);
        EXPECT_EQ(screen->GetPopupMenu(), nullptr);
        EXPECT_EQ(bar->GetOpenMenu(), open);
    }
}

TEST_F(MenuTest, PopupHandlersThatDestroyTheScreen) {
    for (const std::string destroys : {"child", "close", "object"}) {
        ShowNewScreen();
        AddPlain(screen, 7, 50, 40, 100, 60); // under the menu
        OpenPopup();
        screen->hook = [this, destroys, owner = screen](const std::string&) {
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
            Script({[&](CTavScreen*) {
                        EXPECT_EQ(static_cast<CTavMenuBar*>(screen->GetMenuBar())->GetOpenMenu(), -1);
                    },
                    Press(0)});
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
