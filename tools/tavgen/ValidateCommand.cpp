#include "tavgen/Tavgen.h"

#include "model/Names.h"
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
    "Warnings (values the designer cannot save, names that are not C++ identifiers, objects on\n"
    "screens that do not exist) go to standard error as \"warning: ...\".\n"
    "\n"
    "Exit status: 0 when every item passes, 1 when any fails, 2 when the file cannot be read.\n";

void WarnAboutNames(const Project& project, std::ostream& err) {
    if (!IsCppIdentifier(project.name))
        err << "warning: project name \"" << project.name
            << "\" is not a C++ identifier; the generated application class will not compile\n";
    std::unordered_set<std::string_view> screenNames;
    for (const auto& screen : project.screens)
        screenNames.insert(screen->name);
    for (const auto& screen : project.screens)
        if (!IsCppIdentifier(screen->name))
            err << "warning: screen name \"" << screen->name
                << "\" is not a C++ identifier; the generated screen class will not compile\n";
    for (const auto& object : project.objects) {
        if (object->screenName.empty() || !screenNames.contains(object->screenName))
            err << "warning: object \"" << object->screenName << "/" << object->name << "\" lies on screen \""
                << object->screenName << "\", which does not exist\n";
        else if (IsCppIdentifier(object->screenName) &&
                 !IsCppIdentifier(object->screenName + "_" + object->name))
            err << "warning: object name \"" << object->screenName << "/" << object->name
                << "\" does not form a C++ identifier; the generated screen class will not compile\n";
    }
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
    WarnAboutNames(project, err);

    const std::vector<ItemFailure> failures = ValidateProject(project);
    for (const ItemFailure& failure : failures) {
        if (failure.objectIndex < 0) {
            out << project.Screen(failure.screenIndex).name << ": " << failure.message << "\n";
        } else {
            const ObjectDef& object = project.Object(failure.objectIndex);
            out << object.screenName << "/" << object.name << ": " << failure.message << "\n";
        }
    }
    return failures.empty() ? kExitOk : kExitFailures;
}

} // namespace tav
