#pragma once

#include "builder/DialogKit.h"

namespace tav::builder {

// HELP > About.
class AboutBox : public DialogKit {
public:
    AboutBox();

    enum Control : DWORD { AboutText = 0, CloseButton = 1 };

    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
};

// The three lines the box shows.
extern const char* const kAboutText;

} // namespace tav::builder
