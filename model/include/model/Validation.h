#pragma once

#include <string>

namespace tav {

// The field of the project dialog that takes the keyboard focus after a failed rule.
enum class ProjectField { None, Width, Height };

struct ProjectRuleFailure {
    std::string message; // empty when every rule passes
    ProjectField focus = ProjectField::None;
};

// Rules of the project dialog, tried in order on the texts of its fields.
ProjectRuleFailure ValidateProjectSettings(const std::string& nameText, const std::string& widthText,
                                           const std::string& heightText);

} // namespace tav
