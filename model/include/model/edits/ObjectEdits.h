#pragma once

#include "model/Bounds.h"
#include "model/ObjectDef.h"
#include "model/edits/Edit.h"

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

// Replaces every field of one object (its view id stays).
class ReplaceObject : public Edit {
public:
    ReplaceObject(std::int32_t index, ObjectDef before, ObjectDef after)
        : m_index(index), m_before(std::move(before)), m_after(std::move(after)) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    std::string Name(const Project&) const override { return "Change " + m_after.name; }

private:
    std::int32_t m_index;
    ObjectDef m_before;
    ObjectDef m_after;
};

// Puts an object into the list at `index` (Revert takes it out again); RemoveObject is the reverse.
class InsertObject : public Edit {
public:
    InsertObject(std::int32_t index, ObjectDef object) : m_index(index), m_object(std::move(object)) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    std::string Name(const Project&) const override { return "Add " + m_object.name; }

private:
    std::int32_t m_index;
    ObjectDef m_object;
};

class RemoveObject : public Edit {
public:
    RemoveObject(std::int32_t index, ObjectDef object) : m_index(index), m_object(std::move(object)) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    std::string Name(const Project&) const override { return "Delete " + m_object.name; }

private:
    std::int32_t m_index;
    ObjectDef m_object;
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
