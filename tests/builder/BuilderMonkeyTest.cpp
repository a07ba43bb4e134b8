// The whole designer under random input for fixed seeds, modal dialogs and boxes answered at random.
// Nothing may crash, leak or hang, the tree must match the project, no drag may outlive its gesture,
// the project left at the end must read back from its own file unchanged, and undoing every step since
// it was opened gives that project back to the byte (redoing them, the final one).
#include "builder/FileChooser.h"
#include "builder/SelectionArrows.h"
#include "codegen/ScreenClassGenerator.h"
#include "model/CodeNames.h"
#include "model/ProjectFile.h"
#include "tavctrls/platform/Messages.h"
#include "tavctrls/platform/ProcessEnd.h"
#include "tests/builder/MainScreenDriver.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <random>
#include <set>
#include <typeinfo>

namespace tav::testing {
namespace {

namespace fs = std::filesystem;
using builder::BuilderApp;
using builder::MainScreen;

// The five seeds take about three minutes under AddressSanitizer on two cores.
constexpr int kEventsPerSeed = 24000;
// After the budget: actions for a project to turn up, and modal actions before counting as stuck.
constexpr int kActionsForAProject = 3000, kActionsToLeave = 400;
// Idle calls without a frame before the program counts as hung, and its status then (the display uses 3).
constexpr int kIdleCallsWithoutFrame = 100000, kStuckStatus = 4;
constexpr int kWidth = 800, kHeight = 600;

// A project with every kind of object and every type of screen, drawn with the designer's own art.
std::unique_ptr<Project> MonkeyProject() {
    auto project = std::make_unique<Project>();
    project->name = "Monkey";
    project->x = 10;
    AddScreen(*project, "MyScreen", ScreenType::FullScreen, 100, 100, "art//viewback.bmp").startup = 1;
    AddScreen(*project, "Popup", ScreenType::Popup, 300, 200, "art//dback.bmp").x = 100;
    AddScreen(*project, "Panel", ScreenType::SubScreen, 240, 160, "art//treeback.bmp").backgroundMode =
        BackgroundMode::Tile;
    AddScreen(*project, "Empty").backgroundMode = BackgroundMode::Stretch;
    AddObject(*project, ObjectKind::Object, "MyScreen", "Logo", 20, 20, 120, 90).image = "art//logo.bmp";
    ObjectDef& go = AddObject(*project, ObjectKind::Button, "MyScreen", "Go", 160, 20, 80, 24);
    go.caption = "Go";
    go.clickScreen = "Popup";
    go.textOffsetX = 12;
    ObjectDef& text = AddObject(*project, ObjectKind::Static, "MyScreen", "Text", 160, 60, 200, 40);
    text.caption = "Two lines of text";
    text.image = "art//editback.bmp";
    text.multiline = text.transparent = 1;
    AddObject(*project, ObjectKind::Edit, "MyScreen", "Edit", 160, 110, 200, 22).caption = "edit me";
    AddObject(*project, ObjectKind::CheckBox, "MyScreen", "Check", 20, 130, 100, 20).bold = 1;
    AddObject(*project, ObjectKind::ListBox, "MyScreen", "List", 20, 170, 180, 120).columnBold = 1;
    AddObject(*project, ObjectKind::Tree, "MyScreen", "Tree", 220, 170, 150, 120);
    ObjectDef& spin = AddObject(*project, ObjectKind::Animation, "MyScreen", "Spin", 400, 20, 64, 64);
    spin.frames = {"art//spin1.bmp", "art//spin2.bmp", "art//spin3.bmp"};
    spin.interval = 100;
    spin.transparent = 1;
    AddObject(*project, ObjectKind::Button, "Popup", "Close", 200, 160, 80, 24).caption = "Close";
    AddObject(*project, ObjectKind::Static, "Popup", "Label", 20, 20).caption = "A popup";
    AddObject(*project, ObjectKind::CheckBox, "Panel", "Sound", 10, 10).caption = "Sound";
    AddObject(*project, ObjectKind::Animation, "Panel", "Led", 120, 40, 32, 32).frames = {"art//ledon.bmp",
                                                                                          "art//ledoff.bmp"};
    project->modified = 0;
    return project;
}

// One random action per frame, in modal loops too; draws depend on no address, so a seed replays.
class BuilderMonkeyTest : public HeadlessAppTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        // Saves land in the working folder; FILE > Open finds the project and one that cannot be read.
        previousDirectory = fs::current_path();
        fs::current_path(folder.path());
        UsePrivateXdgFolders(xdg.path());
        fs::create_directory("save");
        ASSERT_TRUE(MonkeyProject()->WriteProjectFile("save/Monkey.tvp"));
        test::WriteFile("save/Broken.tvp", "not a project\r\n");
        // Build and Run stops at once for want of cmake: no build in the background, so a seed replays.
        path = std::getenv("PATH");
        ::setenv("PATH", "/nonexistent", 1);
    }
    void TearDown() override {
        ::setenv("PATH", path.c_str(), 1);
        fs::current_path(previousDirectory);
        HeadlessAppTest::TearDown();
    }

    // One run as the entry point starts it, project loaded; the status it ends with (-1: did not start).
    int RunDesigner(bool freshDisplay) {
        if (freshDisplay) {
            auto headless = std::make_unique<platform::HeadlessDisplay>();
            headless->SetCloseWhenInputEnds(false);
            display = headless.get();
            platform::SetNextDisplay(std::move(headless));
        }
        BuilderApp app;
        if (app.doInit(nullptr, SW_SHOWNORMAL, "Tavrin Controls Builder", TAVAPP_WINDOW, kWidth, kHeight, 0,
                       0, 24) != TAVERROR_OK)
            return -1;
        auto* main = new MainScreen;
        if (main->Initialize(0) != TAVERROR_OK || app.SetChildScreen(main) != TAVERROR_OK)
            return -1;
        app.SetShowFrameRate(TRUE);
        app.SetWaitBlank(TRUE);
        main->TakeProject(MonkeyProject());
        opened = nullptr;
        display->SetIdleHandler([this, &app](platform::HeadlessDisplay&) { Act(app); });
        return Run(app);
    }

    std::string Where() const {
        std::string text =
            "seed " + std::to_string(GetParam()) + ", action " + std::to_string(events) + ":\n";
        for (const std::string& line : recent)
            text += "  " + line + "\n";
        return text;
    }

    void Act(BuilderApp& app) {
        if (display->FramesPresented() == lastFrame) {
            if (++idleWithoutFrame > kIdleCallsWithoutFrame) {
                ADD_FAILURE() << "the designer waits for input without drawing a frame; " << Where();
                platform::EndProcess(kStuckStatus);
            }
            return;
        }
        lastFrame = display->FramesPresented();
        idleWithoutFrame = 0;
        auto* main = dynamic_cast<MainScreen*>(app.GetChildScreen());
        if (main == nullptr || finished)
            return;
        CTavScreen* inner = main->GetInnermostScreen();
        if (inner != main && inner->GetParent() != nullptr && inner->GetParent()->IsModalRunning() &&
            inner->GetParent()->GetChildScreen() == inner)
            return InModal(*inner, *main);
        if (inner != main)
            return;
        modalDepth = actionsAfterBudget = 0;
        if (events - lastCheck >= 50 || events >= kEventsPerSeed) {
            lastCheck = events;
            CheckTopLevel(app, *main);
        }
        // A project that arrived with a step already (New's startup screen) was not seen unchanged; a
        // later one may take its address.
        if (main->GetProject() != opened)
            opened = nullptr;
        if (main->Edits().StepCount() == 0 && main->GetProject() != nullptr) {
            opened = main->GetProject();
            openedText = TextWithoutViewIds(*opened);
        }
        if (events < kEventsPerSeed ||
            (main->GetProject() == nullptr && events < kEventsPerSeed + kActionsForAProject))
            return TopLevel(*main);
        finished = true;
        if (Project* project = main->GetProject()) {
            finalText = FormatProjectFile(*project);
            written = project->WriteProjectFile(folder / "final.tvp", &writeError);
            if (FindUnwritableFields(*project).empty()) { // every step undone, redone
                const std::string last = TextWithoutViewIds(*project);
                int undone = 0;
                for (; main->Edits().CanUndo(); ++undone)
                    main->OnUndo();
                if (project == opened) {
                    EXPECT_EQ(TextWithoutViewIds(*project), openedText) << "undone; " << Where();
                }
                // Steps the monkey had undone itself stay undone.
                while (undone-- > 0)
                    main->OnRedo();
                EXPECT_EQ(TextWithoutViewIds(*project), last) << "redone; " << Where();
            }
        }
        display->DestroyWindow();
    }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random); }
    template <typename T>
    T Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
    }
    Point PointIn(float left, float top, int width, int height) {
        const int x = static_cast<int>(left) + Uniform(0, std::max(0, width - 1));
        const int y = static_cast<int>(top) + Uniform(0, std::max(0, height - 1));
        return {std::clamp(x, 0, kWidth - 1), std::clamp(y, 0, kHeight - 1)};
    }
    template <typename T>
    Point PointIn(const T& o) {
        return PointIn(o.GetAppX(), o.GetAppY(), o.GetWidth(), o.GetHeight());
    }

    void Note(const std::string& what, Point at = {-1, -1}) {
        recent.push_back("#" + std::to_string(++events) + " " + what +
                         (at[0] < 0 ? "" : " " + std::to_string(at[0]) + "," + std::to_string(at[1])));
        if (std::getenv("TAV_MONKEY_LOG") != nullptr)
            std::cerr << recent.back() << "\n";
        if (recent.size() > 12)
            recent.pop_front();
    }

    // A click, double click, right click (0, 1, 2) at `at`; 3: a drag from there by up to `reach`.
    void Press(int gesture, Point at, const std::string& what, int reach = 150) {
        static const char* const kNames[] = {"click ", "double click ", "right click "};
        if (gesture == 3)
            return Drag(at, PointIn(at[0] - reach, at[1] - reach, 2 * reach, 2 * reach), what);
        gesture == 0   ? display->LClick(at[0], at[1])
        : gesture == 1 ? display->DoubleClick(at[0], at[1])
                       : display->RClick(at[0], at[1]);
        Note(kNames[gesture] + what, at);
    }
    void Gesture(Point at, const std::string& what, int reach = 150) {
        static const std::vector<double> kWeights = {10, 3, 3, 4};
        Press(std::discrete_distribution<int>(kWeights.begin(), kWeights.end())(random), at, what, reach);
    }

    // Press, moves with frames between, release; halfway sometimes a key, right click or focus loss.
    void Drag(Point from, Point to, const std::string& what) {
        display->MouseMove(from[0], from[1]);
        display->LButtonDown(from[0], from[1]);
        const int steps = Uniform(1, 5);
        const int interruption = Chance(0.15) ? Uniform(0, 4) : -1;
        static const unsigned kKeys[] = {VK_F5, VK_ESCAPE, VK_DELETE};
        for (int i = 1; i <= steps; ++i) {
            display->Wait(1);
            const Point at{from[0] + (to[0] - from[0]) * i / steps, from[1] + (to[1] - from[1]) * i / steps};
            display->MouseMove(at[0], at[1]);
            if (i != (steps + 1) / 2 || interruption < 0)
                continue;
            interruption < 3    ? display->KeyDown(kKeys[interruption])
            : interruption == 3 ? display->RClick(at[0], at[1])
                                : FocusAway(2);
        }
        display->LButtonUp(to[0], to[1]);
        Note("drag " + what + (interruption >= 0 ? " interrupted" : ""), from);
    }

    // A key or a typed character; no dots or slashes, so that typed folders stay inside the work folder.
    void Key(const std::string& what) {
        static const std::string kTyped = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _";
        static const std::vector<unsigned> kKeys = {VK_ESCAPE, VK_RETURN, VK_TAB,  VK_LEFT,   VK_RIGHT,
                                                    VK_UP,     VK_DOWN,   VK_BACK, VK_DELETE, VK_F5};
        using namespace platform::mod;
        static const std::vector<std::pair<unsigned, unsigned>> kChords = {
            {'Z', kControl}, {'Z', kControl | kShift}, {'Y', kControl}, {'X', kControl},   {'C', kControl},
            {'V', kControl}, {'D', kControl},          {'A', kControl}, {VK_LEFT, kShift}, {VK_DOWN, kShift}};
        if (Chance(0.2)) { // undo, redo, the clipboard, select all; Shift+arrows nudge by 10
            const auto [key, held] = Pick(kChords);
            display->KeyDown(key, held);
            return Note("key " + std::to_string(key) + " held " + std::to_string(held) + " " + what);
        }
        if (!Chance(0.45)) {
            const unsigned key = Pick(kKeys);
            display->KeyDown(key);
            return Note("key " + std::to_string(key) + " " + what);
        }
        const char c = kTyped[static_cast<std::size_t>(Uniform(0, static_cast<int>(kTyped.size()) - 1))];
        display->KeyDown(c == '_' ? 0xBD : static_cast<unsigned>(std::toupper(c))); // 0xBD: the minus key
        display->Char(static_cast<unsigned char>(c));
        Note(std::string("type '") + c + "' " + what);
    }

    void FocusAway(int frames) {
        display->Activate(false);
        display->Wait(frames);
        display->Activate(true);
    }

    // The visible controls of a screen and its sub screens but the view's arrows.
    static std::vector<CTavObject*> Controls(const CTavScreen& screen) {
        std::vector<CTavObject*> controls;
        for (int i = 0; i < screen.GetObjectCount(); ++i)
            if (CTavObject* o = screen.GetObjectAt(i); o->IsVisible() && !builder::IsArrowId(o->GetID()))
                controls.push_back(o);
        for (int i = 0; i < screen.GetSubScreenCount(); ++i) {
            const std::vector<CTavObject*> inner = Controls(*screen.GetSubScreenAt(i));
            controls.insert(controls.end(), inner.begin(), inner.end());
        }
        return controls;
    }

    // No drag left, all parts there, the tree shows the project, names unique, the file text reads back.
    void CheckTopLevel(BuilderApp& app, MainScreen& main) {
        SCOPED_TRACE(Where());
        EXPECT_EQ(app.DragState, BuilderApp::NoDrag);
        EXPECT_EQ(app.DragImage(), nullptr);
        for (DWORD id = MainScreen::ProjectTree; id <= MainScreen::LastPaletteIcon; ++id)
            EXPECT_NE(main.GetObjectByID(id), nullptr) << "object " << id;
        ASSERT_NE(main.View(), nullptr);
        for (DWORD id = builder::LeftArrow; id <= builder::DownArrow; ++id)
            EXPECT_NE(main.View()->GetObjectByID(id), nullptr) << "arrow " << id;
        CTavTree* tree = main.Tree();
        ASSERT_NE(tree, nullptr);
        const Project* project = main.GetProject();
        if (project == nullptr) {
            ASSERT_EQ(tree->GetItemCount(), 1);
            EXPECT_EQ(tree->GetItemText(tree->GetItemIDs().front()), "No Project Loaded");
            return;
        }
        std::set<std::string> screens, objects;
        for (int s = 0; s < project->ScreenCount(); ++s)
            EXPECT_TRUE(screens.insert(project->Screen(s).name).second) << "two " << project->Screen(s).name;
        for (int o = 0; o < project->ObjectCount(); ++o) {
            const ObjectDef& object = project->Object(o);
            EXPECT_EQ(screens.count(object.screenName), 1u) << object.name << " is on no screen";
            EXPECT_TRUE(objects.insert(object.screenName + "/" + object.name).second)
                << "two " << object.name;
        }
        EXPECT_EQ(tree->GetItemCount(), static_cast<int>(1 + screens.size() + objects.size()))
            << "the tree does not show the project";
        for (const CodeProblem& problem : CheckCode(*project)) // dialogs, renames, deletes keep it buildable
            ADD_FAILURE() << DescribeProblem(problem);
        // A text with a line feed cannot be stored; the designer refuses to save such a project.
        if (!FindUnwritableFields(*project).empty())
            return;
        const std::string text = FormatProjectFile(*project);
        Project again;
        std::string error;
        ASSERT_TRUE(ParseProjectFile(again, text, &error)) << error;
        EXPECT_EQ(FormatProjectFile(again), text) << "the project does not read back";
    }

    void TopLevel(MainScreen& main) {
        auto* bar = dynamic_cast<CTavMenuBar*>(main.GetMenuBar());
        ASSERT_NE(bar, nullptr);
        if (bar->GetOpenMenu() >= 0 && bar->GetDropDown() != nullptr && Chance(0.85))
            return Press(0, PointIn(*bar->GetDropDown()), bar->GetMenuTitle(bar->GetOpenMenu()));
        for (CTavScreen* screen : {static_cast<CTavScreen*>(&main), static_cast<CTavScreen*>(main.View())})
            if (CTavObject* popup = screen->GetPopupMenu(); popup != nullptr && Chance(0.85))
                return Press(0, PointIn(*popup), "a popup menu");
        // Menu titles, tree, palette, view, keys, any point, a move, a pause, focus away, close button.
        static const std::vector<double> kWeights = {24, 20, 9, 24, 12, 4, 3, 2, 1, 0.03};
        const Point anywhere = PointIn(0, 0, kWidth, kHeight);
        switch (std::discrete_distribution<int>(kWeights.begin(), kWeights.end())(random)) {
        case 0: {
            const int menu = Uniform(0, bar->GetMenuCount() - 1);
            return Press(0, PointIn(bar->GetTitleX(menu) + 1, 2, bar->GetTitleWidth(menu) - 2, 16),
                         std::string("menu ") + bar->GetMenuTitle(menu));
        }
        case 1: {
            CTavTree* tree = main.Tree();
            const std::vector<int> shown = tree->GetVisibleItems();
            Point at = PointIn(tree->GetAppX() + 2, tree->GetAppY(), 149, tree->GetHeight());
            if (!shown.empty() && Chance(0.85))
                at[1] = static_cast<int>(tree->GetAppY()) +
                        tree->GetItemRow(Pick(shown)) * tree->GetItemHeight() + tree->GetItemHeight() / 2;
            return Gesture(at, "tree", 40);
        }
        case 2: {
            const CTavObject* icon = main.GetObjectByID(
                static_cast<DWORD>(Uniform(MainScreen::FirstPaletteIcon, MainScreen::LastPaletteIcon)));
            return Drag(PointIn(*icon), Chance(0.85) ? PointIn(210, 30, 550, 450) : anywhere,
                        "from the palette");
        }
        case 3: {
            const std::vector<CTavObject*> controls = Controls(*main.View());
            if (controls.empty() || Chance(0.2))
                return Gesture(PointIn(*main.View()), "in the view");
            return Gesture(PointIn(*Pick(controls)), "a view control");
        }
        case 4:
            return Key("at the main screen");
        case 5:
            return Press(0, anywhere, "anywhere");
        case 6:
            display->MouseMove(anywhere[0], anywhere[1]);
            return Note("mouse move", anywhere);
        case 7:
            display->Wait(Uniform(1, 30));
            return Note("pause");
        case 8:
            FocusAway(Uniform(1, 20));
            return Note("focus away");
        default:
            display->CloseWindow();
            return Note("window close button");
        }
    }

    void InModal(CTavScreen& modal, MainScreen& main) {
        int depth = 0;
        for (const CTavScreen* open = main.GetChildScreen(); open != nullptr; open = open->GetChildScreen())
            ++depth;
        if (depth != modalDepth) {
            modalDepth = depth;
            modalStreak = 0;
        }
        auto* box = dynamic_cast<CTavMessageBox*>(&modal);
        const std::string name =
            typeid(modal).name() + (box != nullptr ? " " + std::string(box->GetText()) : "");
        if (events >= kEventsPerSeed && ++actionsAfterBudget > kActionsToLeave) {
            if (actionsAfterBudget == kActionsToLeave + 1)
                ADD_FAILURE() << "cannot get back from " << name << " to the main screen; " << Where();
            return; // the display's bound ends the stuck loop
        }
        // The exit question gets a quick answer, mostly No.
        if (box != nullptr && box->GetText() == std::string("Are you sure you want to exit?"))
            if (CTavObject* answer = box->GetObjectByID(Chance(0.1) ? 0 : 1))
                return Press(0, PointIn(*answer), answer->GetID() == 0 ? "Yes to exit" : "No to exit");
        // Choosers stay inside the working folder: whatever they pick may be written to.
        bool outside = false;
        if (auto* chooser = dynamic_cast<builder::FileChooser*>(&modal)) {
            std::error_code error;
            const fs::path relative = fs::relative(chooser->CurrentFolder(), fs::current_path(error), error);
            outside = error || relative.empty() || *relative.begin() == "..";
        }
        // A way out is the likelier the simpler the screen and the longer the monkey has been at it.
        const double leave = box == nullptr ? 0.05 : dynamic_cast<CTavQuestionBox*>(box) ? 0.25 : 0.5;
        if (outside || events >= kEventsPerSeed || Chance(std::min(1.0, leave + modalStreak++ / 60.0)))
            return Leave(modal, name);
        const std::vector<CTavObject*> controls = Controls(modal);
        std::vector<CTavObject*> buttons;
        for (CTavObject* control : controls)
            if (dynamic_cast<CTavButton*>(control) != nullptr)
                buttons.push_back(control);
        const int gesture = Uniform(0, 99);
        if (!buttons.empty() && gesture < 15)
            return Press(0, PointIn(*Pick(buttons)), "a button of " + name);
        if (!controls.empty() && gesture < 50)
            return Gesture(PointIn(*Pick(controls)), name, 100);
        if (gesture < 60)
            return Gesture(PointIn(modal), name, 100);
        if (gesture < 62)
            return Press(0, PointIn(0, 0, kWidth, kHeight), "outside " + name);
        if (gesture < 63) {
            FocusAway(Uniform(1, 20));
            return Note("focus away from " + name);
        }
        Key(name);
    }

    // A button that ends a dialog or box, else Escape.
    void Leave(CTavScreen& modal, const std::string& name) {
        modalStreak = 0;
        static const std::set<std::string> kWaysOut = {"Cancel", "No",  "Close", "OK",
                                                       "Select", "Yes", "Never"};
        std::vector<CTavButton*> buttons;
        for (int i = 0; i < modal.GetObjectCount(); ++i)
            if (auto* button = dynamic_cast<CTavButton*>(modal.GetObjectAt(i));
                button != nullptr && button->IsVisible() && kWaysOut.count(button->GetCaption()) != 0)
                buttons.push_back(button);
        if (!buttons.empty() && !Chance(0.2)) {
            CTavButton* button = Pick(buttons);
            return Press(0, PointIn(*button), "leaving with " + std::string(button->GetCaption()));
        }
        display->KeyDown(VK_ESCAPE);
        Note("leaving " + name + " with Escape");
    }

    test::TempDir folder;
    test::TempDir xdg;
    fs::path previousDirectory;
    std::string path; // restored after the run
    std::mt19937 random{GetParam()};
    int events = 0, lastCheck = -1000;
    bool finished = false;
    std::deque<std::string> recent; // the last actions

    std::uint64_t lastFrame = ~std::uint64_t{0};
    int idleWithoutFrame = 0;
    // Modal depth last answered, actions there since a way out, modal actions after the budget.
    int modalDepth = 0, modalStreak = 0, actionsAfterBudget = 0;
    // The final project's text (empty without one), and whether it was written.
    std::string finalText, writeError;
    // The project since its history began, and its text then.
    const Project* opened = nullptr;
    std::string openedText;
    bool written = false;
};

TEST_P(BuilderMonkeyTest, SurvivesRandomInputAndKeepsAProjectThatReadsBack) {
    int runs = 0;
    while (!finished) {
        const int eventsBefore = events;
        ASSERT_EQ(RunDesigner(runs++ > 0), 0) << "the designer ended abnormally; " << Where();
        ASSERT_TRUE(finished || events > eventsBefore) << Where();
    }
    ::setenv("PATH", path.c_str(), 1);
    if (finalText.empty())
        return;
    ASSERT_TRUE(written) << writeError;
    const std::string final = folder / "final.tvp", again = folder / "again.tvp";
    EXPECT_EQ(test::ReadFile(final), finalText);
    Project readBack;
    std::string error;
    ASSERT_TRUE(readBack.ReadProjectFile(final, &error)) << error;
    ASSERT_TRUE(readBack.WriteProjectFile(again, &error)) << error;
    EXPECT_EQ(test::ReadFile(again), finalText);
    std::string command = // the last step's screen classes build
        "c++ -std=c++20 -fsyntax-only -Wall -Wextra -Werror -Wno-unused-parameter -I '" TAV_SOURCE_DIR
        "/tavctrls/include/tavctrls'";
    for (int s = 0; s < readBack.ScreenCount(); ++s) {
        const std::string base = folder / readBack.Screen(s).name;
        test::WriteFile(base + ".h", ScreenHeaderText(readBack, s));
        test::WriteFile(base + ".cpp", ScreenSourceText(readBack, s));
        command += " '" + base + ".cpp'";
    }
    EXPECT_TRUE(readBack.ScreenCount() == 0 || test::Shell(command) == 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, BuilderMonkeyTest, ::testing::Values(1u, 20261207u, 4242u, 777u, 31337u));

} // namespace
} // namespace tav::testing
