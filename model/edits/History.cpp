#include "model/edits/History.h"

#include "model/Project.h"

namespace tav::edits {
namespace {
constexpr std::size_t kNoSavedState = static_cast<std::size_t>(-1);
}

void History::Push(EditPtr edit) {
    m_steps.resize(m_position);
    if (m_saved != kNoSavedState && m_saved > m_position)
        m_saved = kNoSavedState;
    m_steps.push_back(std::move(edit));
    ++m_position;
}

void History::UpdateModified(Project& project) {
    ++m_changes;
    project.modified = m_position == m_saved ? 0 : 1;
}

void History::Do(Project& project, EditPtr edit) {
    edit->Apply(project);
    Push(std::move(edit));
    UpdateModified(project);
}

bool History::Record(Project& project, const ProjectState& before, std::string name) {
    EditPtr edit = Difference(before, project, std::move(name));
    if (edit == nullptr)
        return false;
    Push(std::move(edit));
    UpdateModified(project);
    return true;
}

bool History::Undo(Project& project) {
    if (!CanUndo())
        return false;
    m_steps[--m_position]->Revert(project);
    UpdateModified(project);
    return true;
}

bool History::Redo(Project& project) {
    if (!CanRedo())
        return false;
    m_steps[m_position++]->Apply(project);
    UpdateModified(project);
    return true;
}

std::string History::UndoName(const Project& project) const {
    return CanUndo() ? m_steps[m_position - 1]->Name(project) : std::string();
}

std::string History::RedoName(const Project& project) const {
    if (!CanRedo())
        return {};
    // Names that read the project read only what their own step leaves as it is.
    return m_steps[m_position]->Name(project);
}

void History::MarkSaved(Project& project) {
    m_saved = m_position;
    project.modified = 0;
}

void History::Reset(Project& project) {
    m_steps.clear();
    m_position = 0;
    m_saved = project.modified != 0 ? kNoSavedState : 0;
    ++m_changes;
}

void History::Clear() {
    m_steps.clear();
    m_position = 0;
    m_saved = 0;
    ++m_changes;
}

} // namespace tav::edits
