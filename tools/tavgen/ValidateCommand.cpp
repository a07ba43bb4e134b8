#include "tavgen/Tavgen.h"

#include "model/CodeNames.h"
#include "model/ProjectFile.h"
#include "model/Validation.h"

#include <string_view>
#include <unordered_set>

namespace tav {

namespace {

constexpr const char* kUsage =
    "Usage: tavgen validate PROJECT.tvp\n"
    "\n"
    "Applies the designer's rules for edited screens and objects to every screen and object of the\n"
    "project and prints one line per failing item: \"SCREEN: MESSAGE\" or \"SCREEN/OBJECT: MESSAGE\".\n"
    "Then one line per problem that would keep the generated code from compiling, as \"generate\"\n"
    "refuses them: names that are no C++ identifiers or clash with each other or the library's names,\n"
    "and buttons that open a missing screen (a project's own problems have no prefix).\n"
    "Warnings (values the designer cannot save, objects on screens that do not exist) go to standard\n"
    "error as \"warning: ...\".\n"
    "\n"
    "Exit status: 0 when every item passes, 1 when any fails, 2 when the file cannot be read.\n";

// Objects on screens that do not exist make no code; the designer cannot reach them either.
void WarnAboutLostObjects(const Project& project, std::ostream& err) {
    std::unordered_set<std::string_view> screenNames;
    for (const auto& screen : project.screens)
        screenNames.insert(screen->name);
    for (const auto& object : project.objects)
        if (object->screenName.empty() || !screenNames.contains(object->screenName))
            err << "warning: object \"" << object->screenName << "/" << object->name << "\" lies on screen \""
                << object->screenName << "\", which does not exist\n";
}

} // namespace

int RunValidateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine command;
    if (const auto status = ParseCommandLine(args, kUsage, 1, "tavgen validate: expected one project file",
                                             command, out, err))
        return *status;
    Project project;
    if (!LoadProject(command.positional.front(), project, err))
        return kExitUsage;

    for (const std::string& field : FindUnwritableFields(project))
        err << "warning: " << field << "; the designer cannot save this project\n";
    WarnAboutLostObjects(project, err);

    // One line per item: a code problem of an item that already fails a rule is the same fault again.
    const std::vector<ItemFailure> failures = ValidateProject(project);
    std::unordered_set<std::string> failed;
    for (const ItemFailure& failure : failures) {
        const bool screen = failure.objectIndex < 0;
        const ObjectDef* object = screen ? nullptr : &project.Object(failure.objectIndex);
        const std::string item =
            screen ? project.Screen(failure.screenIndex).name : object->screenName + "/" + object->name;
        failed.insert(item);
        out << item << ": " << failure.message << "\n";
    }
    const std::vector<CodeProblem> problems = CheckCode(project);
    for (const CodeProblem& problem : problems)
        if (problem.screen.empty() ||
            !failed.contains(problem.object.empty() ? problem.screen : problem.screen + "/" + problem.object))
            out << DescribeProblem(problem) << "\n";
    return failures.empty() && problems.empty() ? kExitOk : kExitFailures;
}

} // namespace tav
