#pragma once

#include "builder/DesignMarks.h"
#include "model/ObjectDef.h"
#include "model/Snapper.h"
#include "tavctrls/TavCtrls.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tav {
class Project;
} // namespace tav

namespace tav::builder {

class MainScreen;

// A sub screen that shows one screen of the project with its objects as real controls: a selection of
// several (each framed, the primary with the arrows and resize handles), moving and resizing by drag
// with snapping, the rubber band, keys, dropping palette icons, double click and right-click menus.
class DesignView : public CTavScreen {
public:
    void OnPopupMenuItemClicked(const char* item) override;
    void OnObjectGotFocus(DWORD oID) override;
    void OnObjectLostFocus(DWORD oID) override;
    ~DesignView() override;
    void AfterObjectDoubleClick(DWORD oID, int x, int y) override;
    void AfterInitialize() override;
    void AfterMouseMove(int x, int y) override;
    void AfterLMouseDown(int x, int y) override;
    void AfterLMouseUp(int x, int y) override;
    void AfterRMouseDown(int x, int y) override;
    void AfterKeyDown(UINT nChar) override;
    void AfterMouseWheel(int x, int y, int delta) override;
    void AfterBackBufferRedrawn() override;
    void AfterSetScrollPosition(int oldX, int oldY, int newX, int newY) override;

    // The gesture started in this view follows the mouse at window point (x, y), and ends there.
    void DragTo(int x, int y);
    void EndGesture(int x, int y);
    // Puts the controls back where the gesture found them; nothing is recorded.
    void CancelGesture();

    // The main screen whose project is shown: set by a preview rebuild, else the parent screen.
    MainScreen* Owner();
    void SetOwner(MainScreen* owner) { m_owner = owner; }
    int previewFlag = 0;

    // The screen last shown (empty when the view is empty); set by the rebuild.
    const std::string& ShownScreen() const { return m_shownScreen; }
    // Another screen or project starts with nothing selected.
    void SetShownScreen(const std::string& name);
    // The project the controls were made from (null when the view is empty): a control never speaks
    // for an object of a project opened since.
    void SetShownProject(const Project* project);
    // What a control was made from: its object and the state of the bitmap files it read. A rebuild
    // keeps a control whose source is unchanged and that nobody has touched (given the focus) since.
    struct ControlSource {
        ObjectDef object;
        std::string files;
    };
    const ControlSource* SourceOf(DWORD oID) const;
    void SetSourceOf(DWORD oID, ControlSource source) { m_sources[oID] = std::move(source); }
    void ForgetSourceOf(DWORD oID) { m_sources.erase(oID); }

    // The selected objects of the shown screen by name, the primary one first.
    const std::vector<std::string>& Selection() const { return m_selection; }
    // Every object of the shown screen, the primary staying first; the tree follows.
    void SelectAll();
    void SetSelection(std::vector<std::string> names);
    // The guides of the snap that holds during a drag.
    const std::vector<Guide>& Guides() const { return m_guides; }
    // After a rebuild: names that vanished drop out; the marks and the grid follow.
    void RefreshMarks();
    // Where the OBJECT menu puts a new object: the middle of what the view shows.
    void NewObjectPoint(int* x, int* y) const;

    // Puts the controls of the objects at these project indexes where their objects now are; false
    // (nothing done) when one of them has no control in this view, which then needs a rebuild.
    bool MoveControls(const std::vector<std::int32_t>& indexes);

    // The object of the shown screen whose control has `oID`, or null.
    ObjectDef* ObjectOfControl(DWORD oID);
    // Window point inside the view, bounds included.
    bool ContainsWindowPoint(int x, int y) const;

private:
    bool GridShown() const;
    MainScreen* m_owner = nullptr;
    std::string m_shownScreen;
    const Project* m_shownProject = nullptr;
    std::unordered_map<DWORD, ControlSource> m_sources;
    std::vector<std::string> m_selection;

    // A move, resize or rubber band under way (the app tells which).
    struct Gesture {
        int startX = 0, startY = 0; // content point where it began
        std::vector<int> indexes;   // objects moved or resized
        std::vector<Bounds> before;
        Bounds box;                    // their bounds together when it began
        int edges = 0;                 // Snapper::Edge bits of a resize
        Bounds now;                    // the moved box or the resized bounds
        std::vector<std::string> base; // the selection a band adds to
        std::unique_ptr<Snapper> snapper;
    };
    Gesture m_gesture;
    std::vector<Guide> m_guides;
    std::optional<Bounds> m_band;
    int m_popupX = -1, m_popupY = -1; // content point of the last right click
    bool m_syncingTree = false;

    bool IsMark(DWORD id) const;
    int IndexOf(const std::string& name) const;
    CTavObject* ControlOfIndex(int index) const;
    // The topmost object control at window point (x, y), or null.
    CTavObject* ControlAt(int x, int y);
    void ContentPoint(int x, int y, int* outX, int* outY) const;
    // A click on an object: with `toggle` it joins or leaves the selection, else it becomes the primary
    // (alone unless it was selected already).
    void Choose(const std::string& name, bool toggle);
    void SelectInTree(const std::string& name);
    void StartGesture(int state, int x, int y, std::vector<int> indexes);
    void PlaceGestureControls(int dx, int dy);
    void Nudge(int dx, int dy);
    void ShowStatusText(const std::string& text);
    void FinishPlacing(int x, int y);
};

} // namespace tav::builder
