#include "model/edits/ProjectEdits.h"

#include "model/Project.h"

#include <memory>

namespace tav::edits {

ProjectSettings SettingsOf(const Project& project) {
    return {project.name,
            project.appMode,
            project.x,
            project.y,
            project.width,
            project.height,
            project.bitsPerPixel,
            project.showFrameRate,
            project.waitVerticalBlank};
}

void SetSettings(Project& project, const ProjectSettings& settings) {
    project.name = settings.name;
    project.appMode = settings.appMode;
    project.x = settings.x;
    project.y = settings.y;
    project.width = settings.width;
    project.height = settings.height;
    project.bitsPerPixel = settings.bitsPerPixel;
    project.showFrameRate = settings.showFrameRate;
    project.waitVerticalBlank = settings.waitVerticalBlank;
}

void ChangeSettings::Apply(Project& project) const {
    SetSettings(project, m_after);
}

void ChangeSettings::Revert(Project& project) const {
    SetSettings(project, m_before);
}

} // namespace tav::edits
