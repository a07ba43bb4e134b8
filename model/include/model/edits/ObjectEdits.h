#pragma once

#include "model/Bounds.h"
#include "model/ObjectDef.h"
#include "model/edits/Edit.h"
#include "model/edits/ListEdits.h"

#include <cstdint>
#include <string>
#include <vector>

// Edits of the project's object list. Indexes are into `Project::objects`, valid in the state the
// edit is applied to.
namespace tav::edits {

// Moves objects by whole pixels: a drag, a nudge. Kept small, since a session makes many.
class MoveObjects : public Edit {
public:
    struct Shift {
        std::int32_t index;
        std::int32_t dx;
        std::int32_t dy;
    };
    explicit MoveObjects(std::vector<Shift> shifts) : m_shifts(std::move(shifts)) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    // "Move NAME" for one object, "Move N Objects" for more.
    std::string Name(const Project& applied) const override;
    bool MovesOnly(std::vector<std::int32_t>* indexes) const override;

private:
    std::vector<Shift> m_shifts;
};

// Gives objects new positions and sizes: a resize, an align, a distribute.
class SetBounds : public Edit {
public:
    struct Change {
        std::int32_t index;
        Bounds before;
        Bounds after;
    };
    SetBounds(std::string name, std::vector<Change> changes)
        : m_name(std::move(name)), m_changes(std::move(changes)) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    std::string Name(const Project&) const override { return m_name; }

private:
    std::string m_name;
    std::vector<Change> m_changes;
};

// Moves one object within the list from index `from` to index `to`: the drawing and routing order.
class ReorderObject : public Edit {
public:
    ReorderObject(std::string name, std::int32_t from, std::int32_t to)
        : m_name(std::move(name)), m_from(from), m_to(to) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    std::string Name(const Project&) const override { return m_name; }

private:
    std::string m_name;
    std::int32_t m_from;
    std::int32_t m_to;
};

} // namespace tav::edits
