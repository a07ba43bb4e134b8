#include "model/edits/ProjectState.h"

#include "model/Project.h"
#include "model/edits/ListEdits.h"

#include <cstdint>

namespace tav::edits {
namespace {

bool Same(const ScreenDef& a, const ScreenDef& b) {
    return a == b;
}

bool Same(const ObjectDef& a, const ObjectDef& b) {
    if (a.designId == b.designId)
        return a == b;
    ObjectDef withId = b;
    withId.designId = a.designId;
    return a == withId;
}

// Appends to `parts` the edits that turn the list `before` into `after` (the project's list).
template <typename Item, typename Owned>
void DiffList(const std::vector<Item>& before, const std::vector<Owned>& after, std::vector<EditPtr>& parts) {
    const std::size_t oldCount = before.size();
    const std::size_t newCount = after.size();
    if (oldCount == newCount) {
        for (std::size_t i = 0; i < oldCount; ++i)
            if (!Same(before[i], *after[i]))
                parts.push_back(
                    std::make_unique<Replace<Item>>(static_cast<std::int32_t>(i), before[i], *after[i]));
        return;
    }
    std::size_t prefix = 0;
    while (prefix < oldCount && prefix < newCount && Same(before[prefix], *after[prefix]))
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < oldCount - prefix && suffix < newCount - prefix &&
           Same(before[oldCount - 1 - suffix], *after[newCount - 1 - suffix]))
        ++suffix;
    for (std::size_t i = oldCount - suffix; i-- > prefix;)
        parts.push_back(std::make_unique<Remove<Item>>(static_cast<std::int32_t>(i), before[i]));
    for (std::size_t i = prefix; i < newCount - suffix; ++i)
        parts.push_back(std::make_unique<Insert<Item>>(static_cast<std::int32_t>(i), *after[i]));
}

} // namespace

ProjectState StateOf(const Project& project) {
    ProjectState state;
    state.settings = SettingsOf(project);
    state.screens.reserve(project.screens.size());
    for (const auto& screen : project.screens)
        state.screens.push_back(*screen);
    state.objects.reserve(project.objects.size());
    for (const auto& object : project.objects)
        state.objects.push_back(*object);
    return state;
}

EditPtr Difference(const ProjectState& before, const Project& project, std::string name) {
    std::vector<EditPtr> parts;
    const ProjectSettings after = SettingsOf(project);
    if (!(before.settings == after))
        parts.push_back(std::make_unique<ChangeSettings>(before.settings, after));
    DiffList(before.screens, project.screens, parts);
    DiffList(before.objects, project.objects, parts);
    if (parts.empty())
        return nullptr;
    return std::make_unique<Compound>(std::move(name), std::move(parts));
}

} // namespace tav::edits
