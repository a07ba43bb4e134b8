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

void ReplaceScreen::Apply(Project& project) const {
    project.Screen(m_index) = m_after;
}

void ReplaceScreen::Revert(Project& project) const {
    project.Screen(m_index) = m_before;
}

void InsertScreen::Apply(Project& project) const {
    project.screens.insert(project.screens.begin() + m_index, std::make_unique<ScreenDef>(m_screen));
}

void InsertScreen::Revert(Project& project) const {
    project.screens.erase(project.screens.begin() + m_index);
}

void RemoveScreen::Apply(Project& project) const {
    project.screens.erase(project.screens.begin() + m_index);
}

void RemoveScreen::Revert(Project& project) const {
    project.screens.insert(project.screens.begin() + m_index, std::make_unique<ScreenDef>(m_screen));
}

} // namespace tav::edits
