#pragma once

#include "model/ObjectDef.h"

#include <string>
#include <string_view>
#include <vector>

namespace tav {

class Project;

// Objects as the clipboard carries them between screens and designers: a first line naming the form,
// then each object's record exactly as the project file writes it (CR LF line ends).
std::string FormatObjectRecords(const std::vector<const ObjectDef*>& objects);

// Reads text made by FormatObjectRecords (LF line ends accepted too). Anything else, truncated or
// damaged records included, gives false with a reason in `error` and leaves `objects` untouched.
bool ParseObjectRecords(std::string_view text, std::vector<ObjectDef>& objects, std::string* error);

// Readies objects to be pasted on `screenName`: each goes on that screen with a name that no object of
// it bears (its own when free, else its kind's base name numbered as new objects are), and all are
// shifted together by 10 pixels right and down as often as needed so that none covers an object of
// the screen with the same position and size.
std::vector<ObjectDef> PrepareToPaste(const Project& project, const std::string& screenName,
                                      std::vector<ObjectDef> objects);

} // namespace tav
