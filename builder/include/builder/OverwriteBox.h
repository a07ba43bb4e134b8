#pragma once

#include "builder/DialogKit.h"

#include <string>

namespace tav::builder {

// The question asked before a generated file replaces an existing one: the message over the box's
// background and the four answers Always (0), Yes (1), No (2) and Never (3).
class OverwriteBox : public DialogKit {
public:
    OverwriteBox();

    enum : DWORD { kAlwaysButton = 0, kYesButton = 1, kNoButton = 2, kNeverButton = 3, kMessageText = 4 };

    // Set before Initialize; the static shows it.
    void SetMessage(const std::string& message) { m_message = message; }
    const std::string& GetMessage() const { return m_message; }
    // The id of the pressed button; No until one is pressed, so that nothing is overwritten by accident.
    int GetResult() const { return m_result; }

    BOOL OnButtonDown(DWORD bID) override;

    // Shows a box with `message` over `parent`, modally, and gives the id of the answer.
    static int Ask(CTavScreen* parent, const std::string& message);

protected:
    void AfterInitialize() override;

private:
    std::string m_message;
    int m_result = kNoButton;
};

} // namespace tav::builder
