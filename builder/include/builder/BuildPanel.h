#pragma once

#include "builder/DialogKit.h"

#include <string>
#include <vector>

namespace tav::builder {

// The strip below the design view that follows Build and Run without blocking the designer:
// while building the step, a progress bar and Stop; after a failure the errors in a list and Close; after
// a success "Running NAME" for a moment. Its buttons call the main screen's OnStopBuild and
// CloseBuildPanel.
class BuildPanel : public DialogKit {
public:
    enum Id : DWORD {
        kPanelId = 20,
        kTitle = 1,
        kStep = 2,
        kPercent = 3,
        kStop = 4,
        kClose = 5,
        kErrors = 6
    };
    enum class Mode { Building, Failed, Running };

    BuildPanel(Mode mode, std::string title, std::vector<std::string> errors = {});

    // Adds a panel to `main`, in place of any it shows; null when it could not be made.
    static BuildPanel* Show(CTavScreen* main, Mode mode, const std::string& title,
                            const std::vector<std::string>& errors = {});
    static BuildPanel* Of(const CTavScreen* main);
    static void Remove(CTavScreen* main);

    Mode GetMode() const { return m_mode; }
    int Percent() const { return m_percent; }
    void SetProgress(int percent, const std::string& step);

    void AfterInitialize() override;
    void AfterBackBufferRedrawn() override;
    void AfterKeyDown(UINT key) override;
    BOOL OnButtonDown(DWORD bID) override;
    void OnListBoxItemDoubleClicked(DWORD lID, int item) override;

private:
    Mode m_mode;
    std::string m_title;
    std::vector<std::string> m_errors;
    int m_percent = 0;
};

} // namespace tav::builder
