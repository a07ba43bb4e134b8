// The whole designer under random input for a few fixed seeds: clicks, double clicks, drags, right
// clicks, keys and menu choices, with every modal dialog and box answered at random. Nothing may crash,
// leak or hang, the tree must keep matching the project, no drag may outlive its gesture, and the
// project left at the end must read back from its own file unchanged.
#include "builder/FileChooser.h"
#include "builder/SelectionArrows.h"
#include "model/ProjectFile.h"
#include "tavctrls/platform/ProcessEnd.h"
#include "tests/builder/MainScreenDriver.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <iterator>
#include <random>
#include <set>
#include <typeinfo>

namespace tav::testing {
namespace {

namespace fs = std::filesystem;
using builder::BuilderApp;
using builder::MainScreen;
using platform::HeadlessDisplay;

// The five seeds together take about three minutes under AddressSanitizer on two cores.
constexpr int kEventsPerSeed = 24000;
// After this many actions at one depth of modal screens, a way out is taken anyway.
constexpr int kModalActionsMax = 60;
// Actions after the budget in which a project may still turn up for the final check.
constexpr int kActionsForAProject = 3000;
// Actions in modal screens after the budget before the way back to the main screen counts as stuck.
constexpr int kActionsToLeave = 400;
// Idle calls without a new frame before the program counts as hung; the status of such an end (the
// headless display uses 3 for its own bound).
constexpr int kIdleCallsWithoutFrame = 100000;
constexpr int kStuckStatus = 4;
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

// Feeds the designer one random action per frame from the idle handler, at the top level and inside
// modal loops alike, and checks what must hold whenever the main screen waits for input.
class Monkey {
public:
    Monkey(unsigned seed, std::string finalPath)
        : seed_(seed), finalPath_(std::move(finalPath)), random_(seed) {}

    bool BudgetSpent() const { return events >= kEventsPerSeed; }
    // The seed, the action number and the last actions.
    std::string Where() const {
        std::string text = "seed " + std::to_string(seed_) + ", action " + std::to_string(events) + ":\n";
        for (const std::string& line : recent_)
            text += "  " + line + "\n";
        return text;
    }

    void Act(BuilderApp& app, HeadlessDisplay& display) {
        display_ = &display;
        // One action per frame: the program draws between them, and a pump never runs dry.
        if (display.FramesPresented() == lastFrame_) {
            if (++idleWithoutFrame_ > kIdleCallsWithoutFrame) {
                ADD_FAILURE() << "the designer waits for input without drawing a frame; " << Where();
                platform::EndProcess(kStuckStatus);
            }
            return;
        }
        lastFrame_ = display.FramesPresented();
        idleWithoutFrame_ = 0;
        auto* main = dynamic_cast<MainScreen*>(app.GetChildScreen());
        if (main == nullptr || finished)
            return;
        CTavScreen* inner = main->GetInnermostScreen();
        if (inner != main) {
            // Only a screen whose loop runs takes input; a closed one waits for its loop to end.
            if (inner->GetParent() != nullptr && inner->GetParent()->IsModalRunning() &&
                inner->GetParent()->GetChildScreen() == inner)
                InModal(*inner, *main);
            return;
        }
        modalDepth_ = actionsAfterBudget_ = 0;
        if (events - lastCheck_ >= 50 || BudgetSpent()) {
            lastCheck_ = events;
            CheckTopLevel(app, *main);
        }
        // Without a project the monkey goes on for a while, so that there is a project file to check.
        if (BudgetSpent() &&
            (main->GetProject() != nullptr || events >= kEventsPerSeed + kActionsForAProject))
            return Finish(*main);
        TopLevel(*main);
    }

    int events = 0;
    int modalLoopsSeen = 0;
    bool finished = false;
    // The final project's text (empty without a project), and whether it was written.
    std::string finalText, writeError;
    bool written = false;

private:
    struct Point {
        int x, y;
    };

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    template <typename T>
    T Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
    }
    // A random point of a rectangle, clamped to the window.
    Point PointIn(float left, float top, int width, int height) {
        const int x = static_cast<int>(left) + Uniform(0, std::max(0, width - 1));
        const int y = static_cast<int>(top) + Uniform(0, std::max(0, height - 1));
        return {std::clamp(x, 0, kWidth - 1), std::clamp(y, 0, kHeight - 1)};
    }
    template <typename T>
    Point PointIn(const T& o) {
        return PointIn(static_cast<float>(o.GetAppX()), static_cast<float>(o.GetAppY()), o.GetWidth(),
                       o.GetHeight());
    }
    Point Anywhere() { return PointIn(0, 0, kWidth, kHeight); }

    void Note(const std::string& what, Point at = {-1, -1}) {
        recent_.push_back("#" + std::to_string(++events) + " " + what +
                          (at.x < 0 ? "" : " " + std::to_string(at.x) + "," + std::to_string(at.y)));
        if (logEveryAction_)
            std::cerr << recent_.back() << "\n";
        if (recent_.size() > 12)
            recent_.pop_front();
    }
    void Click(Point at, const std::string& what) {
        display_->LClick(at.x, at.y);
        Note("click " + what, at);
    }

    // A click, double click, right click or a drag by up to `reach` pixels at `at`.
    void Gesture(Point at, const std::string& what, int reach = 150) {
        const int gesture = Uniform(0, 19);
        if (gesture < 10)
            return Click(at, what);
        if (gesture < 13) {
            display_->DoubleClick(at.x, at.y);
            return Note("double click " + what, at);
        }
        if (gesture < 16) {
            display_->RClick(at.x, at.y);
            return Note("right click " + what, at);
        }
        Drag(
            at,
            PointIn(static_cast<float>(at.x - reach), static_cast<float>(at.y - reach), 2 * reach, 2 * reach),
            what);
    }

    // Press, a few moves with frames between them (the drag image is drawn), release; sometimes
    // something else happens halfway while the button is held.
    void Drag(Point from, Point to, const std::string& what) {
        display_->MouseMove(from.x, from.y);
        display_->LButtonDown(from.x, from.y);
        const int steps = Uniform(1, 5);
        const int interruption = Chance(0.15) ? Uniform(0, 4) : -1;
        static const unsigned kKeys[] = {VK_F5, VK_ESCAPE, VK_DELETE};
        for (int i = 1; i <= steps; ++i) {
            display_->Wait(1);
            const Point at{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
            display_->MouseMove(at.x, at.y);
            if (i != (steps + 1) / 2 || interruption < 0)
                continue;
            if (interruption < 3)
                display_->KeyDown(kKeys[interruption]);
            else if (interruption == 3)
                display_->RClick(at.x, at.y);
            else
                FocusAway(2);
        }
        display_->LButtonUp(to.x, to.y);
        Note("drag " + what + (interruption >= 0 ? " interrupted" : ""), from);
    }

    void Key(const std::string& what) {
        // A letter, digit, blank or underscore as typed, the key then its character; no dots or
        // slashes, so that typed folders stay inside the working folder.
        static const std::string kTyped = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _";
        static const std::vector<unsigned> kKeys = {VK_ESCAPE, VK_RETURN, VK_TAB,  VK_LEFT,   VK_RIGHT,
                                                    VK_UP,     VK_DOWN,   VK_BACK, VK_DELETE, VK_F5};
        if (!Chance(0.45)) {
            const unsigned key = Pick(kKeys);
            display_->KeyDown(key);
            return Note("key " + std::to_string(key) + " " + what);
        }
        const char c = kTyped[static_cast<std::size_t>(Uniform(0, static_cast<int>(kTyped.size()) - 1))];
        display_->KeyDown(c == '_' ? 0xBD : static_cast<unsigned>(std::toupper(c))); // 0xBD: the minus key
        display_->Char(static_cast<unsigned char>(c));
        Note(std::string("type '") + c + "' " + what);
    }

    // Another window takes the focus for a while (the program waits without drawing), then gives it back.
    void FocusAway(int frames) {
        display_->Activate(false);
        display_->Wait(frames);
        display_->Activate(true);
    }

    // The visible controls of a screen that lie in the window, but for the view's arrows.
    static std::vector<CTavObject*> Controls(const CTavScreen& screen, bool withSubScreens) {
        std::vector<CTavObject*> controls;
        for (int i = 0; i < screen.GetObjectCount(); ++i) {
            CTavObject* o = screen.GetObjectAt(i);
            if (o != nullptr && o->IsVisible() && !builder::IsArrowId(o->GetID()) && o->GetAppX() < kWidth &&
                o->GetAppY() < kHeight && o->GetAppX() + static_cast<float>(o->GetWidth()) > 0 &&
                o->GetAppY() + static_cast<float>(o->GetHeight()) > 0)
                controls.push_back(o);
        }
        for (int i = 0; withSubScreens && i < screen.GetSubScreenCount(); ++i)
            if (const CTavScreen* sub = screen.GetSubScreenAt(i)) {
                const std::vector<CTavObject*> inner = Controls(*sub, false);
                controls.insert(controls.end(), inner.begin(), inner.end());
            }
        return controls;
    }

    // What must hold whenever the main screen waits: no drag left over, the main screen's parts and the
    // view's arrows all there, a tree that shows the project as it is, screen and object names unique
    // and attached, and a project whose file text reads back unchanged.
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
            EXPECT_TRUE(screens.insert(project->Screen(s).name).second)
                << "two screens " << project->Screen(s).name;
        for (int o = 0; o < project->ObjectCount(); ++o) {
            const ObjectDef& object = project->Object(o);
            EXPECT_EQ(screens.count(object.screenName), 1u) << object.name << " is on no screen";
            EXPECT_TRUE(objects.insert(object.screenName + "/" + object.name).second)
                << "two " << object.name;
        }
        EXPECT_EQ(tree->GetItemCount(), static_cast<int>(1 + screens.size() + objects.size()))
            << "the tree does not show the project";
        // A text with a line feed cannot be stored; the designer refuses to save such a project.
        if (!FindUnwritableFields(*project).empty())
            return;
        const std::string text = FormatProjectFile(*project);
        Project again;
        std::string error;
        ASSERT_TRUE(ParseProjectFile(again, text, &error)) << error;
        EXPECT_EQ(FormatProjectFile(again), text) << "the project does not read back";
    }

    // The input has run out: the project is written where the test reads it, and the program ends.
    void Finish(MainScreen& main) {
        finished = true;
        if (Project* project = main.GetProject()) {
            finalText = FormatProjectFile(*project);
            written = project->WriteProjectFile(finalPath_, &writeError);
        }
        display_->DestroyWindow();
    }

    void TopLevel(MainScreen& main) {
        // An open drop-down or popup menu mostly gets a click on one of its rows.
        auto* bar = dynamic_cast<CTavMenuBar*>(main.GetMenuBar());
        ASSERT_NE(bar, nullptr);
        if (bar->GetOpenMenu() >= 0 && bar->GetDropDown() != nullptr && Chance(0.85))
            return Click(PointIn(*bar->GetDropDown()),
                         std::string("menu ") + bar->GetMenuTitle(bar->GetOpenMenu()));
        for (CTavScreen* screen : {static_cast<CTavScreen*>(&main), static_cast<CTavScreen*>(main.View())})
            if (CTavObject* popup = screen->GetPopupMenu(); popup != nullptr && Chance(0.85))
                return Click(PointIn(*popup), "a popup menu");
        // Menu titles, the tree, the palette, the view, keys, any point, a move, a pause, the focus
        // away, the window's close button.
        static const std::vector<double> kWeights = {24, 20, 9, 24, 12, 4, 3, 2, 1, 0.03};
        switch (std::discrete_distribution<int>(kWeights.begin(), kWeights.end())(random_)) {
        case 0: {
            const int menu = Uniform(0, bar->GetMenuCount() - 1);
            return Click(PointIn(static_cast<float>(main.GetAppX() + bar->GetTitleX(menu) + 1),
                                 static_cast<float>(main.GetAppY() + 2), bar->GetTitleWidth(menu) - 2, 16),
                         std::string("menu ") + bar->GetMenuTitle(menu));
        }
        case 1: {
            // Mostly on an item's row.
            CTavTree* tree = main.Tree();
            const std::vector<int> shown = tree->GetVisibleItems();
            Point at = PointIn(tree->GetAppX() + 2, tree->GetAppY(), 149, tree->GetHeight());
            if (!shown.empty() && Chance(0.85))
                at.y = static_cast<int>(tree->GetAppY()) +
                       tree->GetItemRow(Pick(shown)) * tree->GetItemHeight() + tree->GetItemHeight() / 2;
            return Gesture(at, "tree", 40);
        }
        case 2: {
            // Mostly onto the view, sometimes short of it.
            const CTavObject* icon = main.GetObjectByID(
                static_cast<DWORD>(Uniform(MainScreen::FirstPaletteIcon, MainScreen::LastPaletteIcon)));
            return Drag(PointIn(*icon), Chance(0.85) ? PointIn(210, 30, 550, 450) : Anywhere(),
                        "from the palette");
        }
        case 3: {
            const std::vector<CTavObject*> controls = Controls(*main.View(), false);
            if (controls.empty() || Chance(0.2))
                return Gesture(PointIn(*main.View()), "in the view");
            return Gesture(PointIn(*Pick(controls)), "a view control");
        }
        case 4:
            return Key("at the main screen");
        case 5:
            return Click(Anywhere(), "anywhere");
        case 6: {
            const Point at = Anywhere();
            display_->MouseMove(at.x, at.y);
            return Note("mouse move", at);
        }
        case 7:
            display_->Wait(Uniform(1, 30));
            return Note("pause");
        case 8:
            FocusAway(Uniform(1, 20));
            return Note("focus away");
        default:
            display_->CloseWindow();
            return Note("window close button");
        }
    }

    void InModal(CTavScreen& modal, MainScreen& main) {
        int depth = 0;
        for (const CTavScreen* open = main.GetChildScreen(); open != nullptr; open = open->GetChildScreen())
            ++depth;
        if (depth != modalDepth_) {
            modalLoopsSeen += depth > modalDepth_ ? 1 : 0;
            modalDepth_ = depth;
            modalStreak_ = 0;
        }
        auto* box = dynamic_cast<CTavMessageBox*>(&modal);
        const std::string name =
            typeid(modal).name() + (box != nullptr ? " " + std::string(box->GetText()) : "");
        if (BudgetSpent() && ++actionsAfterBudget_ > kActionsToLeave) {
            if (actionsAfterBudget_ == kActionsToLeave + 1)
                ADD_FAILURE() << "cannot get back from " << name << " to the main screen; " << Where();
            return; // the display's bound ends the stuck loop
        }
        // The exit question gets a quick answer, mostly No, so that a run goes on.
        if (box != nullptr && box->GetText() == std::string("Are you sure you want to exit?"))
            if (CTavObject* answer = box->GetObjectByID(Chance(0.1) ? 0 : 1))
                return Click(PointIn(*answer), answer->GetID() == 0 ? "Yes to exit" : "No to exit");
        // Choosers stay inside the working folder: whatever they pick may be written to.
        bool outside = false;
        if (auto* chooser = dynamic_cast<builder::FileChooser*>(&modal)) {
            std::error_code error;
            const fs::path relative = fs::relative(chooser->CurrentFolder(), fs::current_path(error), error);
            outside = error || relative.empty() || *relative.begin() == "..";
        }
        // A way out is the likelier the simpler the screen: a box, a question, a dialog.
        const double leave = box == nullptr ? 0.05 : dynamic_cast<CTavQuestionBox*>(box) ? 0.25 : 0.5;
        if (outside || BudgetSpent() || modalStreak_ >= kModalActionsMax || Chance(leave))
            return Leave(modal, name);
        ++modalStreak_;
        const std::vector<CTavObject*> controls = Controls(modal, true);
        std::vector<CTavObject*> buttons;
        std::copy_if(controls.begin(), controls.end(), std::back_inserter(buttons),
                     [](CTavObject* o) { return dynamic_cast<CTavButton*>(o) != nullptr; });
        const int gesture = Uniform(0, 99);
        if (!buttons.empty() && gesture < 15)
            return Click(PointIn(*Pick(buttons)), "a button of " + name);
        if (!controls.empty() && gesture < 50)
            return Gesture(PointIn(*Pick(controls)), name, 100);
        if (gesture < 60)
            return Gesture(PointIn(modal), name, 100);
        if (gesture < 62)
            return Click(Anywhere(), "outside " + name);
        if (gesture < 63) {
            FocusAway(Uniform(1, 20));
            return Note("focus away from " + name);
        }
        Key(name);
    }

    // Takes a way out: one of the buttons that end dialogs and boxes (OK leads on as often as Cancel
    // leads back), else Escape.
    void Leave(CTavScreen& modal, const std::string& name) {
        modalStreak_ = 0;
        static const std::set<std::string> kWaysOut = {"Cancel", "No",  "Close", "OK",
                                                       "Select", "Yes", "Never"};
        std::vector<CTavButton*> buttons;
        for (int i = 0; i < modal.GetObjectCount(); ++i)
            if (auto* button = dynamic_cast<CTavButton*>(modal.GetObjectAt(i));
                button != nullptr && button->IsVisible() && kWaysOut.count(button->GetCaption()) != 0)
                buttons.push_back(button);
        if (!buttons.empty() && !Chance(0.2)) {
            CTavButton* button = Pick(buttons);
            return Click(PointIn(*button), "leaving with " + std::string(button->GetCaption()));
        }
        display_->KeyDown(VK_ESCAPE);
        Note("leaving " + name + " with Escape");
    }

    unsigned seed_;
    std::string finalPath_;
    std::mt19937 random_;
    std::deque<std::string> recent_;
    // TAV_MONKEY_LOG=1 prints every action, for following a seed.
    bool logEveryAction_ = std::getenv("TAV_MONKEY_LOG") != nullptr;
    HeadlessDisplay* display_ = nullptr;
    std::uint64_t lastFrame_ = ~std::uint64_t{0};
    int idleWithoutFrame_ = 0;
    // Depth of the modal screen last answered (0: the main screen), the actions there since the last
    // way out, and the actions in modal screens since the budget ran out.
    int modalDepth_ = 0, modalStreak_ = 0, actionsAfterBudget_ = 0;
    int lastCheck_ = -1000;
};

class BuilderMonkeyTest : public HeadlessAppTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        // Saved projects and generated code land in the working folder; the art is found beside the
        // test program. FILE > Open finds the monkey's project and one that cannot be read.
        previousDirectory = fs::current_path();
        fs::current_path(folder.path());
        fs::create_directory("save");
        ASSERT_TRUE(MonkeyProject()->WriteProjectFile("save/Monkey.tvp"));
        test::WriteFile("save/Broken.tvp", "not a project\r\n");
    }
    void TearDown() override {
        fs::current_path(previousDirectory);
        HeadlessAppTest::TearDown();
    }

    // One run of the designer as its entry point starts it in a window, with the monkey's project
    // loaded; gives the status the process would end with.
    int RunDesigner(Monkey& monkey, bool freshDisplay) {
        if (freshDisplay) {
            auto headless = std::make_unique<HeadlessDisplay>();
            headless->SetCloseWhenInputEnds(false);
            display = headless.get();
            platform::SetNextDisplay(std::move(headless));
        }
        BuilderApp app;
        // A display or main screen that does not start counts as an abnormal end.
        if (app.doInit(nullptr, SW_SHOWNORMAL, "Tavrin Controls Builder", TAVAPP_WINDOW, kWidth, kHeight, 0,
                       0, 24) != TAVERROR_OK)
            return -1;
        auto* main = new MainScreen;
        if (main->Initialize(0) != TAVERROR_OK || app.SetChildScreen(main) != TAVERROR_OK)
            return -1;
        app.SetShowFrameRate(TRUE);
        app.SetWaitBlank(TRUE);
        main->TakeProject(MonkeyProject());
        display->SetIdleHandler([&app, &monkey](HeadlessDisplay& headless) { monkey.Act(app, headless); });
        return Run(app);
    }

    test::TempDir folder;
    fs::path previousDirectory;
};

TEST_P(BuilderMonkeyTest, SurvivesRandomInputAndKeepsAProjectThatReadsBack) {
    const std::string finalPath = folder / "final.tvp";
    Monkey monkey(GetParam(), finalPath);
    int runs = 0;
    while (!monkey.finished) {
        const int eventsBefore = monkey.events;
        ASSERT_EQ(RunDesigner(monkey, runs++ > 0), 0) << "the designer ended abnormally; " << monkey.Where();
        // A run that ended before the input did was left through Exit or the close button.
        ASSERT_TRUE(monkey.finished || monkey.events > eventsBefore) << monkey.Where();
    }
    std::cout << "monkey seed " << GetParam() << ": " << monkey.events << " actions, " << runs << " runs, "
              << monkey.modalLoopsSeen << " modal screens answered, "
              << (!monkey.finalText.empty() ? "a project" : "no project") << " at the end" << std::endl;
    if (monkey.finalText.empty())
        return; // the last run ended without a project: nothing to write
    ASSERT_TRUE(monkey.written) << monkey.writeError;
    const std::string written = test::ReadFile(finalPath);
    EXPECT_EQ(written, monkey.finalText);
    Project readBack;
    std::string error;
    ASSERT_TRUE(readBack.ReadProjectFile(finalPath, &error)) << error;
    const std::string again = folder / "again.tvp";
    ASSERT_TRUE(readBack.WriteProjectFile(again, &error)) << error;
    EXPECT_EQ(test::ReadFile(again), written);
}

INSTANTIATE_TEST_SUITE_P(Seeds, BuilderMonkeyTest, ::testing::Values(1u, 20261207u, 4242u, 777u, 31337u));

} // namespace
} // namespace tav::testing
