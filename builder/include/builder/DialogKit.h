#pragma once

#include "tavctrls/TavCtrls.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace tav::builder {

// The base of every designer dialog. A dialog states its size, adds its fields in AfterInitialize through
// the Add functions and names its OK and Cancel buttons; the kit places it over its owner, runs it
// modally, moves the focus with Tab and Shift+Tab in reading order, takes Return as OK and Escape as
// Cancel, frames the focused field and shows messages in one style.
class DialogKit : public CTavScreen {
public:
    static constexpr COLORREF kInk = RGB(24, 32, 40);
    static constexpr COLORREF kLight = RGB(235, 240, 245);
    static constexpr COLORREF kAccent = RGB(255, 170, 40);
    static constexpr COLORREF kWarning = RGB(255, 196, 90);
    static constexpr const char* kFont = "DejaVu Sans";
    static constexpr int kFontHeight = 13;
    static constexpr int kButtonWidth = 60;
    static constexpr int kButtonHeight = 22;
    static constexpr int kMargin = 16;

    DialogKit(int width, int height);

    int StatedWidth() const { return m_statedWidth; }
    int StatedHeight() const { return m_statedHeight; }

    // Shows `dialog` over `parent`'s innermost screen and runs it modally; gives what `read` takes from it
    // once it has closed. A dialog that cannot be shown is read as constructed, so its outputs keep their
    // "nothing chosen" values.
    template <typename Dialog, typename Read>
    static auto Run(CTavScreen* parent, Dialog* dialog, Read read) {
        CTavDeferDelete keep; // removed popups are deleted by the library: this one lives until read
        CTavScreen* owner = parent != nullptr ? parent->GetInnermostScreen() : nullptr;
        if (owner == nullptr || !dialog->Open(owner)) {
            auto result = read(*dialog);
            TavDeleteScreen(dialog);
            return result;
        }
        auto result = read(*dialog);
        // A discarded owner takes its modal child with it.
        if (!owner->IsDiscarded() && owner->GetChildScreen() == dialog)
            owner->RemoveChildScreen();
        return result;
    }

    // Initializes the dialog centred over `owner`, within it and the window, and runs it modally.
    bool Open(CTavScreen* owner);

    // The visible fields Tab visits, top to bottom and left to right.
    std::vector<CTavObject*> FocusOrder() const;
    CTavObject* Focused() const;
    // Focuses `field`; an edit gets its text selected, so that typing replaces it.
    void FocusField(CTavObject* field);
    // Moves the focus one field forwards (1) or backwards (-1) in FocusOrder, wrapping.
    void MoveFocus(int step);

    // The control the left button was last pressed on, so that a release brought from outside the dialog
    // (the end of the double click that opened it) presses nothing.
    bool PressedOn(const CTavObject* control) const { return control == m_pressed; }
    void Press(CTavObject* control) { m_pressed = control; }

    void AfterKeyDown(UINT key) override;
    void AfterLMouseDown(int x, int y) override;
    void AfterBackBufferRedrawn() override;
    void OnObjectGotFocus(DWORD oID) override;

protected:
    CTavStatic* AddLabel(DWORD id, const std::string& text, int x, int y, int width, int height = 20);
    // Several lines, broken at the width.
    CTavStatic* AddText(DWORD id, const std::string& text, int x, int y, int width, int height);
    // `digits` above 0: digits only, at most that many.
    CTavEdit* AddEdit(DWORD id, const std::string& text, int x, int y, int width, int height = 20,
                      int digits = 0);
    CTavCheckBox* AddCheckBox(DWORD id, const std::string& caption, int x, int y, int width, int height = 18);
    CTavButton* AddButton(DWORD id, const std::string& caption, int x, int y, int width = kButtonWidth);
    CTavListBox* AddList(DWORD id, int x, int y, int width, int height);
    // OK and Cancel in the bottom right corner; Return presses `ok` and Escape `cancel`.
    void AddOkCancel(DWORD ok, DWORD cancel, const std::string& okCaption = "OK");
    void SetKeyButtons(DWORD ok, DWORD cancel);
    // The one way a dialog tells the user something is wrong.
    void ShowError(const std::string& message);

private:
    int m_statedWidth;
    int m_statedHeight;
    bool m_hasKeys = false;
    DWORD m_ok = 0;
    DWORD m_cancel = 0;
    CTavObject* m_pressed = nullptr;
};

// Control access by id; missing controls read as empty or unchecked.
std::string TextOf(const CTavScreen* screen, DWORD id);
void SetTextOf(CTavScreen* screen, DWORD id, const std::string& text);
BOOL ValueOf(const CTavScreen* screen, DWORD id);
void SetValueOf(CTavScreen* screen, DWORD id, BOOL value);
void SetVisibleOf(CTavScreen* screen, std::initializer_list<DWORD> ids, BOOL visible);
void FocusOn(CTavScreen* screen, DWORD id);

} // namespace tav::builder
