#pragma once

#include "model/Project.h"
#include "tavctrls/TavCtrls.h"

#include <cstdint>
#include <string>

namespace tav::builder {

class DesignView;
class MainScreen;
class PreviewScreen;

// Text colours of the tree's screen and object items.
inline constexpr COLORREF kScreenItemColour = RGB(0, 0, 255);
inline constexpr COLORREF kObjectItemColour = RGB(255, 128, 0);
// designId of an object that has no control in the view.
inline constexpr std::uint32_t kNoDesignId = 0xFFFFFFFFu;

// View id of the object at `index` of the project's object list: the arrows keep 101 to 104.
DWORD ViewIdOf(int index);

// Fills an empty tree with the project's root, screens and objects and selects the named screen or
// object (when found).
void FillProjectTree(const Project& project, CTavTree* tree, const std::string& screenName,
                     const std::string& objectName);

// Rebuilds `view` to show the named screen of `project` (null or an empty name: an empty view).
// Preview layout fills 800 x 600 at (0, 0) and ties the view to `mainScreen`. A control whose object
// and bitmap files are unchanged since the last rebuild, and that has not had the focus, is kept.
void ShowScreenInView(Project* project, DesignView* view, const std::string& screenName, bool previewLayout,
                      MainScreen* mainScreen = nullptr, PreviewScreen* previewScreen = nullptr);

// The control that shows `object` in a view, configured as the generated screen would, with sample
// content; null when it cannot be made.
CTavObject* MakeViewControl(const ObjectDef& object, DWORD id, CTavScreen* view);

} // namespace tav::builder
