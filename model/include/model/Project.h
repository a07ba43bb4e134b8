#pragma once

#include "model/ModelTypes.h"
#include "model/ObjectDef.h"
#include "model/ScreenDef.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tav {

// The designer's whole document: application settings, screens and the objects of every screen.
// Screens and objects refer to each other by name only; names are compared byte for byte.
class Project {
public:
    static constexpr int kNewItem = -1; // edited index of an item that is not in the project yet

    Project() = default;
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    // State of the current code-generation run; never stored in the project file.
    std::int32_t overwriteAnswer = 1;
    Flag artRelocated = 0;
    std::vector<std::string> generatedFiles;
    // The files whose merge set some of the user's lines aside, with the number of groups set aside.
    std::vector<std::pair<std::string, int>> keptCode;
    // The folder of the file the project was read from or last written to (model/BitmapPaths.h); empty
    // before. Never stored in the project file.
    std::string folder;

    std::string name;
    AppMode appMode = AppMode::Window;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 800;
    std::int32_t height = 600;
    std::int32_t bitsPerPixel = 24;
    Flag showFrameRate = 0;
    Flag waitVerticalBlank = 0;
    Flag modified = 1;
    std::vector<std::unique_ptr<ScreenDef>> screens;
    std::vector<std::unique_ptr<ObjectDef>> objects;

    int ScreenCount() const { return static_cast<int>(screens.size()); }
    int ObjectCount() const { return static_cast<int>(objects.size()); }
    ScreenDef& Screen(int index) { return *screens[static_cast<std::size_t>(index)]; }
    const ScreenDef& Screen(int index) const { return *screens[static_cast<std::size_t>(index)]; }
    ObjectDef& Object(int index) { return *objects[static_cast<std::size_t>(index)]; }
    const ObjectDef& Object(int index) const { return *objects[static_cast<std::size_t>(index)]; }

    // Lookups. An empty name finds no screen.
    ScreenDef* FindScreen(const std::string& screenName);
    const ScreenDef* FindScreen(const std::string& screenName) const;
    int FindScreenIndex(const std::string& screenName) const;
    // True when a screen not named `screenName` is the startup screen (empty: any screen).
    bool HasOtherStartupScreen(const std::string& screenName) const;
    int FindObjectIndex(const std::string& objectName, const std::string& screenName) const;
    int CountObjects(const std::string& objectName, const std::string& screenName) const;

    // Edits; each sets `modified`.
    void AddScreen(std::unique_ptr<ScreenDef> screen); // only a full screen keeps its startup flag
    void AddObject(std::unique_ptr<ObjectDef> object);
    // Removes the screen and every object on it; buttons that opened it open nothing any more.
    // Parents that named it are left as they are. Out-of-range indexes are ignored.
    void DeleteScreen(int index);
    void DeleteObject(int index); // out-of-range indexes are ignored
    // Gives an existing screen a new name; its objects move with it, and parents and click screens
    // that named the old name name the new one.
    void RenameScreen(int index, const std::string& newName);
    void Clear();

    // Rules applied before a dialog stores a screen or object: the first failing rule's message,
    // or an empty text. `editedIndex` is the index of the item being edited, or kNewItem. The names the
    // item gives generated code are judged last (model/CodeNames.h).
    std::string ValidateScreen(const ScreenDef& candidate, int editedIndex) const;
    std::string ValidateObject(const ObjectDef& candidate, int editedIndex) const;

    // The project file. Both give false on failure (with a reason in `error` when given) and
    // leave the project as it was; on success `modified` becomes 0.
    bool WriteProjectFile(const std::string& path, std::string* error = nullptr);
    bool ReadProjectFile(const std::string& path, std::string* error = nullptr);
};

} // namespace tav
