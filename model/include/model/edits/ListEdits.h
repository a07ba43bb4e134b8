#pragma once

#include "model/Project.h"
#include "model/edits/Edit.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Edits of the project's two lists, screens and objects, alike: an item put in, taken out or replaced
// at an index valid in the state the edit is applied to.
namespace tav::edits {

inline std::vector<std::unique_ptr<ScreenDef>>& ListOf(Project& project, const ScreenDef*) {
    return project.screens;
}
inline std::vector<std::unique_ptr<ObjectDef>>& ListOf(Project& project, const ObjectDef*) {
    return project.objects;
}

// Gives the item in place the fields of `with`; an object keeps its view id.
inline void Assign(ScreenDef& item, const ScreenDef& with) {
    item = with;
}
inline void Assign(ObjectDef& item, const ObjectDef& with) {
    const auto viewId = item.designId;
    item = with;
    item.designId = viewId;
}

template <class Item>
void InsertAt(Project& project, std::int32_t index, const Item& item) {
    auto& list = ListOf(project, &item);
    list.insert(list.begin() + index, std::make_unique<Item>(item));
}

template <class Item>
void RemoveAt(Project& project, std::int32_t index) {
    auto& list = ListOf(project, static_cast<const Item*>(nullptr));
    list.erase(list.begin() + index);
}

// Puts an item into its list at `index` (Revert takes it out again); Remove is the reverse.
template <class Item>
class Insert : public Edit {
public:
    Insert(std::int32_t index, Item item) : m_index(index), m_item(std::move(item)) {}
    void Apply(Project& project) const override { InsertAt(project, m_index, m_item); }
    void Revert(Project& project) const override { RemoveAt<Item>(project, m_index); }
    std::string Name(const Project&) const override { return "Add " + m_item.name; }

private:
    std::int32_t m_index;
    Item m_item;
};

template <class Item>
class Remove : public Edit {
public:
    Remove(std::int32_t index, Item item) : m_index(index), m_item(std::move(item)) {}
    void Apply(Project& project) const override { RemoveAt<Item>(project, m_index); }
    void Revert(Project& project) const override { InsertAt(project, m_index, m_item); }
    std::string Name(const Project&) const override { return "Delete " + m_item.name; }

private:
    std::int32_t m_index;
    Item m_item;
};

// Replaces every field of one item.
template <class Item>
class Replace : public Edit {
public:
    Replace(std::int32_t index, Item before, Item after)
        : m_index(index), m_before(std::move(before)), m_after(std::move(after)) {}
    void Apply(Project& project) const override { Assign(*ListOf(project, &m_after)[m_index], m_after); }
    void Revert(Project& project) const override { Assign(*ListOf(project, &m_before)[m_index], m_before); }
    std::string Name(const Project&) const override { return "Change " + m_after.name; }

private:
    std::int32_t m_index;
    Item m_before;
    Item m_after;
};

using InsertObject = Insert<ObjectDef>;
using RemoveObject = Remove<ObjectDef>;
using ReplaceObject = Replace<ObjectDef>;
using InsertScreen = Insert<ScreenDef>;
using RemoveScreen = Remove<ScreenDef>;
using ReplaceScreen = Replace<ScreenDef>;

} // namespace tav::edits
