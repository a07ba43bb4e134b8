#pragma once

#include <TavCtrls.h>

// Ids of the hello example's objects.
enum HelloIds : DWORD {
    HELLO_TITLE = 1,
    HELLO_OPEN_BUTTON = 2,
    HELLO_LOGO = 3,
    HELLO_POPUP_TEXT = 10,
    HELLO_POPUP_CHECK = 11,
    HELLO_POPUP_CLOSE = 12,
};

// The popup: a text, a check box and a button that closes it.
class HelloPopup : public CTavScreen {
public:
    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    void OnCheckBoxClick(DWORD cID, BOOL newValue) override;

    BOOL checked = FALSE;
};

// The full screen: a background, a title and a button that opens the popup.
class HelloScreen : public CTavScreen {
public:
    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;

    int popupsShown = 0;
    BOOL lastChecked = FALSE;
};
