#include "model/Project.h"

#include <algorithm>

namespace tav {

ScreenDef* Project::FindScreen(const std::string& screenName) {
    const int index = FindScreenIndex(screenName);
    return index < 0 ? nullptr : &Screen(index);
}

const ScreenDef* Project::FindScreen(const std::string& screenName) const {
    const int index = FindScreenIndex(screenName);
    return index < 0 ? nullptr : &Screen(index);
}

int Project::FindScreenIndex(const std::string& screenName) const {
    if (screenName.empty())
        return -1;
    for (int i = 0; i < ScreenCount(); ++i)
        if (Screen(i).name == screenName)
            return i;
    return -1;
}

bool Project::HasOtherStartupScreen(const std::string& screenName) const {
    return std::any_of(screens.begin(), screens.end(), [&](const auto& screen) {
        return screen->startup == 1 && screen->name != screenName;
    });
}

int Project::FindObjectIndex(const std::string& objectName, const std::string& screenName) const {
    for (int i = 0; i < ObjectCount(); ++i)
        if (Object(i).name == objectName && Object(i).screenName == screenName)
            return i;
    return -1;
}

int Project::CountObjects(const std::string& objectName, const std::string& screenName) const {
    return static_cast<int>(std::count_if(objects.begin(), objects.end(), [&](const auto& object) {
        return object->name == objectName && object->screenName == screenName;
    }));
}

void Project::AddScreen(std::unique_ptr<ScreenDef> screen) {
    if (screen->type != ScreenType::FullScreen)
        screen->startup = 0;
    screens.push_back(std::move(screen));
    modified = 1;
}

void Project::AddObject(std::unique_ptr<ObjectDef> object) {
    objects.push_back(std::move(object));
    modified = 1;
}

void Project::DeleteScreen(int index) {
    if (index < 0 || index >= ScreenCount())
        return;
    const std::string removed = Screen(index).name;
    screens.erase(screens.begin() + index);
    std::erase_if(objects, [&](const auto& object) { return object->screenName == removed; });
    for (auto& object : objects)
        if (object->clickScreen == removed)
            object->clickScreen.clear();
    modified = 1;
}

void Project::DeleteObject(int index) {
    if (index < 0 || index >= ObjectCount())
        return;
    objects.erase(objects.begin() + index);
    modified = 1;
}

void Project::RenameScreen(int index, const std::string& newName) {
    if (index < 0 || index >= ScreenCount())
        return;
    const std::string oldName = Screen(index).name;
    for (auto& object : objects) {
        if (object->screenName == oldName)
            object->screenName = newName;
        // An empty name stands for "none", never for a screen.
        if (object->clickScreen == oldName && !oldName.empty())
            object->clickScreen = newName;
    }
    for (auto& screen : screens)
        if (screen->parent == oldName && !oldName.empty())
            screen->parent = newName;
    Screen(index).name = newName;
    modified = 1;
}

void Project::Clear() {
    objects.clear();
    screens.clear();
}

} // namespace tav
