#pragma once

#include <string>
#include <vector>

namespace tav {

class Project;

// A screen or object that fails the edited-item rules, with the first failing rule's message.
struct ItemFailure {
    int screenIndex = -1; // -1 for an object
    int objectIndex = -1; // -1 for a screen
    std::string message;
};

// Every screen and then every object that fails the rules as ValidateScreen and ValidateObject
// judge it in place (edited index: its own), in project order, but for the rules of generated names,
// which CheckCode (model/CodeNames.h) gives for the whole project. Linear in the project's size.
std::vector<ItemFailure> ValidateProject(const Project& project);

// The field of the project dialog that takes the keyboard focus after a failed rule.
enum class ProjectField { None, Width, Height };

struct ProjectRuleFailure {
    std::string message; // empty when every rule passes
    ProjectField focus = ProjectField::None;
};

// Rules of the project dialog, tried in order on the texts of its fields. The name must then make an
// application class that clashes with nothing; with `project`, not with its screens and objects either.
ProjectRuleFailure ValidateProjectSettings(const std::string& nameText, const std::string& widthText,
                                           const std::string& heightText, const Project* project = nullptr);

} // namespace tav
