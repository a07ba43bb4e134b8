#pragma once

#include "model/ObjectDef.h"
#include "model/ScreenDef.h"
#include "model/edits/Edit.h"
#include "model/edits/ProjectEdits.h"

#include <string>
#include <vector>

// A copy of everything an edit can change, for commands that change a project in place (a dialog's
// OK): take the state before, change the project, then `Difference` gives the edit between them.
namespace tav::edits {

struct ProjectState {
    ProjectSettings settings;
    std::vector<ScreenDef> screens;
    std::vector<ObjectDef> objects;
};

ProjectState StateOf(const Project& project);

// The smallest edit of this kind's making that turns `before` into `project`'s state: changed items
// are replaced, and where the lists' lengths differ the differing middle is removed and inserted.
// Object view ids are not compared. Null when nothing differs.
EditPtr Difference(const ProjectState& before, const Project& project, std::string name);

} // namespace tav::edits
