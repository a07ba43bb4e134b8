// The whole designer under random input for a few fixed seeds: clicks, double clicks, drags, right
// clicks, keys and menu choices, with every modal dialog and box answered the same way. Nothing may
// crash, leak or hang, the tree must keep matching the project, no drag may outlive its gesture, and
// the project left at the end must read back from its own file unchanged.
#include "builder/BuilderApp.h"
#include "builder/DesignView.h"
#include "builder/FileChooser.h"
#include "builder/MainScreen.h"
#include "builder/SelectionArrows.h"
#include "model/ProjectFile.h"
#include "tavctrls/platform/ProcessEnd.h"
#include "tests/support/TestSupport.h"
#include "tests/tavctrls/HeadlessApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

namespace tav::testing {
namespace {

namespace fs = std::filesystem;
using builder::BuilderApp;
using builder::MainScreen;
using platform::HeadlessDisplay;

// Input actions per seed; the five seeds together take about three minutes under AddressSanitizer
// on two cores.
constexpr int kEventsPerSeed = 24000;
// Inside a modal loop each action is a way out with these chances; after this many actions at one
// depth of modal screens without trying one, a way out is taken anyway. Nothing here depends on which
// screen object is open, so that a seed gives the same actions whatever the allocator reuses.
constexpr double kLeaveMessageBox = 0.5;
constexpr double kLeaveQuestionBox = 0.25;
constexpr double kLeaveDialog = 0.05;
constexpr int kModalActionsMax = 60;
// Actions after the budget in which a project may still turn up for the final check.
constexpr int kActionsForAProject = 3000;
// Actions in modal screens after the budget before the way back to the main screen counts as stuck.
constexpr int kActionsToLeave = 400;
// Idle calls without a new frame before the program counts as hung.
constexpr int kIdleCallsWithoutFrame = 100000;
// Status that ends a run the monkey found stuck (the headless display uses 3 for its own bound).
constexpr int kStuckStatus = 4;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A project with every kind of object and every type of screen, drawn with the designer's own art.
std::unique_ptr<Project> MonkeyProject() {
    auto project = std::make_unique<Project>();
    project->name = "Monkey";
    project->x = 10;
    project->y = 20;
    const auto screen = [&](const char* name, ScreenType type, std::array<int, 4> rect,
                            const char* background, BackgroundMode mode) {
        auto made = test::MakeScreen(name, type, type == ScreenType::FullScreen ? "" : "MyScreen");
        made->x = rect[0];
        made->y = rect[1];
        made->width = rect[2];
        made->height = rect[3];
        made->background = background;
        made->backgroundMode = mode;
        made->startup = std::string(name) == "MyScreen" ? 1 : 0;
        project->AddScreen(std::move(made));
    };
    screen("MyScreen", ScreenType::FullScreen, {0, 0, 100, 100}, "art//viewback.bmp",
           BackgroundMode::Stretch);
    screen("Popup", ScreenType::Popup, {100, 80, 300, 200}, "art//dback.bmp", BackgroundMode::Stretch);
    screen("Panel", ScreenType::SubScreen, {20, 30, 240, 160}, "art//treeback.bmp", BackgroundMode::Tile);
    screen("Empty", ScreenType::FullScreen, {0, 0, 100, 100}, "", BackgroundMode::Center);

    // Width and height 0 keep the kind's own.
    const auto add = [&](ObjectKind kind, const std::string& on, int x, int y, int width = 0,
                         int height = 0) -> ObjectDef& {
        auto object = std::make_unique<ObjectDef>();
        object->screenName = on;
        object->SetKind(kind, *project, on);
        object->x = x;
        object->y = y;
        object->width = width != 0 ? width : object->width;
        object->height = height != 0 ? height : object->height;
        project->AddObject(std::move(object));
        return *project->objects.back();
    };
    const auto buttonArt = [](ObjectDef& o) {
        o.upBitmap = "art//buttonnormal.bmp";
        o.overBitmap = "art//buttonover.bmp";
        o.downBitmap = "art//buttondown.bmp";
    };
    ObjectDef& logo = add(ObjectKind::Object, "MyScreen", 20, 20, 120, 90);
    logo.image = "art//logo.bmp";
    logo.transparent = 1;
    ObjectDef& go = add(ObjectKind::Button, "MyScreen", 160, 20);
    go.caption = "Go";
    buttonArt(go);
    go.clickScreen = "Popup";
    go.textOffsetX = 12;
    ObjectDef& text = add(ObjectKind::Static, "MyScreen", 160, 60, 200, 40);
    text.caption = "Two lines of text";
    text.image = "art//editback.bmp";
    text.multiline = 1;
    ObjectDef& edit = add(ObjectKind::Edit, "MyScreen", 160, 110, 200, 22);
    edit.caption = "edit me";
    edit.image = "art//editback.bmp";
    edit.transparent = 1;
    ObjectDef& check = add(ObjectKind::CheckBox, "MyScreen", 20, 130, 100);
    check.caption = "Check";
    check.checkedBitmap = "art//checkyes.bmp";
    check.uncheckedBitmap = "art//checkno.bmp";
    check.bold = 1;
    ObjectDef& list = add(ObjectKind::ListBox, "MyScreen", 20, 170, 180, 120);
    list.listBackground = "art//listback.bmp";
    list.columnBold = 1;
    ObjectDef& tree = add(ObjectKind::Tree, "MyScreen", 220, 170, 150, 120);
    tree.treeBackground = "art//treeback.bmp";
    tree.plusBitmap = "art//plus.bmp";
    tree.minusBitmap = "art//minus.bmp";
    ObjectDef& spin = add(ObjectKind::Animation, "MyScreen", 400, 20, 64, 64);
    spin.frames = {"art//spin1.bmp", "art//spin2.bmp", "art//spin3.bmp"};
    spin.interval = 100;
    spin.transparent = 1;
    ObjectDef& close = add(ObjectKind::Button, "Popup", 200, 160);
    close.caption = "Close";
    buttonArt(close);
    add(ObjectKind::Static, "Popup", 20, 20).caption = "A popup";
    add(ObjectKind::CheckBox, "Panel", 10, 10).caption = "Sound";
    add(ObjectKind::Animation, "Panel", 120, 40, 32, 32).frames = {"art//ledon.bmp", "art//ledoff.bmp"};
    project->modified = 0;
    return project;
}

// A screen whose modal loop is running (a closed one waits for its loop to end and takes no input).
bool IsWaitingModal(CTavScreen* screen) {
    return screen != nullptr && screen->GetParent() != nullptr && screen->GetParent()->IsModalRunning() &&
           screen->GetParent()->GetChildScreen() == screen;
}

// The name of a screen's class for the action log; boxes are told apart by their text.
std::string TypeName(const CTavScreen& screen) {
    const auto* box = dynamic_cast<const CTavMessageBox*>(&screen);
    return typeid(screen).name() +
           (box != nullptr ? " \"" + std::string(box->GetText()).substr(0, 48) + "\"" : "");
}

// Feeds the designer one random action per frame from the idle handler, at the top level and inside
// modal loops alike, and checks what must hold whenever the main screen waits for input.
class Monkey {
public:
    Monkey(unsigned seed, int budget, std::string finalPath)
        : seed_(seed), budget_(budget), finalPath_(std::move(finalPath)), random_(seed) {}

    bool BudgetSpent() const { return events_ >= budget_; }
    bool Finished() const { return finished_; }
    int Events() const { return events_; }
    // Where the monkey is: the seed, the action number and the last actions.
    std::string Where() const {
        std::string text =
            "seed " + std::to_string(seed_) + ", action " + std::to_string(events_) + "; last actions:\n";
        for (const std::string& line : recent_)
            text += "  " + line + "\n";
        return text;
    }
    // A new run starts with a new display and screens.
    void Restart() {
        lastFrame_ = ~std::uint64_t{0};
        idleWithoutFrame_ = 0;
        modalDepth_ = 0;
        modalStreak_ = 0;
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
        if (main == nullptr || finished_)
            return;
        CTavScreen* inner = main->GetInnermostScreen();
        if (inner != main) {
            int depth = 0;
            for (const CTavScreen* open = main->GetChildScreen(); open != nullptr;
                 open = open->GetChildScreen())
                ++depth;
            if (IsWaitingModal(inner))
                InModal(*inner, depth);
            return;
        }
        modalDepth_ = 0;
        actionsAfterInput_ = 0;
        if (events_ - lastCheck_ >= 50 || BudgetSpent()) {
            lastCheck_ = events_;
            CheckTopLevel(app, *main);
        }
        // Without a project the monkey goes on for a while, so that there is a project file to check.
        if (BudgetSpent() && (main->GetProject() != nullptr || events_ >= budget_ + kActionsForAProject)) {
            Finish(*main);
            return;
        }
        TopLevel(*main);
    }

    // The final project: whether there was one, whether it was written, and its text.
    bool hadProject = false;
    bool written = false;
    std::string writeError;
    std::string finalText;
    std::string finalSize;
    int modalLoopsSeen = 0;

private:
    struct Point {
        int x, y;
    };
    enum Gesture { kClick, kDoubleClick, kRightClick };

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    // A random offset into a size (0 for empty sizes).
    int Within(int size) { return Uniform(0, std::max(0, size - 1)); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
    }
    // A random point of a rectangle; the draws are sequenced so that every compiler makes the same.
    Point PointIn(int left, int top, int width, int height) {
        const int x = left + Within(width);
        const int y = top + Within(height);
        return {x, y};
    }
    Point PointIn(const CTavObject& object) {
        return PointIn(static_cast<int>(object.GetAppX()), static_cast<int>(object.GetAppY()),
                       object.GetWidth(), object.GetHeight());
    }
    Point PointIn(const CTavScreen& screen) {
        return PointIn(screen.GetAppX(), screen.GetAppY(), screen.GetWidth(), screen.GetHeight());
    }
    static Point Centre(const CTavObject& object) {
        return {static_cast<int>(object.GetAppX()) + object.GetWidth() / 2,
                static_cast<int>(object.GetAppY()) + object.GetHeight() / 2};
    }
    static int ClampX(int x) { return std::clamp(x, 0, kWidth - 1); }
    static int ClampY(int y) { return std::clamp(y, 0, kHeight - 1); }

    void Note(const std::string& what) {
        ++events_;
        recent_.push_back("#" + std::to_string(events_) + " " + what);
        if (logEveryAction_)
            std::cerr << recent_.back() << "\n";
        if (recent_.size() > 12)
            recent_.pop_front();
    }
    static std::string At(int x, int y) { return " (" + std::to_string(x) + "," + std::to_string(y) + ")"; }

    void Press(Gesture gesture, Point at, const std::string& what) {
        const int x = ClampX(at.x), y = ClampY(at.y);
        static const char* const kNames[] = {"click ", "double click ", "right click "};
        if (gesture == kClick)
            display_->LClick(x, y);
        else if (gesture == kDoubleClick)
            display_->DoubleClick(x, y);
        else
            display_->RClick(x, y);
        Note(kNames[gesture] + what + At(x, y));
    }
    void Click(Point at, const std::string& what) { Press(kClick, at, what); }

    // Press, a few moves with frames between them (the drag image is drawn), release. With
    // `interrupted`, something else happens while the button is held.
    void Drag(Point from, Point to, const char* what, bool interrupted = false) {
        from = {ClampX(from.x), ClampY(from.y)};
        to = {ClampX(to.x), ClampY(to.y)};
        display_->MouseMove(from.x, from.y);
        display_->LButtonDown(from.x, from.y);
        const int steps = Uniform(1, 5);
        const int interruption = interrupted ? Uniform(0, 4) : -1;
        static const char* const kInterruptions[] = {"F5", "Escape", "Delete", "a right click",
                                                     "a loss of focus"};
        for (int i = 1; i <= steps; ++i) {
            display_->Wait(1);
            const int x = from.x + (to.x - from.x) * i / steps;
            const int y = from.y + (to.y - from.y) * i / steps;
            display_->MouseMove(x, y);
            if (i != (steps + 1) / 2)
                continue;
            if (interruption == 0 || interruption == 1 || interruption == 2)
                display_->KeyDown(interruption == 0 ? VK_F5 : interruption == 1 ? VK_ESCAPE : VK_DELETE);
            else if (interruption == 3)
                display_->RClick(x, y);
            else if (interruption == 4)
                FocusAway(2);
        }
        display_->LButtonUp(to.x, to.y);
        Note(std::string(interruption >= 0 ? "drag with " : "drag ") +
             (interruption >= 0 ? std::string(kInterruptions[interruption]) + " in it, " : std::string()) +
             what + At(from.x, from.y) + " to" + At(to.x, to.y));
    }

    void Key(const std::string& what) {
        static const std::vector<unsigned> kKeys = {VK_ESCAPE, VK_RETURN, VK_TAB,  VK_LEFT,   VK_RIGHT,
                                                    VK_UP,     VK_DOWN,   VK_BACK, VK_DELETE, VK_F5};
        if (Chance(0.45)) {
            // A letter, digit, blank or underscore as typed: the key, then its character. No dots or
            // slashes, so that typed folders stay inside the working folder.
            static const std::string kTyped =
                "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _";
            const char c = kTyped[static_cast<std::size_t>(Uniform(0, static_cast<int>(kTyped.size()) - 1))];
            unsigned key = static_cast<unsigned char>(c);
            if (c >= 'a' && c <= 'z')
                key = static_cast<unsigned>(c - 'a' + 'A');
            else if (c == '_')
                key = 0xBD; // the minus key
            display_->KeyDown(key);
            display_->Char(static_cast<unsigned char>(c));
            Note(std::string("type '") + c + "' " + what);
        } else {
            const unsigned key = Pick(kKeys);
            display_->KeyDown(key);
            Note("key " + std::to_string(key) + " " + what);
        }
    }

    // Another window takes the focus for a while (the program waits without drawing), then gives it back.
    void FocusAway(int frames) {
        display_->Activate(false);
        display_->Wait(frames);
        display_->Activate(true);
    }

    static std::vector<CTavObject*> Controls(const CTavScreen& screen, bool withSubScreens) {
        std::vector<CTavObject*> controls;
        for (int i = 0; i < screen.GetObjectCount(); ++i) {
            CTavObject* object = screen.GetObjectAt(i);
            if (object != nullptr && object->IsVisible() && !builder::IsArrowId(object->GetID()) &&
                object->GetAppX() < kWidth && object->GetAppY() < kHeight &&
                object->GetAppX() + static_cast<float>(object->GetWidth()) > 0 &&
                object->GetAppY() + static_cast<float>(object->GetHeight()) > 0)
                controls.push_back(object);
        }
        for (int i = 0; withSubScreens && i < screen.GetSubScreenCount(); ++i)
            if (const CTavScreen* sub = screen.GetSubScreenAt(i)) {
                const std::vector<CTavObject*> inner = Controls(*sub, false);
                controls.insert(controls.end(), inner.begin(), inner.end());
            }
        return controls;
    }

    // What must hold whenever the main screen waits: no drag left over from a finished gesture, the
    // main screen's parts and the view's arrows all there, a tree that shows the project as it is,
    // names that the dialogs keep unique and attached, and a project whose file text reads back unchanged.
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
        int items = 1;
        std::set<std::string> screens, objects;
        for (int s = 0; s < project->ScreenCount(); ++s) {
            ++items;
            for (int o = 0; o < project->ObjectCount(); ++o)
                items += project->Object(o).screenName == project->Screen(s).name ? 1 : 0;
            EXPECT_TRUE(screens.insert(project->Screen(s).name).second)
                << "two screens named " << project->Screen(s).name;
        }
        EXPECT_EQ(tree->GetItemCount(), items) << "the tree does not show the project";
        for (int o = 0; o < project->ObjectCount(); ++o) {
            const ObjectDef& object = project->Object(o);
            EXPECT_EQ(screens.count(object.screenName), 1u)
                << object.name << " is on no screen (" << object.screenName << ")";
            EXPECT_TRUE(objects.insert(object.screenName + "/" + object.name).second)
                << "two objects named " << object.name << " on " << object.screenName;
        }
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
        finished_ = true;
        if (Project* project = main.GetProject()) {
            hadProject = true;
            finalText = FormatProjectFile(*project);
            finalSize = std::to_string(project->ScreenCount()) + " screens and " +
                        std::to_string(project->ObjectCount()) + " objects";
            written = project->WriteProjectFile(finalPath_, &writeError);
        }
        display_->DestroyWindow();
    }

    void TopLevel(MainScreen& main) {
        if (ChooseFromOpenMenu(main))
            return;
        // Menu titles, the tree, the palette, the view, keys, any point, a move, a pause, the focus
        // away, the window's close button.
        static const std::vector<double> kWeights = {24, 20, 9, 24, 12, 4, 3, 2, 1, 0.03};
        std::discrete_distribution<int> choose(kWeights.begin(), kWeights.end());
        switch (choose(random_)) {
        case 0:
            return ClickMenuTitle(main);
        case 1:
            return TreeAction(main);
        case 2:
            return PaletteDrag(main);
        case 3:
            return ViewAction(main);
        case 4:
            return Key("at the main screen");
        case 5:
            return Click(PointIn(0, 0, kWidth, kHeight), "anywhere");
        case 6: {
            const Point at = PointIn(0, 0, kWidth, kHeight);
            display_->MouseMove(at.x, at.y);
            return Note("mouse move");
        }
        case 7:
            display_->Wait(Uniform(1, 30));
            return Note("pause");
        case 8:
            FocusAway(Uniform(1, 20));
            return Note("focus away and back from the main screen");
        default:
            display_->CloseWindow();
            return Note("window close button");
        }
    }

    // An open menu bar drop-down or popup menu gets a click on one of its rows.
    bool ChooseFromOpenMenu(MainScreen& main) {
        auto* bar = dynamic_cast<CTavMenuBar*>(main.GetMenuBar());
        if (bar != nullptr && bar->GetOpenMenu() >= 0 && bar->GetDropDown() != nullptr && Chance(0.85)) {
            const int menu = bar->GetOpenMenu();
            const CTavObject& list = *bar->GetDropDown();
            const int rows = std::max(1, bar->GetMenuItemCount(menu));
            const int row = Uniform(0, rows - 1);
            const int rowHeight = std::max(1, list.GetHeight() / rows);
            const std::string what = std::string("menu item ") + bar->GetMenuTitle(menu) + " > " +
                                     (row < bar->GetMenuItemCount(menu) ? bar->GetMenuItem(menu, row) : "?");
            const int x = static_cast<int>(list.GetAppX()) + Uniform(2, std::max(2, list.GetWidth() - 3));
            Click({x, static_cast<int>(list.GetAppY()) + row * rowHeight + rowHeight / 2}, what);
            return true;
        }
        for (CTavScreen* screen : {static_cast<CTavScreen*>(&main), static_cast<CTavScreen*>(main.View())}) {
            auto* popup = screen != nullptr ? dynamic_cast<CTavPopupMenu*>(screen->GetPopupMenu()) : nullptr;
            if (popup == nullptr || !Chance(0.85))
                continue;
            const int row = Uniform(0, std::max(1, popup->GetItemCount()) - 1);
            const int rowHeight = popup->GetItemHeight();
            const std::string what =
                std::string("popup item ") + (row < popup->GetItemCount() ? popup->GetItem(row) : "?");
            const int x = static_cast<int>(popup->GetAppX()) + Uniform(2, std::max(2, popup->GetWidth() - 3));
            Click({x, static_cast<int>(popup->GetAppY()) + row * rowHeight + rowHeight / 2}, what);
            return true;
        }
        return false;
    }

    void ClickMenuTitle(MainScreen& main) {
        auto* bar = dynamic_cast<CTavMenuBar*>(main.GetMenuBar());
        if (bar == nullptr || bar->GetMenuCount() == 0)
            return Click(PointIn(0, 0, kWidth, 20), "where the menu bar should be");
        const int menu = Uniform(0, bar->GetMenuCount() - 1);
        const int x =
            main.GetAppX() + bar->GetTitleX(menu) + Uniform(1, std::max(1, bar->GetTitleWidth(menu) - 2));
        Click({x, main.GetAppY() + Uniform(2, 17)}, std::string("menu ") + bar->GetMenuTitle(menu));
    }

    void TreeAction(MainScreen& main) {
        CTavTree* tree = main.Tree();
        if (tree == nullptr)
            return;
        const std::vector<int> shown = tree->GetVisibleItems();
        const int x = static_cast<int>(tree->GetAppX()) + Uniform(2, 150);
        int y = static_cast<int>(tree->GetAppY()) + Within(tree->GetHeight());
        if (!shown.empty() && Chance(0.85))
            y = static_cast<int>(tree->GetAppY()) + tree->GetItemRow(Pick(shown)) * tree->GetItemHeight() +
                tree->GetItemHeight() / 2;
        const int gesture = Uniform(0, 9);
        Press(gesture < 6 ? kClick : gesture < 8 ? kRightClick : kDoubleClick, {x, y}, "tree");
    }

    void PaletteDrag(MainScreen& main) {
        CTavObject* icon = main.GetObjectByID(
            static_cast<DWORD>(Uniform(MainScreen::FirstPaletteIcon, MainScreen::LastPaletteIcon)));
        if (icon == nullptr)
            return;
        const Point from = PointIn(*icon);
        // Mostly onto the view, sometimes short of it.
        const bool onView = Chance(0.85);
        const int toX = onView ? Uniform(210, 759) : Uniform(0, kWidth - 1);
        const int toY = onView ? Uniform(30, 479) : Uniform(0, kHeight - 1);
        Drag(from, {toX, toY}, "from the palette", Chance(0.15));
    }

    void ViewAction(MainScreen& main) {
        builder::DesignView* view = main.View();
        if (view == nullptr)
            return;
        const std::vector<CTavObject*> controls = Controls(*view, false);
        const int gesture = Uniform(0, 19);
        if (controls.empty() || gesture >= 16)
            return Press(gesture % 2 == 0 ? kRightClick : kClick, PointIn(*view), "in the view");
        const CTavObject& control = *Pick(controls);
        if (gesture < 7) {
            Click(PointIn(control), "a view control");
        } else if (gesture < 10) {
            Press(kDoubleClick, Centre(control), "a view control");
        } else if (gesture < 14) {
            const Point from = PointIn(control);
            const int toX = from.x + Uniform(-150, 150);
            const int toY = from.y + Uniform(-120, 120);
            Drag(from, {toX, toY}, "a view control", Chance(0.15));
        } else {
            Press(kRightClick, Centre(control), "a view control");
        }
    }

    void InModal(CTavScreen& modal, int depth) {
        if (depth != modalDepth_) {
            modalLoopsSeen += depth > modalDepth_ ? 1 : 0;
            modalDepth_ = depth;
            modalStreak_ = 0;
        }
        if (BudgetSpent() && ++actionsAfterInput_ > kActionsToLeave) {
            if (actionsAfterInput_ == kActionsToLeave + 1)
                ADD_FAILURE() << "cannot get back from " << TypeName(modal) << " to the main screen; "
                              << Where();
            return; // the display's bound ends the stuck loop
        }
        // The exit question gets a quick answer, mostly No, so that a run goes on.
        if (auto* question = dynamic_cast<CTavQuestionBox*>(&modal);
            question != nullptr && question->GetText() == std::string("Are you sure you want to exit?")) {
            if (CTavObject* answer = question->GetObjectByID(Chance(0.1) ? 0 : 1))
                return Click(Centre(*answer), answer->GetID() == 0 ? "Yes to exit" : "No to exit");
        }
        // Choosers stay inside the working folder: whatever they pick may be written to.
        if (auto* chooser = dynamic_cast<builder::FileChooser*>(&modal)) {
            std::error_code error;
            const fs::path relative = fs::relative(chooser->CurrentFolder(), fs::current_path(error), error);
            if (error || relative.empty() || *relative.begin() == "..")
                return Leave(modal);
        }
        const bool question = dynamic_cast<CTavQuestionBox*>(&modal) != nullptr;
        const bool box = !question && dynamic_cast<CTavMessageBox*>(&modal) != nullptr;
        const double leave = box ? kLeaveMessageBox : question ? kLeaveQuestionBox : kLeaveDialog;
        if (BudgetSpent() || modalStreak_ >= kModalActionsMax || Chance(leave))
            return Leave(modal);
        ++modalStreak_;
        const std::vector<CTavObject*> controls = Controls(modal, true);
        std::vector<CTavObject*> buttons;
        for (CTavObject* control : controls)
            if (dynamic_cast<CTavButton*>(control) != nullptr)
                buttons.push_back(control);
        const std::string name = TypeName(modal);
        const int gesture = Uniform(0, 99);
        if (!buttons.empty() && gesture < 15) {
            Click(Centre(*Pick(buttons)), "a button of " + name);
        } else if (!controls.empty() && gesture < 40) {
            Click(PointIn(*Pick(controls)), name);
        } else if (!controls.empty() && gesture < 48) {
            Press(kDoubleClick, PointIn(*Pick(controls)), name);
        } else if (!controls.empty() && gesture < 53) {
            const Point from = Centre(*Pick(controls));
            const int toX = from.x + Uniform(-100, 100);
            Drag(from, {toX, from.y + Uniform(-100, 100)}, name.c_str());
        } else if (gesture < 60) {
            Click(PointIn(modal), name);
        } else if (gesture < 63) {
            Press(kRightClick, PointIn(modal), name);
        } else if (gesture < 65) {
            Click(PointIn(0, 0, kWidth, kHeight), "outside the modal screen");
        } else if (gesture < 66) {
            FocusAway(Uniform(1, 20));
            Note("focus away and back " + name);
        } else {
            Key(name);
        }
    }

    // Takes a way out: one of the buttons that end dialogs and boxes (any of them: OK leads on as often
    // as Cancel leads back), else Escape.
    void Leave(CTavScreen& modal) {
        modalStreak_ = 0;
        std::vector<CTavButton*> buttons;
        for (const char* caption : {"Cancel", "No", "Close", "OK", "Select", "Yes", "Never"})
            for (int i = 0; i < modal.GetObjectCount(); ++i)
                if (auto* button = dynamic_cast<CTavButton*>(modal.GetObjectAt(i));
                    button != nullptr && button->IsVisible() &&
                    button->GetCaption() == std::string(caption)) {
                    buttons.push_back(button);
                    break;
                }
        if (!buttons.empty() && !Chance(0.2)) {
            CTavButton* button = Pick(buttons);
            return Click(Centre(*button), "leaving with " + std::string(button->GetCaption()));
        }
        display_->KeyDown(VK_ESCAPE);
        Note("leaving " + TypeName(modal) + " with Escape");
    }

    unsigned seed_;
    int budget_;
    std::string finalPath_;
    std::mt19937 random_;
    int events_ = 0;
    bool finished_ = false;
    std::deque<std::string> recent_;
    // TAV_MONKEY_LOG=1 prints every action, for following a seed.
    bool logEveryAction_ = std::getenv("TAV_MONKEY_LOG") != nullptr;
    HeadlessDisplay* display_ = nullptr;
    std::uint64_t lastFrame_ = ~std::uint64_t{0};
    int idleWithoutFrame_ = 0;
    // Depth of the modal screen last answered (0: the main screen), the actions there since the last
    // way out, and the actions in modal screens since the budget ran out.
    int modalDepth_ = 0;
    int modalStreak_ = 0;
    int actionsAfterInput_ = 0;
    int lastCheck_ = -1000;
};

class BuilderMonkeyTest : public HeadlessAppTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        // Saved projects and generated code land in the working folder; the art is found beside
        // the test program. FILE > Open finds the monkey's project and one that cannot be read.
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
        monkey.Restart();
        BuilderApp app;
        if (app.doInit(nullptr, SW_SHOWNORMAL, "Tavrin Controls Builder", TAVAPP_WINDOW, kWidth, kHeight, 0,
                       0, 24) != TAVERROR_OK) {
            ADD_FAILURE() << "the display did not open";
            return -1;
        }
        auto* main = new MainScreen;
        if (main->Initialize(0) != TAVERROR_OK || app.SetChildScreen(main) != TAVERROR_OK) {
            ADD_FAILURE() << "the main screen did not start";
            return -1;
        }
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
    const unsigned seed = GetParam();
    const std::string finalPath = folder / "final.tvp";
    Monkey monkey(seed, kEventsPerSeed, finalPath);
    int runs = 0;
    while (!monkey.Finished()) {
        const int eventsBefore = monkey.Events();
        const int status = RunDesigner(monkey, runs > 0);
        ++runs;
        ASSERT_EQ(status, 0) << "the designer ended abnormally; " << monkey.Where();
        // A run that ended before the input did was left through Exit or the close button.
        ASSERT_TRUE(monkey.Finished() || monkey.Events() > eventsBefore) << monkey.Where();
    }
    std::cout << "monkey seed " << seed << ": " << monkey.Events() << " actions, " << runs << " runs, "
              << monkey.modalLoopsSeen << " modal screens answered, "
              << (monkey.hadProject ? "a project of " + monkey.finalSize : std::string("no project"))
              << " at the end" << std::endl;
    if (!monkey.hadProject)
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
