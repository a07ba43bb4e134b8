#pragma once

#include <TavCtrls.h>

// Ids of the gallery's objects and screens.
enum GalleryIds : DWORD {
    GALLERY_TITLE = 1,
    GALLERY_NAME_LABEL,
    GALLERY_NAME_EDIT,
    GALLERY_AGE_LABEL,
    GALLERY_AGE_EDIT,
    GALLERY_NOTES_EDIT,
    GALLERY_SOUND_CHECK,
    GALLERY_ASK_BUTTON,
    GALLERY_SCORES,
    GALLERY_LEVELS,
    GALLERY_SPINNER,
    GALLERY_LED,
    GALLERY_STATUS,
    GALLERY_MAP = 50,
    GALLERY_MAP_TILE = 60,
};

// The gallery's one full screen: a form, a sortable list, a tree, animations, a scrolling map (a sub
// screen larger content than its view), a menu bar and a popup menu on right click.
class GalleryScreen : public CTavScreen {
public:
    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    BOOL OnMenuItemClicked(const char* topItem, const char* subItem) override;
    void OnPopupMenuItemClicked(const char* item) override;
    void AfterRMouseUp(int x, int y) override;
    void OnListBoxItemChange(DWORD lID, int item) override;
    void AfterTreeCntrlSelectionChanged(DWORD tID, int itemID) override;
    void OnCheckBoxClick(DWORD cID, BOOL newValue) override;

    // Where the program's end is asked for (the application, set by the entry point).
    CTavApp* app = nullptr;

private:
    void AddForm();
    void AddLists();
    void AddAnimations();
    void AddMap();
    void AddMenus();
    void ShowStatus(const char* text);
};
