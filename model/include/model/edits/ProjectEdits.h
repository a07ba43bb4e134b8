#pragma once

#include "model/ModelTypes.h"
#include "model/ScreenDef.h"
#include "model/edits/Edit.h"
#include "model/edits/ListEdits.h"

#include <cstdint>
#include <string>

// Edits of the project's own settings; its screen list's are in ListEdits.h.
namespace tav::edits {

// The project's settings as the project dialog edits them.
struct ProjectSettings {
    std::string name;
    AppMode appMode = AppMode::Window;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 800;
    std::int32_t height = 600;
    std::int32_t bitsPerPixel = 24;
    Flag showFrameRate = 0;
    Flag waitVerticalBlank = 0;
    bool operator==(const ProjectSettings&) const = default;
};
ProjectSettings SettingsOf(const Project& project);
void SetSettings(Project& project, const ProjectSettings& settings);

class ChangeSettings : public Edit {
public:
    ChangeSettings(ProjectSettings before, ProjectSettings after)
        : m_before(std::move(before)), m_after(std::move(after)) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    std::string Name(const Project&) const override { return "Project Properties"; }

private:
    ProjectSettings m_before;
    ProjectSettings m_after;
};

} // namespace tav::edits
