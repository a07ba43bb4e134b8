#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tav {

class Project;
struct ObjectDef;
struct ScreenDef;

// Something in a project that would keep the generated code from compiling. `screen` and `object` are
// empty for the project itself, `object` for a screen.
struct CodeProblem {
    std::string screen;
    std::string object;
    std::string message;
};

// Every problem of the project's generated code, in project order: names that are no identifiers,
// generated classes, include guards, enums, constants and files that collide with each other (files
// also when they differ only in case), with the library's names or with the names generated code
// always uses, and buttons that open a screen the project lacks. Linear in the project's size.
std::vector<CodeProblem> CheckCode(const Project& project);

// "SCREEN/OBJECT: MESSAGE", "SCREEN: MESSAGE" or, for the project, "MESSAGE".
std::string DescribeProblem(const CodeProblem& problem);

// The first code problem of an edited item against the rest of the project (kept as it is, problems of its
// own included), or an empty text. `editedIndex` as for Project::ValidateScreen and ValidateObject.
std::string ScreenCodeProblem(const Project& project, const ScreenDef& candidate, int editedIndex);
std::string ObjectCodeProblem(const Project& project, const ObjectDef& candidate, int editedIndex);
// `project` may be null: only the name's own rules apply then.
std::string ProjectNameProblem(const std::string& name, const Project* project);

// The names the public headers of TavCtrls declare (classes, typedefs, macros, functions, members, enum
// values and constants).
const std::vector<std::string_view>& LibraryNames();
// The names the C and POSIX libraries give the global scope of generated code through <TavCtrls.h>.
const std::vector<std::string_view>& SystemNames();

} // namespace tav
