#pragma once

#include "CTavScreen.h"

#include <string>

// A modal box with a text and an OK button; CTavScreen::MessageBox shows one and waits for OK.
class CTavMessageBox : public CTavScreen {
public:
    explicit CTavMessageBox(const char* text = "");

    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    // Return and Escape press OK.
    void AfterKeyDown(UINT nChar) override;

    const char* GetText() const { return m_text.c_str(); }

    // A box's rectangle relative to the screen it is shown over.
    struct Placement {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };
    // What a box needs besides its text: the box size minus the text's area, and the least size that
    // holds the buttons.
    struct Room {
        int textMarginWidth = 0;
        int textMarginHeight = 0;
        int minWidth = 0;
        int minHeight = 0;
    };
    virtual Room NeededRoom() const;

    // Half the owner's size and centred on it, with the text wrapped inside. It grows only where the
    // wrapped lines or the buttons do not fit (taller first, wider when the lines do not fit even at
    // the owner's height): up to the owner's size (the box is drawn into the owner), beyond it only
    // when the buttons need more.
    static Placement PlaceOver(const CTavScreen& owner, const std::string& text, const Room& room);
    // Shows `box` modally over the innermost modal screen of `asker` and removes it again. The box is
    // given away; callers keep the library busy around the call to read the box afterwards.
    static void ShowOver(CTavScreen* asker, CTavMessageBox* box);

protected:
    // The width of `text` on one line in the library's font (Verdana, 15) of this weight.
    static int TextWidth(const std::string& text, int weight);
    // Adds an object whose initialisation succeeded; drops it otherwise.
    void AddOrDrop(CTavObject* object, DWORD initialized);

    std::string m_text;
};
