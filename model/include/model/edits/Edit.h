#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tav {
class Project;
}

namespace tav::edits {

// One change to a project that applies and reverts itself: Revert after Apply (and Apply after
// Revert) gives the project back byte for byte. An edit is applied only to the project state it was
// made for (the history keeps that order). Object ids of the design view (`designId`) belong to the
// view: edits neither record nor restore them.
class Edit {
public:
    virtual ~Edit() = default;
    virtual void Apply(Project& project) const = 0;
    virtual void Revert(Project& project) const = 0;
    // The step's name in menus ("Move MyButton"); `applied` is the project just after Apply.
    virtual std::string Name(const Project& applied) const = 0;
    // True when the edit only moves objects; appends their indexes (views then move controls only).
    virtual bool MovesOnly(std::vector<std::int32_t>* indexes) const {
        (void)indexes;
        return false;
    }
};

using EditPtr = std::unique_ptr<Edit>;

// Several edits as one step, applied in order and reverted in reverse order.
class Compound : public Edit {
public:
    Compound(std::string name, std::vector<EditPtr> parts)
        : m_name(std::move(name)), m_parts(std::move(parts)) {}
    void Apply(Project& project) const override;
    void Revert(Project& project) const override;
    std::string Name(const Project&) const override { return m_name; }
    bool Empty() const { return m_parts.empty(); }

private:
    std::string m_name;
    std::vector<EditPtr> m_parts;
};

} // namespace tav::edits
