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
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <deque>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAV_MONKEY_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(TAV_MONKEY_ASAN)
#define TAV_MONKEY_ASAN 1
#endif
#ifdef TAV_MONKEY_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

namespace tav::testing {
namespace {

namespace fs = std::filesystem;
using builder::BuilderApp;
using builder::DesignView;
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
constexpr const char* kExitQuestion = "Are you sure you want to exit?";

// A project with every kind of object and every type of screen, drawn with the designer's own art.
std::unique_ptr<Project> MonkeyProject() {
    auto project = std::make_unique<Project>();
    project->name = "Monkey";
    project->x = 10;
    project->y = 20;

    auto main = test::MakeScreen("MyScreen");
    main->background = "art//viewback.bmp";
    main->backgroundMode = BackgroundMode::Stretch;
    main->startup = 1;
    project->AddScreen(std::move(main));
    auto popup = test::MakeScreen("Popup", ScreenType::Popup, "MyScreen");
    popup->x = 100;
    popup->y = 80;
    popup->width = 300;
    popup->height = 200;
    popup->background = "art//dback.bmp";
    popup->backgroundMode = BackgroundMode::Stretch;
    project->AddScreen(std::move(popup));
    auto panel = test::MakeScreen("Panel", ScreenType::SubScreen, "MyScreen");
    panel->x = 20;
    panel->y = 30;
    panel->width = 240;
    panel->height = 160;
    panel->background = "art//treeback.bmp";
    panel->backgroundMode = BackgroundMode::Tile;
    project->AddScreen(std::move(panel));
    project->AddScreen(test::MakeScreen("Empty"));

    const auto add = [&](ObjectKind kind, const std::string& screen, int x, int y, auto&& configure) {
        auto object = std::make_unique<ObjectDef>();
        object->screenName = screen;
        object->SetKind(kind, *project, screen);
        object->x = x;
        object->y = y;
        configure(*object);
        project->AddObject(std::move(object));
    };
    add(ObjectKind::Object, "MyScreen", 20, 20, [](ObjectDef& o) {
        o.image = "art//logo.bmp";
        o.width = 120;
        o.height = 90;
        o.transparent = 1;
    });
    add(ObjectKind::Button, "MyScreen", 160, 20, [](ObjectDef& o) {
        o.caption = "Go";
        o.upBitmap = "art//buttonnormal.bmp";
        o.overBitmap = "art//buttonover.bmp";
        o.downBitmap = "art//buttondown.bmp";
        o.clickScreen = "Popup";
        o.textOffsetX = 12;
    });
    add(ObjectKind::Static, "MyScreen", 160, 60, [](ObjectDef& o) {
        o.caption = "Two lines of text";
        o.image = "art//editback.bmp";
        o.width = 200;
        o.height = 40;
        o.multiline = 1;
    });
    add(ObjectKind::Edit, "MyScreen", 160, 110, [](ObjectDef& o) {
        o.caption = "edit me";
        o.image = "art//editback.bmp";
        o.width = 200;
        o.height = 22;
        o.transparent = 1;
    });
    add(ObjectKind::CheckBox, "MyScreen", 20, 130, [](ObjectDef& o) {
        o.caption = "Check";
        o.checkedBitmap = "art//checkyes.bmp";
        o.uncheckedBitmap = "art//checkno.bmp";
        o.width = 100;
        o.bold = 1;
    });
    add(ObjectKind::ListBox, "MyScreen", 20, 170, [](ObjectDef& o) {
        o.listBackground = "art//listback.bmp";
        o.width = 180;
        o.height = 120;
        o.columnBold = 1;
    });
    add(ObjectKind::Tree, "MyScreen", 220, 170, [](ObjectDef& o) {
        o.treeBackground = "art//treeback.bmp";
        o.plusBitmap = "art//plus.bmp";
        o.minusBitmap = "art//minus.bmp";
        o.width = 150;
        o.height = 120;
    });
    add(ObjectKind::Animation, "MyScreen", 400, 20, [](ObjectDef& o) {
        o.frames = {"art//spin1.bmp", "art//spin2.bmp", "art//spin3.bmp"};
        o.interval = 100;
        o.width = 64;
        o.height = 64;
        o.transparent = 1;
    });
    add(ObjectKind::Button, "Popup", 200, 160, [](ObjectDef& o) {
        o.caption = "Close";
        o.upBitmap = "art//buttonnormal.bmp";
        o.overBitmap = "art//buttonover.bmp";
        o.downBitmap = "art//buttondown.bmp";
    });
    add(ObjectKind::Static, "Popup", 20, 20, [](ObjectDef& o) { o.caption = "A popup"; });
    add(ObjectKind::CheckBox, "Panel", 10, 10, [](ObjectDef& o) { o.caption = "Sound"; });
    add(ObjectKind::Animation, "Panel", 120, 40, [](ObjectDef& o) {
        o.frames = {"art//ledon.bmp", "art//ledoff.bmp"};
        o.width = 32;
        o.height = 32;
    });
    project->modified = 0;
    return project;
}

// A screen whose modal loop is running (a closed one waits for its loop to end and takes no input).
bool IsWaitingModal(CTavScreen* screen) {
    return screen != nullptr && screen->GetParent() != nullptr && screen->GetParent()->IsModalRunning() &&
           screen->GetParent()->GetChildScreen() == screen;
}

// How many modal screens are open over the main screen.
int ModalDepth(const CTavScreen& main) {
    int depth = 0;
    for (const CTavScreen* screen = main.GetChildScreen(); screen != nullptr;
         screen = screen->GetChildScreen())
        ++depth;
    return depth;
}

// The readable name of a screen's class, for the action log.
std::string TypeName(const CTavScreen& screen) {
    const char* mangled = typeid(screen).name();
    int status = 0;
    char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && readable != nullptr ? readable : mangled;
    std::free(readable);
    // Boxes are told apart by their text.
    if (const auto* box = dynamic_cast<const CTavMessageBox*>(&screen))
        name += " \"" + std::string(box->GetText()).substr(0, 48) + "\"";
    return name;
}

// The first line where two texts differ, for a message that fits on a screen.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    std::size_t line = 1, start = 0;
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
        if (expected[i] != actual[i])
            break;
        if (expected[i] == '\n') {
            ++line;
            start = i + 1;
        }
    }
    const auto lineAt = [start](const std::string& text) {
        return text.substr(start, std::min(text.find('\n', start), text.size()) - start);
    };
    return "line " + std::to_string(line) + ": expected '" + lineAt(expected) + "', got '" + lineAt(actual) +
           "'";
}

// Feeds the designer one random action per frame from the idle handler, at the top level and inside
// modal loops alike, and checks what must hold whenever the main screen waits for input.
class Monkey {
public:
    Monkey(unsigned seed, int budget, std::string finalPath)
        : seed_(seed), budget_(budget), finalPath_(std::move(finalPath)), random_(seed) {}

    void Act(BuilderApp& app, HeadlessDisplay& display);

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

    // The final project: whether there was one, whether it was written, and its text.
    bool hadProject = false;
    bool written = false;
    std::string writeError;
    std::string finalText;
    std::string finalSize;
    int modalLoopsSeen = 0;
    int unwritableChecks = 0;

    // A new run starts with a new display and screens.
    void Restart() {
        lastFrame_ = ~std::uint64_t{0};
        idleWithoutFrame_ = 0;
        modalDepth_ = 0;
        modalStreak_ = 0;
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    // A random offset into a size (0 for empty sizes).
    int Within(int size) { return Uniform(0, std::max(0, size - 1)); }
    // A random point of a rectangle; the draws are sequenced so that every compiler makes the same.
    struct Point {
        int x, y;
    };
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
    Point Anywhere() { return PointIn(0, 0, kWidth, kHeight); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
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

    // Actions.
    void Click(int x, int y, const char* what);
    void DoubleClick(int x, int y, const char* what);
    void RightClick(int x, int y, const char* what);
    // With `interrupted`, something else happens while the button is held: F5, Escape, Delete, a right
    // click or a loss of focus.
    void Drag(int fromX, int fromY, int toX, int toY, const char* what, bool interrupted = false);
    void Key(const char* what);
    // Another window takes the focus for a while (the program waits without drawing), then gives it back.
    void FocusAwayAndBack(const char* what);
    void ClickInside(const CTavObject& object, const char* what);
    void ClickInside(const CTavScreen& screen, const char* what);
    void ClickCentre(const CTavObject& object, const char* what);

    void TopLevel(MainScreen& main);
    void InModal(CTavScreen& modal, int depth);
    void Leave(CTavScreen& modal);
    // An open menu bar drop-down or popup menu gets a click on one of its rows.
    bool ChooseFromOpenMenu(MainScreen& main);
    void ClickMenuTitle(MainScreen& main);
    void TreeAction(MainScreen& main);
    void PaletteDrag(MainScreen& main);
    void ViewAction(MainScreen& main);
    void CheckTopLevel(BuilderApp& app, MainScreen& main);
    void Finish(MainScreen& main);

    static std::vector<CTavObject*> Controls(const CTavScreen& screen, bool withSubScreens);
    static CTavButton* ButtonCaptioned(const CTavScreen& screen, const std::string& caption);

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

void Monkey::Click(int x, int y, const char* what) {
    display_->LClick(ClampX(x), ClampY(y));
    Note(std::string("click ") + what + " (" + std::to_string(ClampX(x)) + "," + std::to_string(ClampY(y)) +
         ")");
}

void Monkey::DoubleClick(int x, int y, const char* what) {
    display_->DoubleClick(ClampX(x), ClampY(y));
    Note(std::string("double click ") + what + " (" + std::to_string(ClampX(x)) + "," +
         std::to_string(ClampY(y)) + ")");
}

void Monkey::RightClick(int x, int y, const char* what) {
    display_->RClick(ClampX(x), ClampY(y));
    Note(std::string("right click ") + what + " (" + std::to_string(ClampX(x)) + "," +
         std::to_string(ClampY(y)) + ")");
}

// Press, a few moves with frames between them (the drag image is drawn), release.
void Monkey::Drag(int fromX, int fromY, int toX, int toY, const char* what, bool interrupted) {
    fromX = ClampX(fromX);
    fromY = ClampY(fromY);
    toX = ClampX(toX);
    toY = ClampY(toY);
    display_->MouseMove(fromX, fromY);
    display_->LButtonDown(fromX, fromY);
    const int steps = Uniform(1, 5);
    const int interruption = interrupted ? Uniform(0, 4) : -1;
    static const char* const kInterruptions[] = {"F5", "Escape", "Delete", "a right click",
                                                 "a loss of focus"};
    for (int i = 1; i <= steps; ++i) {
        display_->Wait(1);
        const int x = fromX + (toX - fromX) * i / steps;
        const int y = fromY + (toY - fromY) * i / steps;
        display_->MouseMove(x, y);
        if (i != (steps + 1) / 2)
            continue;
        switch (interruption) {
        case 0:
            display_->KeyDown(VK_F5);
            break;
        case 1:
            display_->KeyDown(VK_ESCAPE);
            break;
        case 2:
            display_->KeyDown(VK_DELETE);
            break;
        case 3:
            display_->RClick(x, y);
            break;
        case 4:
            display_->Activate(false);
            display_->Wait(2);
            display_->Activate(true);
            break;
        default:
            break;
        }
    }
    display_->LButtonUp(toX, toY);
    Note(std::string(interruption >= 0 ? "drag with " : "drag ") +
         (interruption >= 0 ? std::string(kInterruptions[interruption]) + " in it, " : std::string()) + what +
         " (" + std::to_string(fromX) + "," + std::to_string(fromY) + ") to (" + std::to_string(toX) + "," +
         std::to_string(toY) + ")");
}

void Monkey::Key(const char* what) {
    static const std::vector<unsigned> kKeys = {VK_ESCAPE, VK_RETURN, VK_TAB,  VK_LEFT,   VK_RIGHT,
                                                VK_UP,     VK_DOWN,   VK_BACK, VK_DELETE, VK_F5};
    std::string text;
    if (Chance(0.45)) {
        // A letter, digit, blank or underscore as typed: the key, then its character. No dots or
        // slashes, so that typed folders stay inside the working folder.
        static const std::string kTyped = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _";
        const char c = kTyped[static_cast<std::size_t>(Uniform(0, static_cast<int>(kTyped.size()) - 1))];
        unsigned key = static_cast<unsigned char>(c);
        if (c >= 'a' && c <= 'z')
            key = static_cast<unsigned>(c - 'a' + 'A');
        else if (c == '_')
            key = 0xBD; // the minus key
        display_->KeyDown(key);
        display_->Char(static_cast<unsigned char>(c));
        text = std::string("type '") + c + "'";
    } else {
        const unsigned key = Pick(kKeys);
        display_->KeyDown(key);
        text = "key " + std::to_string(key);
    }
    Note(text + " " + what);
}

void Monkey::FocusAwayAndBack(const char* what) {
    display_->Activate(false);
    display_->Wait(Uniform(1, 20));
    display_->Activate(true);
    Note(std::string("focus away and back ") + what);
}

void Monkey::ClickInside(const CTavObject& object, const char* what) {
    const Point at = PointIn(object);
    Click(at.x, at.y, what);
}

void Monkey::ClickInside(const CTavScreen& screen, const char* what) {
    const Point at = PointIn(screen);
    Click(at.x, at.y, what);
}

void Monkey::ClickCentre(const CTavObject& object, const char* what) {
    Click(static_cast<int>(object.GetAppX()) + object.GetWidth() / 2,
          static_cast<int>(object.GetAppY()) + object.GetHeight() / 2, what);
}

std::vector<CTavObject*> Monkey::Controls(const CTavScreen& screen, bool withSubScreens) {
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

CTavButton* Monkey::ButtonCaptioned(const CTavScreen& screen, const std::string& caption) {
    for (int i = 0; i < screen.GetObjectCount(); ++i)
        if (auto* button = dynamic_cast<CTavButton*>(screen.GetObjectAt(i)))
            if (button->IsVisible() && button->GetCaption() == caption)
                return button;
    return nullptr;
}

void Monkey::Act(BuilderApp& app, HeadlessDisplay& display) {
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
        if (IsWaitingModal(inner))
            InModal(*inner, ModalDepth(*main));
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

// What must hold whenever the main screen waits: no drag left over from a finished gesture, the
// main screen's parts and the view's arrows all there, a tree that shows the project as it is, names
// that the dialogs keep unique and attached, and a project whose file text reads back unchanged.
void Monkey::CheckTopLevel(BuilderApp& app, MainScreen& main) {
    EXPECT_EQ(app.DragState, BuilderApp::NoDrag) << Where();
    EXPECT_EQ(app.DragImage(), nullptr) << Where();
    for (DWORD id = MainScreen::ProjectTree; id <= MainScreen::LastPaletteIcon; ++id)
        EXPECT_NE(main.GetObjectByID(id), nullptr) << "object " << id << " of the main screen; " << Where();
    ASSERT_NE(main.View(), nullptr) << Where();
    for (DWORD id = builder::LeftArrow; id <= builder::DownArrow; ++id)
        EXPECT_NE(main.View()->GetObjectByID(id), nullptr) << "arrow " << id << "; " << Where();
    CTavTree* tree = main.Tree();
    ASSERT_NE(tree, nullptr) << Where();
    const Project* project = main.GetProject();
    if (project == nullptr) {
        ASSERT_EQ(tree->GetItemCount(), 1) << Where();
        EXPECT_EQ(tree->GetItemText(tree->GetItemIDs().front()), "No Project Loaded") << Where();
        return;
    }
    int items = 1;
    for (int s = 0; s < project->ScreenCount(); ++s) {
        ++items;
        for (int o = 0; o < project->ObjectCount(); ++o)
            items += project->Object(o).screenName == project->Screen(s).name ? 1 : 0;
    }
    EXPECT_EQ(tree->GetItemCount(), items) << "the tree does not show the project; " << Where();
    std::set<std::string> screens, objects;
    for (int s = 0; s < project->ScreenCount(); ++s)
        EXPECT_TRUE(screens.insert(project->Screen(s).name).second)
            << "two screens named " << project->Screen(s).name << "; " << Where();
    for (int o = 0; o < project->ObjectCount(); ++o) {
        const ObjectDef& object = project->Object(o);
        EXPECT_EQ(screens.count(object.screenName), 1u)
            << object.name << " is on no screen (" << object.screenName << "); " << Where();
        EXPECT_TRUE(objects.insert(object.screenName + "/" + object.name).second)
            << "two objects named " << object.name << " on " << object.screenName << "; " << Where();
    }
    // A text with a line feed cannot be stored; the designer refuses to save such a project.
    if (!FindUnwritableFields(*project).empty()) {
        ++unwritableChecks;
        return;
    }
    const std::string text = FormatProjectFile(*project);
    Project again;
    std::string error;
    ASSERT_TRUE(ParseProjectFile(again, text, &error)) << error << "; " << Where();
    const std::string reread = FormatProjectFile(again);
    EXPECT_TRUE(reread == text) << "the project does not read back: " << FirstDifference(text, reread) << "; "
                                << Where();
}

// The input has run out: the project is written where the test reads it, and the program ends.
void Monkey::Finish(MainScreen& main) {
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

void Monkey::TopLevel(MainScreen& main) {
    if (ChooseFromOpenMenu(main))
        return;
    enum Action {
        MenuTitle,
        Tree,
        Palette,
        View,
        Keys,
        AnyPoint,
        Move,
        Pause,
        FocusAway,
        CloseButton,
    };
    static const std::vector<double> kWeights = {24, 20, 9, 24, 12, 4, 3, 2, 1, 0.03};
    std::discrete_distribution<int> choose(kWeights.begin(), kWeights.end());
    switch (choose(random_)) {
    case MenuTitle:
        ClickMenuTitle(main);
        break;
    case Tree:
        TreeAction(main);
        break;
    case Palette:
        PaletteDrag(main);
        break;
    case View:
        ViewAction(main);
        break;
    case Keys:
        Key("at the main screen");
        break;
    case AnyPoint: {
        const Point at = Anywhere();
        Click(at.x, at.y, "anywhere");
        break;
    }
    case Move: {
        const Point at = Anywhere();
        display_->MouseMove(at.x, at.y);
        Note("mouse move");
        break;
    }
    case Pause:
        display_->Wait(Uniform(1, 30));
        Note("pause");
        break;
    case FocusAway:
        FocusAwayAndBack("from the main screen");
        break;
    case CloseButton:
        display_->CloseWindow();
        Note("window close button");
        break;
    }
}

bool Monkey::ChooseFromOpenMenu(MainScreen& main) {
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
        Click(x, static_cast<int>(list.GetAppY()) + row * rowHeight + rowHeight / 2, what.c_str());
        return true;
    }
    for (CTavScreen* screen : {static_cast<CTavScreen*>(&main), static_cast<CTavScreen*>(main.View())}) {
        auto* popup = screen != nullptr ? dynamic_cast<CTavPopupMenu*>(screen->GetPopupMenu()) : nullptr;
        if (popup == nullptr || !Chance(0.85))
            continue;
        const int rows = std::max(1, popup->GetItemCount());
        const int row = Uniform(0, rows - 1);
        const int rowHeight = popup->GetItemHeight();
        const std::string what =
            std::string("popup item ") + (row < popup->GetItemCount() ? popup->GetItem(row) : "?");
        const int x = static_cast<int>(popup->GetAppX()) + Uniform(2, std::max(2, popup->GetWidth() - 3));
        Click(x, static_cast<int>(popup->GetAppY()) + row * rowHeight + rowHeight / 2, what.c_str());
        return true;
    }
    return false;
}

void Monkey::ClickMenuTitle(MainScreen& main) {
    auto* bar = dynamic_cast<CTavMenuBar*>(main.GetMenuBar());
    if (bar == nullptr || bar->GetMenuCount() == 0) {
        const Point at = PointIn(0, 0, kWidth, 20);
        Click(at.x, at.y, "where the menu bar should be");
        return;
    }
    const int menu = Uniform(0, bar->GetMenuCount() - 1);
    const std::string what = std::string("menu ") + bar->GetMenuTitle(menu);
    const int x =
        main.GetAppX() + bar->GetTitleX(menu) + Uniform(1, std::max(1, bar->GetTitleWidth(menu) - 2));
    Click(x, main.GetAppY() + Uniform(2, 17), what.c_str());
}

void Monkey::TreeAction(MainScreen& main) {
    CTavTree* tree = main.Tree();
    if (tree == nullptr)
        return;
    const std::vector<int> shown = tree->GetVisibleItems();
    int x = static_cast<int>(tree->GetAppX()) + Uniform(2, 150);
    int y = static_cast<int>(tree->GetAppY()) + Within(tree->GetHeight());
    if (!shown.empty() && Chance(0.85)) {
        const int row = tree->GetItemRow(Pick(shown));
        y = static_cast<int>(tree->GetAppY()) + row * tree->GetItemHeight() + tree->GetItemHeight() / 2;
    }
    const int gesture = Uniform(0, 9);
    if (gesture < 6)
        Click(x, y, "tree");
    else if (gesture < 8)
        RightClick(x, y, "tree");
    else
        DoubleClick(x, y, "tree");
}

void Monkey::PaletteDrag(MainScreen& main) {
    const DWORD id = static_cast<DWORD>(Uniform(MainScreen::FirstPaletteIcon, MainScreen::LastPaletteIcon));
    CTavObject* icon = main.GetObjectByID(id);
    if (icon == nullptr)
        return;
    const int fromX = static_cast<int>(icon->GetAppX()) + Within(icon->GetWidth());
    const int fromY = static_cast<int>(icon->GetAppY()) + Within(icon->GetHeight());
    // Mostly onto the view, sometimes short of it.
    const bool onView = Chance(0.85);
    const int toX = onView ? Uniform(210, 759) : Uniform(0, kWidth - 1);
    const int toY = onView ? Uniform(30, 479) : Uniform(0, kHeight - 1);
    Drag(fromX, fromY, toX, toY, "from the palette", Chance(0.15));
}

void Monkey::ViewAction(MainScreen& main) {
    DesignView* view = main.View();
    if (view == nullptr)
        return;
    const std::vector<CTavObject*> controls = Controls(*view, false);
    const int gesture = Uniform(0, 19);
    if (controls.empty() || gesture >= 16) {
        if (gesture % 2 == 0) {
            const Point at = PointIn(*view);
            RightClick(at.x, at.y, "in the view");
        } else {
            ClickInside(*view, "in the view");
        }
        return;
    }
    const CTavObject& control = *Pick(controls);
    if (gesture < 7) {
        ClickInside(control, "a view control");
    } else if (gesture < 10) {
        DoubleClick(static_cast<int>(control.GetAppX()) + control.GetWidth() / 2,
                    static_cast<int>(control.GetAppY()) + control.GetHeight() / 2, "a view control");
    } else if (gesture < 14) {
        const int fromX = static_cast<int>(control.GetAppX()) + Within(control.GetWidth());
        const int fromY = static_cast<int>(control.GetAppY()) + Within(control.GetHeight());
        const int toX = fromX + Uniform(-150, 150);
        const int toY = fromY + Uniform(-120, 120);
        Drag(fromX, fromY, toX, toY, "a view control", Chance(0.15));
    } else {
        RightClick(static_cast<int>(control.GetAppX()) + control.GetWidth() / 2,
                   static_cast<int>(control.GetAppY()) + control.GetHeight() / 2, "a view control");
    }
}

void Monkey::InModal(CTavScreen& modal, int depth) {
    if (depth != modalDepth_) {
        modalLoopsSeen += depth > modalDepth_ ? 1 : 0;
        modalDepth_ = depth;
        modalStreak_ = 0;
    }
    if (BudgetSpent() && ++actionsAfterInput_ > kActionsToLeave) {
        if (actionsAfterInput_ == kActionsToLeave + 1)
            ADD_FAILURE() << "cannot get back from " << TypeName(modal) << " to the main screen; " << Where();
        return; // the display's bound ends the stuck loop
    }
    // The exit question gets a quick answer, mostly No, so that a run goes on.
    if (auto* question = dynamic_cast<CTavQuestionBox*>(&modal);
        question != nullptr && question->GetText() == std::string(kExitQuestion)) {
        CTavObject* answer = question->GetObjectByID(Chance(0.1) ? 0 : 1);
        if (answer != nullptr) {
            ClickCentre(*answer, answer->GetID() == 0 ? "Yes to exit" : "No to exit");
            return;
        }
    }
    // Choosers stay inside the working folder: whatever they pick may be written to.
    if (auto* chooser = dynamic_cast<builder::FileChooser*>(&modal)) {
        std::error_code error;
        const fs::path here = fs::current_path(error);
        const fs::path relative = fs::relative(chooser->CurrentFolder(), here, error);
        if (error || relative.empty() || *relative.begin() == "..") {
            Leave(modal);
            return;
        }
    }
    const bool question = dynamic_cast<CTavQuestionBox*>(&modal) != nullptr;
    const bool box = !question && dynamic_cast<CTavMessageBox*>(&modal) != nullptr;
    const double leave = box ? kLeaveMessageBox : question ? kLeaveQuestionBox : kLeaveDialog;
    if (BudgetSpent() || modalStreak_ >= kModalActionsMax || Chance(leave)) {
        Leave(modal);
        return;
    }
    ++modalStreak_;
    const std::vector<CTavObject*> controls = Controls(modal, true);
    std::vector<CTavObject*> buttons;
    std::copy_if(controls.begin(), controls.end(), std::back_inserter(buttons),
                 [](CTavObject* control) { return dynamic_cast<CTavButton*>(control) != nullptr; });
    const int gesture = Uniform(0, 99);
    if (!buttons.empty() && gesture < 15) {
        ClickCentre(*Pick(buttons), ("a button of " + TypeName(modal)).c_str());
    } else if (!controls.empty() && gesture < 40) {
        ClickInside(*Pick(controls), TypeName(modal).c_str());
    } else if (!controls.empty() && gesture < 48) {
        const Point at = PointIn(*Pick(controls));
        DoubleClick(at.x, at.y, TypeName(modal).c_str());
    } else if (!controls.empty() && gesture < 53) {
        const CTavObject& control = *Pick(controls);
        const int x = static_cast<int>(control.GetAppX()) + control.GetWidth() / 2;
        const int y = static_cast<int>(control.GetAppY()) + control.GetHeight() / 2;
        const int toX = x + Uniform(-100, 100);
        Drag(x, y, toX, y + Uniform(-100, 100), TypeName(modal).c_str());
    } else if (gesture < 60) {
        ClickInside(modal, TypeName(modal).c_str());
    } else if (gesture < 63) {
        const Point at = PointIn(modal);
        RightClick(at.x, at.y, TypeName(modal).c_str());
    } else if (gesture < 65) {
        const Point at = Anywhere();
        Click(at.x, at.y, "outside the modal screen");
    } else if (gesture < 66) {
        FocusAwayAndBack(TypeName(modal).c_str());
    } else {
        Key(TypeName(modal).c_str());
    }
}

// Takes a way out: one of the buttons that end dialogs and boxes (any of them: OK leads on as often as
// Cancel leads back), else Escape.
void Monkey::Leave(CTavScreen& modal) {
    modalStreak_ = 0;
    static const std::vector<std::string> kWaysOut = {"Cancel", "No",  "Close", "OK",
                                                      "Select", "Yes", "Never"};
    std::vector<CTavButton*> buttons;
    for (const std::string& caption : kWaysOut)
        if (CTavButton* button = ButtonCaptioned(modal, caption))
            buttons.push_back(button);
    if (!buttons.empty() && !Chance(0.2)) {
        CTavButton* button = Pick(buttons);
        ClickCentre(*button, ("leaving with " + std::string(button->GetCaption())).c_str());
        return;
    }
    display_->KeyDown(VK_ESCAPE);
    Note("leaving " + TypeName(modal) + " with Escape");
}

// Reports the monkey's whereabouts when a sanitizer ends the process.
const Monkey* g_running = nullptr;
#ifdef TAV_MONKEY_ASAN
void ReportWhereTheMonkeyWas() {
    if (g_running != nullptr)
        std::fprintf(stderr, "\nmonkey: %s\n", g_running->Where().c_str());
}
#endif

class BuilderMonkeyTest : public HeadlessAppTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        previousDirectory = fs::current_path();
        // Saved projects and generated code land in the working folder; the art is found beside
        // the test program.
        fs::current_path(folder.path());
        // FILE > Open finds the monkey's project and one that cannot be read.
        fs::create_directory("save");
        ASSERT_TRUE(MonkeyProject()->WriteProjectFile("save/Monkey.tvp"));
        test::WriteFile("save/Broken.tvp", "not a project\r\n");
#ifdef TAV_MONKEY_ASAN
        __sanitizer_set_death_callback(ReportWhereTheMonkeyWas);
#endif
    }
    void TearDown() override {
        g_running = nullptr;
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
    g_running = &monkey;

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
    if (monkey.unwritableChecks > 0)
        std::cout << "monkey seed " << seed << ": " << monkey.unwritableChecks
                  << " checks skipped a project with texts that cannot be stored" << std::endl;
    RecordProperty("actions", monkey.Events());
    RecordProperty("runs", runs);

    if (!monkey.hadProject)
        return; // the last run ended without a project: nothing to write
    ASSERT_TRUE(monkey.written) << monkey.writeError;
    const std::string written = test::ReadFile(finalPath);
    EXPECT_TRUE(written == monkey.finalText) << FirstDifference(monkey.finalText, written);
    Project readBack;
    std::string error;
    ASSERT_TRUE(readBack.ReadProjectFile(finalPath, &error)) << error;
    const std::string again = folder / "again.tvp";
    ASSERT_TRUE(readBack.WriteProjectFile(again, &error)) << error;
    const std::string rewritten = test::ReadFile(again);
    EXPECT_TRUE(rewritten == written) << FirstDifference(written, rewritten);
}

INSTANTIATE_TEST_SUITE_P(Seeds, BuilderMonkeyTest, ::testing::Values(1u, 20261207u, 4242u, 777u, 31337u));

} // namespace
} // namespace tav::testing
