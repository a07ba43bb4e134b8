#pragma once

#include "builder/DialogKit.h"
#include "model/ModelTypes.h"

#include <cstdint>
#include <string>

namespace tav {
class Project;
}

namespace tav::builder {

// Properties of a project (also those of a new one). The caller sets the nine values, runs the dialog
// and copies them back into its project when `confirmed` is 1.
class ProjectDialog : public DialogKit {
public:
    ProjectDialog();

    enum Control : DWORD {
        OkButton = 0,
        CancelButton = 1,
        NameLabel = 2,
        NameEdit = 3,
        ModeLabel = 4,
        FullScreenCheck = 5,
        WindowCheck = 6,
        XLabel = 7,
        XEdit = 8,
        YLabel = 9,
        YEdit = 10,
        DepthLabel = 11,
        DepthEdit = 12,
        WidthLabel = 13,
        WidthEdit = 14,
        HeightLabel = 15,
        HeightEdit = 16,
        FrameRateCheck = 17,
        VerticalBlankCheck = 18,
    };

    std::string name = "MyProject";
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 800;
    std::int32_t height = 600;
    std::int32_t bitsPerPixel = 24;
    AppMode appMode = AppMode::Window;
    Flag showFrameRate = 0;
    Flag waitVerticalBlank = 0;
    Flag confirmed = 0;
    // The project being edited, whose screen names the new name must not clash with; null for a new one.
    const Project* project = nullptr;

    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    void OnCheckBoxClick(DWORD cID, BOOL newValue) override;

private:
    void Accept();
};

} // namespace tav::builder
