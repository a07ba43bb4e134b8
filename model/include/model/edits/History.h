#pragma once

#include "model/edits/Edit.h"
#include "model/edits/ProjectState.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tav::edits {

// The undo and redo stacks of one project, without limit. The project's `modified` flag follows the
// position: it is clear exactly when the project is at its last saved (or opened) state.
class History {
public:
    // Applies `edit` to `project` and makes it the step to undo; the redo steps are dropped.
    void Do(Project& project, EditPtr edit);
    // For a change already made in place: records the difference from `before` as one step named
    // `name`. False (and nothing recorded) when nothing changed.
    bool Record(Project& project, const ProjectState& before, std::string name);

    bool CanUndo() const { return m_position > 0; }
    bool CanRedo() const { return m_position < m_steps.size(); }
    bool Undo(Project& project);
    bool Redo(Project& project);
    // The names of the next steps ("" when there is none).
    std::string UndoName(const Project& project) const;
    std::string RedoName(const Project& project) const;
    // The steps Undo and Redo would take next (null when there is none).
    const Edit* UndoStep() const { return CanUndo() ? m_steps[m_position - 1].get() : nullptr; }
    const Edit* RedoStep() const { return CanRedo() ? m_steps[m_position].get() : nullptr; }

    // The project's current state is the saved one.
    void MarkSaved(Project& project);
    // A new or opened project: no steps, and its current state counts as saved.
    void Reset(Project& project);
    // No project: no steps.
    void Clear();
    std::size_t StepCount() const { return m_steps.size(); }
    // Grows with every change of the project's state (a step done, undone or redone, a reset): equal
    // counts mean the same state.
    std::uint64_t Changes() const { return m_changes; }

private:
    void Push(EditPtr edit);
    void UpdateModified(Project& project);

    std::vector<EditPtr> m_steps;
    std::size_t m_position = 0;
    // Position of the saved state; npos when it was dropped with the redo steps.
    std::size_t m_saved = 0;
    std::uint64_t m_changes = 0;
};

} // namespace tav::edits
