#pragma once

#include "builder/Autosave.h"
#include "builder/OutputFolders.h"
#include "builder/RecentProjects.h"
#include "buildrun/BuildRunner.h"
#include "codegen/GenerateCommands.h"
#include "model/Arrange.h"
#include "model/ModelTypes.h"
#include "model/Project.h"
#include "model/edits/History.h"
#include "tavctrls/TavCtrls.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tav::builder {

class DesignView;
class PreviewScreen;

// The designer's one full screen: menu bar, project tree, design view and palette, and every command
// that they start.
class MainScreen : public CTavScreen {
public:
    enum Child : DWORD {
        ProjectTree = 0,
        PalettePanel = 1,
        ViewFrame = 2,
        FirstPaletteIcon = 3,
        LastPaletteIcon = 10,
        DesignViewId = 0, // sub screen
    };
    // Which tree popup menu is open.
    enum PopupKind : int {
        NoPopup = -1,
        NoProjectPopup = 0,
        RootPopup = 1,
        ScreenPopup = 2,
        ObjectPopup = 3
    };

    void OnPopupMenuItemClicked(const char* item) override;
    BOOL OnMenuItemClicked(const char* topItem, const char* subItem) override;
    void AfterTreeCntrlSelectionChanged(DWORD tID, int itemID) override;
    void OnTreeCntrlItemRightClick(DWORD tID, int itemID) override;
    ~MainScreen() override;
    void AfterInitialize() override;
    void AfterLMouseDown(int x, int y) override;
    void AfterKeyDown(UINT nChar) override;
    void AfterMouseMove(int x, int y) override;

    // Commands.
    void OnNewProject();
    void OnOpenProject();
    // Save writes the project's file in place; a project without one, and Save As, ask for a file.
    void OnSaveProject();
    void OnSaveProjectAs();
    void OnExitBuilder();
    void OnProjectProperties();
    void OnAddScreen();
    void OnScreenProperties();
    void OnDeleteScreen();
    void OnListScreens();
    void OnFullScreen();
    void OnAddObject(ObjectKind kind, int x, int y);
    void OnObjectProperties();
    void OnDeleteObject();
    void OnAbout();
    void OnGenerateProject();
    void OnGenerateScreen();
    // GENERATE CODE > Build and Run (F9): the project as it is, generated into its remembered folder with
    // the user's code kept, built in the background (one build at a time) and started.
    void OnBuildAndRun();
    void OnStopBuild();
    void CloseBuildPanel();
    // Once a frame, `elapsed` seconds after the last: the build panel follows the build.
    void TickBuild(double elapsed);
    bool Building() const { return m_build != nullptr && m_build->Running(); }
    OutputFolders& Outputs() { return m_outputs; }
    // EDIT: undo and redo; the clipboard; selection; arranging the selected objects; snapping.
    void OnUndo();
    void OnRedo();
    void OnCut();
    void OnCopy();
    void OnPaste();
    void OnDuplicate();
    void OnSelectAll();
    void OnAlign(AlignKind kind);
    void OnDistribute(DistributeKind kind);
    void OnBringToFront();
    void OnSendToBack();
    void OnToggleSnap();
    void OnGridSize();
    // The window manager's close button: offers to save unsaved work; false when the user's save
    // failed or was cancelled, so that nothing is lost.
    bool ConfirmClose();

    // The text the EDIT menu shows for the item named `item` now (step names, shortcut, switch state).
    std::string EditMenuText(const std::string& item) const;
    // "*NAME - Tavrin Controls Builder" while modified, without the mark when saved, the program's name
    // alone without a project; NAME is the project file's (the project's own before it has a file).
    std::string WindowTitle() const;
    // The projects FILE lists to open again.
    const RecentProjects& Recent() const { return m_recent; }

    // Empties the tree and fills it again, selecting the named screen or object.
    void RefreshTree(const std::string& screenName, const std::string& objectName);

    Project* GetProject() const { return m_project.get(); }
    // The file the project was opened from or last saved to; empty for a project never saved.
    const std::string& ProjectPath() const { return m_projectPath; }
    // Opens the project file at `path` in place of the loaded one (after offering to save that);
    // false, with a message shown, when it cannot be read.
    bool OpenProjectFile(const std::string& path);
    // At start: offers to restore the work a crashed designer left behind.
    void OfferRecovery();
    // Once a frame, `elapsed` seconds after the last: the recovery data follows the project's changes.
    void TickAutosave(double elapsed);
    // Writes a change the recovery data does not hold yet at once.
    void FlushAutosave() { m_autosave.Flush(m_project.get(), m_projectPath); }
    const Autosave& Recovery() const { return m_autosave; }
    // Every change to the project is an edit: applied here, made the step to undo, and shown.
    void ApplyEdit(edits::EditPtr edit);
    edits::History& Edits() { return m_history; }
    // Replaces the loaded project (no question asked) and shows its tree; for opening from outside.
    void TakeProject(std::unique_ptr<Project> project);
    const std::string& CurrentScreenName() const { return m_currentScreen; }
    PopupKind GetPopupKind() const { return m_popupKind; }
    CTavTree* Tree() const;
    DesignView* View() const;
    // The preview open over this screen, or null.
    PreviewScreen* Preview() const { return m_preview; }

    // Level of a tree item: 0 root, 1 screen, 2 object; -1 for no item.
    int ItemLevel(int itemId) const;
    // The selected item's level (-1 none), its screen name (the item's own for a screen, its parent's
    // for an object) and its object name (objects only).
    int SelectedLevel() const;
    std::string SelectedScreenName() const;
    std::string SelectedObjectName() const;

private:
    // Generates the entire project; a startup screen chosen on the way becomes an undoable step.
    GenerationOutcome GenerateAsStep(GenerationUi& ui, const GenerationOptions& options);
    void WatchBuild(double elapsed);
    // Shows the project after `step` was applied or reverted.
    void ShowStep(const edits::Edit& step);
    void RefreshGrids();
    // A project and a selected item of at least `level`; else shows why not and gives false.
    bool HasSelection(int level, const char* missing);
    void AddMenuBar();
    void AddTree();
    void AddPictures();
    void AddPalette();
    // Before New, Open or Exit: asks `question` when the project is modified and saves on Yes.
    // False when the save was wanted but did not happen.
    bool OfferToSave(const char* question);
    // True after a save that wrote the file: in place when the project has a file, else as SaveProjectAs.
    bool SaveProject();
    // Asks for the file, starting in the project's folder.
    bool SaveProjectAs();
    // The folder of the project's file; empty without one.
    std::string ProjectFolder() const;
    // Shows WindowTitle in the window's title bar.
    void UpdateTitle();
    // Writes the project to `path`, which becomes its file; a message and false when it cannot.
    bool WriteProject(const std::string& path);
    // Reads the file and makes it the loaded project; a message and false when it cannot.
    bool ReadProject(const std::string& path);
    void DiscardProject();
    // A new or opened project: its history starts empty, at a saved state.
    void StartHistory();
    // Names of the objects the edit commands act on: the active view's selection, else the object
    // selected in the tree (of the shown screen).
    std::vector<std::string> SelectedObjects() const;
    // The screen those objects are on: the active view's.
    std::string EditedScreen() const;
    // The project's objects named in `names` on `screen`, in the order given.
    std::vector<int> IndexesOf(const std::vector<std::string>& names, const std::string& screen) const;
    // Shows the project after an edit or a recorded change: `screen` (the active view's when empty and
    // still there) in the active view and the tree, `selected` selected.
    void ShowChange(std::string screen, std::vector<std::string> selected);
    // What the menu at `menu` in the bar shows now, item by item, the shortcuts lined up in `bar`'s font
    // (none without one).
    std::vector<std::string> MenuTexts(std::size_t menu, const CTavMenuBar* bar) const;
    // Shows the title, and rebuilds the menu bar when its texts have changed (never while one is open).
    void RefreshMenuBar();
    // Copies the objects to the clipboard; false (with a message) when there is nothing to copy.
    bool CopySelection();
    // Pastes `text` onto the active view's screen as one step named `verb` ("Paste", "Duplicate").
    void PasteText(const std::string& text, const std::string& verb);
    void Reorder(bool toFront);
    // Removes the named objects of the screen as one step called "VERB NAME" or "VERB N Objects".
    void RemoveObjects(const std::vector<std::string>& names, const std::string& screenName,
                       const std::string& verb);
    // Gives the selection (at least `least` objects, else `tooFew` is shown) the bounds `place` makes of
    // theirs, as one step called `name`.
    void Arrange(const char* name, std::size_t least, const char* tooFew,
                 const std::function<std::vector<Bounds>(const std::vector<Bounds>&)>& place);
    // Rebuilds the view that shows the edited screen: the preview's when a preview is open.
    void ShowInActiveView(const std::string& screenName);
    // Rebuilds this screen's own view; the shown name becomes current (empty when there is no such screen).
    void ShowInMainView(const std::string& screenName);
    // The preview's view while a preview is open, else this screen's.
    DesignView* ActiveView() const;
    // Focuses the control of the project's object at `objectIndex` in `view` (which frames it).
    void FocusDesignControl(DesignView* view, int objectIndex);
    void FocusDesignControl(int objectIndex) { FocusDesignControl(ActiveView(), objectIndex); }
    void OpenTreePopup(PopupKind kind);
    // A dialog over this screen (over the preview when one is open); true when it was confirmed.
    template <typename Dialog>
    bool RunConfirmed(Dialog* dialog);

    std::unique_ptr<Project> m_project;
    edits::History m_history;
    std::string m_currentScreen;
    std::string m_projectPath;
    RecentProjects m_recent;
    std::string m_shownTitle;
    PopupKind m_popupKind = NoPopup;
    PreviewScreen* m_preview = nullptr;
    bool m_askingToClose = false; // a second close while the question is up is refused
    Autosave m_autosave;
    OutputFolders m_outputs;
    std::unique_ptr<BuildRunner> m_build; // stops its build when the designer ends
    BuildRequest m_buildRequest;
    std::string m_buildName;
    bool m_buildWatched = false; // the panel still waits for the build's end
    double m_runningLeft = 0;    // seconds "Running NAME" stays up
};

} // namespace tav::builder
