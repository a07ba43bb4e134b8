#include "model/edits/ObjectEdits.h"

#include "model/Project.h"

#include <memory>

namespace tav {

Bounds BoundsOf(const ObjectDef& object) {
    return {object.x, object.y, object.width, object.height};
}

} // namespace tav

namespace tav::edits {
namespace {

void Place(ObjectDef& object, const Bounds& bounds) {
    object.x = bounds.x;
    object.y = bounds.y;
    object.width = bounds.width;
    object.height = bounds.height;
}

void Reorder(Project& project, std::int32_t from, std::int32_t to) {
    auto moved = std::move(project.objects[static_cast<std::size_t>(from)]);
    project.objects.erase(project.objects.begin() + from);
    project.objects.insert(project.objects.begin() + to, std::move(moved));
}

} // namespace

void MoveObjects::Apply(Project& project) const {
    for (const Shift& shift : m_shifts) {
        project.Object(shift.index).x += shift.dx;
        project.Object(shift.index).y += shift.dy;
    }
}

void MoveObjects::Revert(Project& project) const {
    for (const Shift& shift : m_shifts) {
        project.Object(shift.index).x -= shift.dx;
        project.Object(shift.index).y -= shift.dy;
    }
}

std::string MoveObjects::Name(const Project& applied) const {
    if (m_shifts.size() == 1)
        return "Move " + applied.Object(m_shifts.front().index).name;
    return "Move " + std::to_string(m_shifts.size()) + " Objects";
}

bool MoveObjects::MovesOnly(std::vector<std::int32_t>* indexes) const {
    for (const Shift& shift : m_shifts)
        indexes->push_back(shift.index);
    return true;
}

void SetBounds::Apply(Project& project) const {
    for (const Change& change : m_changes)
        Place(project.Object(change.index), change.after);
}

void SetBounds::Revert(Project& project) const {
    for (const Change& change : m_changes)
        Place(project.Object(change.index), change.before);
}

void ReorderObject::Apply(Project& project) const {
    Reorder(project, m_from, m_to);
}

void ReorderObject::Revert(Project& project) const {
    Reorder(project, m_to, m_from);
}

} // namespace tav::edits
