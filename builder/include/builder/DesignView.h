#pragma once

#include "model/ObjectDef.h"
#include "tavctrls/TavCtrls.h"

#include <initializer_list>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tav {
class Project;
} // namespace tav

namespace tav::builder {

class MainScreen;

// A sub screen that shows one screen of the project with its objects as real controls: selection
// (framed by the arrows), moving by drag, dropping palette icons, double click and right-click menus.
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

    // The main screen whose project is shown: set by a preview rebuild, else the parent screen.
    MainScreen* Owner();
    void SetOwner(MainScreen* owner) { m_owner = owner; }
    int previewFlag = 0;

    // The screen last shown (empty when the view is empty); set by the rebuild.
    const std::string& ShownScreen() const { return m_shownScreen; }
    void SetShownScreen(const std::string& name) { m_shownScreen = name; }
    // The project the controls were made from (null when the view is empty): a control never speaks
    // for an object of a project opened since.
    void SetShownProject(const Project* project) { m_shownProject = project; }
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
    void SetSelection(std::vector<std::string> names) { m_selection = std::move(names); }

    // The object of the shown screen whose control has `oID`, or null.
    ObjectDef* ObjectOfControl(DWORD oID);
    // Window point inside the view, bounds included.
    bool ContainsWindowPoint(int x, int y) const;

private:
    MainScreen* m_owner = nullptr;
    std::string m_shownScreen;
    const Project* m_shownProject = nullptr;
    std::unordered_map<DWORD, ControlSource> m_sources;
    std::vector<std::string> m_selection;

    // True when a control other than the arrows has the focus.
    bool AnyControlFocused() const;
    void SelectInTree(const ObjectDef& object);
    void FinishMove(int x, int y);
    void FinishPlacing(int x, int y);
    void OpenPopup(int x, int y, int height, std::initializer_list<const char*> items);
};

} // namespace tav::builder
