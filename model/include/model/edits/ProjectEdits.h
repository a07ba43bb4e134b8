#pragma once

#include "model/ModelTypes.h"
#include "model/ScreenDef.h"
#include "model/edits/Edit.h"

#include <cstdint>
#include <string>

// Edits of the project's own settings and of its screen list (indexes into `Project::screens`).
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

class ReplaceScreen : public Edit {
public:
    ReplaceScreen(std::int32_t index, ScreenDef before, ScreenDef after)
        : m_index(index), m_before(std::move(before)), m_after(std::move(after)) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    std::string Name(const Project&) const override { return "Change " + m_after.name; }

private:
    std::int32_t m_index;
    ScreenDef m_before;
    ScreenDef m_after;
};

// Puts a screen (without objects) into the list at `index`; RemoveScreen is the reverse.
class InsertScreen : public Edit {
public:
    InsertScreen(std::int32_t index, ScreenDef screen) : m_index(index), m_screen(std::move(screen)) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    std::string Name(const Project&) const override { return "Add " + m_screen.name; }

private:
    std::int32_t m_index;
    ScreenDef m_screen;
};

class RemoveScreen : public Edit {
public:
    RemoveScreen(std::int32_t index, ScreenDef screen) : m_index(index), m_screen(std::move(screen)) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    std::string Name(const Project&) const override { return "Delete " + m_screen.name; }

private:
    std::int32_t m_index;
    ScreenDef m_screen;
};

} // namespace tav::edits
