#pragma once

// The whole designer on the headless display, driven by clicks; modal screens answered by scripted steps.
#include "builder/BuilderApp.h"
#include "builder/DesignView.h"
#include "builder/DialogKit.h"
#include "builder/MainScreen.h"
#include "model/Project.h"
#include "tests/support/TestSupport.h"
#include "tests/tavctrls/HeadlessApp.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>

namespace tav::testing {

// One thing done to the popup that waits at an idle moment.
using Step = std::function<void(CTavScreen*)>;
using Rect = std::array<int, 4>;
using Point = std::array<int, 2>;

template <typename T>
Rect RectOf(const T* o) {
    return {static_cast<int>(o->GetX()), static_cast<int>(o->GetY()), o->GetWidth(), o->GetHeight()};
}
// The window point at the middle of a control; a point of the main view as a window point.
Point Middle(const CTavObject* control);
inline Point InView(int x, int y) {
    return {210 + x, 30 + y};
}

// A screen of `project` (a popup or sub screen belongs to the first screen).
ScreenDef& AddScreen(Project& project, const std::string& name, ScreenType type = ScreenType::FullScreen,
                     int width = 100, int height = 100, const std::string& background = "");
// An object whose bitmaps are all the designer's own art.
ObjectDef& AddObject(Project& project, ObjectKind kind, const std::string& screen, const std::string& name,
                     int x, int y, int width = 60, int height = 40);
// The project's file text with the view's ids zeroed (the view rewrites them).
std::string TextWithoutViewIds(const Project& project);
// What a popup is: "message: TEXT", "question: TEXT", "ObjectDialog KIND" or its class.
std::string Describe(CTavScreen* popup);
// Points the designer's settings and state folders (XDG_CONFIG_HOME, XDG_STATE_HOME) into `folder`, so
// that no test writes into the real home.
void UsePrivateXdgFolders(const std::string& folder);

class MainScreenTest : public HeadlessAppTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the queued input with `steps` answering the popups that wait; expects every step to run.
    void Run(std::vector<Step> steps);
    void Menu(const std::string& title, const std::string& item, std::vector<Step> steps = {});
    // Clicks (or right-clicks) the tree item with `text` (the first one under `parent` when given).
    void ClickItem(const std::string& text, const std::string& parent = "", bool right = false);
    void ClickPopupItem(CTavScreen* screen, const std::string& item);
    void ChoosePopupItem(CTavScreen* screen, const std::string& item, std::vector<Step> steps = {}) {
        ClickPopupItem(screen, item);
        Run(std::move(steps));
    }
    void ClickObject(CTavScreen* screen, DWORD id);
    void LClick(Point at) { display->LClick(at[0], at[1]); }
    void RClick(Point at) { display->RClick(at[0], at[1]); }
    void Drag(Point from, Point to, std::vector<Step> steps = {});
    // A few frames; the end of the process is caught and kept in `ended`.
    void Drive(int frames = 2);

    // The tree item with this text (under `parent` when given), or -1.
    int FindItem(const std::string& text, const std::string& parent = "") const;
    std::vector<std::string> TreeTexts() const;
    std::string SelectedText() const { return Tree()->GetItemText(Tree()->GetSelectedItem()); }
    CTavTree* Tree() const { return main->Tree(); }
    builder::DesignView* View() const { return main->View(); }
    CTavObject* ControlOf(const ObjectDef& object) const { return View()->GetObjectByID(object.designId); }
    // Expects the view's arrows around `control` (hidden when null).
    void ExpectArrows(const CTavObject* control) const;
    // Ids of a view's controls but the arrows.
    static std::vector<DWORD> ViewControls(CTavScreen* view);

    // "Demo", unmodified: the full screen MyScreen (Button1, Static1) and the popup Popup1 (Static2).
    std::unique_ptr<Project> DemoProject() const;
    void LoadDemo() {
        main->TakeProject(DemoProject());
        Drive(1);
    }

    // Steps: a message box answered OK; a question answered Yes or No; a click; typing.
    Step Message(const std::string& text);
    Step Question(const std::string& text, bool yes);
    Step Click(DWORD id);
    Step Type(DWORD id, const std::string& text);
    // Expects the object dialog as "KIND INDEX X,Y" (edited index, position texts); clicks `button`.
    Step AnswerObjectDialog(const std::string& expected, DWORD button);
    // Expects `expected` (as Describe gives it); dismisses it (OK, No, Cancel, Escape).
    Step Dismiss(const std::string& expected);

    static constexpr DWORD kObjectOk = 1, kObjectCancel = 2, kObjectName = 90;

    builder::BuilderApp app;
    builder::MainScreen* main = nullptr;
    test::TempDir folder;
    test::TempDir xdg; // settings and state
    std::filesystem::path previousDirectory;
    std::vector<Step> script;
    size_t done = 0;
    int ended = -1; // exit status once the process would have ended
};

} // namespace tav::testing
