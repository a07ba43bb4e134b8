#pragma once

#include "CTavMessageBox.h"

// A modal box with a text and the buttons Yes and No; CTavScreen::QuestionBox shows one and gives the
// answer (TRUE for Yes).
class CTavQuestionBox : public CTavMessageBox {
public:
    explicit CTavQuestionBox(const char* text = "");

    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    // Return answers Yes, Escape No.
    void AfterKeyDown(UINT nChar) override;
    Room NeededRoom() const override;

    BOOL GetAnswer() const { return m_answer; }

private:
    BOOL m_answer = FALSE;
};
