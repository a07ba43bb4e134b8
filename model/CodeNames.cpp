#include "model/CodeNames.h"

#include "model/Names.h"
#include "model/Project.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace tav {

namespace {

// Names generated code uses besides those it makes from the project: the entry point and its
// parameters, the locals that hold a new screen, and the macros g++ defines in its GNU modes.
const std::unordered_map<std::string_view, std::string_view>& FixedNames() {
    static const std::unordered_map<std::string_view, std::string_view> names = {
        {"WinMain", "the entry point WinMain"},
        {"hInstance", "the parameter hInstance of WinMain"},
        {"hPrevInstance", "the parameter hPrevInstance of WinMain"},
        {"lpCmdLine", "the parameter lpCmdLine of WinMain"},
        {"nCmdShow", "the parameter nCmdShow of WinMain"},
        {"app", "the variable app of WinMain"},
        {"scr", "the variable scr that holds a new screen"},
        {"bID", "the parameter bID of OnButtonDown"},
        {"NULL", "the macro NULL"},
        {"linux", "the compiler's macro linux"},
        {"unix", "the compiler's macro unix"},
    };
    return names;
}

bool IsLibraryName(std::string_view name) {
    static const std::unordered_set<std::string_view> names(LibraryNames().begin(), LibraryNames().end());
    return names.contains(name);
}

bool IsSystemName(std::string_view name) {
    static const std::unordered_set<std::string_view> names(SystemNames().begin(), SystemNames().end());
    return names.contains(name);
}

// Target names CMake keeps for itself; the program's target is named after the project.
bool IsCMakeTarget(std::string_view name) {
    static constexpr std::string_view kReserved[] = {
        "all",       "ALL_BUILD", "clean",      "edit_cache", "help",           "install",
        "INSTALL",   "package",   "PACKAGE",    "preinstall", "package_source", "rebuild_cache",
        "RUN_TESTS", "test",      "ZERO_CHECK",
    };
    return std::find(std::begin(kReserved), std::end(kReserved), name) != std::end(kReserved);
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Claims the global names and the files that each part of the generated code defines, and records a
// problem for every claim that an earlier one, the library or the fixed names already hold.
class CodeNameChecker {
public:
    // `projectName` decides the entry point's file name.
    CodeNameChecker(const Project& project, const std::string& projectName)
        : fixedFiles_{{EntryPointFileName(projectName), "the entry point"},
                      {"CMakeLists.txt", "the build file"}} {
        names_.reserve(project.objects.size() + 3 * project.screens.size() + 2);
        files_.reserve(2 * project.screens.size() + 5);
        screens_.reserve(project.screens.size());
    }

    void AddProject(const std::string& name) {
        if (!NameIsUsable(name, "Project name must be a C++ identifier: ", {}, {}))
            return;
        if (IsCMakeTarget(name))
            Report({}, {}, "Project name " + name + " is a target name CMake keeps for itself");
        const std::string owner = "the application class " + name;
        Claim(name, "The application class " + name, {}, {});
        Claim(name + "_H", "The include guard " + name + "_H of " + owner, {}, {});
        for (const std::string& file : {name + ".h", name + ".cpp", name + ".dsp"})
            if (!ClaimFile(file, owner, {}, {}))
                break;
    }

    // Gives false when the name is no identifier: its objects are then left out.
    bool AddScreen(const std::string& name) {
        if (!NameIsUsable(name, "Screen name must be a C++ identifier: ", name, {}))
            return false;
        if (!screens_.insert(name).second) {
            Report(name, {}, "Another screen has the name " + name + " too");
            return false;
        }
        Claim(name, "The screen class " + name, name, {});
        Claim(name + "_H", "The include guard " + name + "_H of screen " + name, name, {});
        Claim(name + "_OBJECTS", "The enum " + name + "_OBJECTS of screen " + name, name, {});
        for (const std::string& file : {name + ".h", name + ".cpp"})
            if (!ClaimFile(file, "screen " + name, name, {}))
                break;
        return true;
    }

    // Objects of screens that do not exist, or whose names were refused, make no code.
    void AddObject(const std::string& screen, const std::string& object) {
        if (!screens_.contains(screen))
            return;
        const std::string constant = screen + "_" + object;
        if (NameIsUsable(constant, "Object name must form a C++ identifier with its screen's name: ", screen,
                         object))
            Claim(constant, "The constant " + constant + " of object " + screen + "/" + object, screen,
                  object);
    }

    bool HasScreen(const std::string& name) const { return screens_.contains(name); }

    std::vector<CodeProblem> problems;

private:
    void Report(const std::string& screen, const std::string& object, std::string message) {
        problems.push_back({screen, object, std::move(message)});
    }

    bool NameIsUsable(const std::string& name, const std::string& rule, const std::string& screen,
                      const std::string& object) {
        const std::string_view fault = IdentifierFault(name);
        if (!fault.empty())
            Report(screen, object, rule + (name.empty() ? "an empty name" : name) + " " + std::string(fault));
        return fault.empty();
    }

    void Claim(const std::string& name, std::string what, const std::string& screen,
               const std::string& object) {
        std::string holder;
        if (const auto fixed = FixedNames().find(name); fixed != FixedNames().end())
            holder = fixed->second;
        else if (IsLibraryName(name))
            holder = "the library's name " + name;
        else if (IsSystemName(name))
            holder = "the C library's name " + name;
        else if (const auto [place, added] = names_.try_emplace(name, what); !added)
            holder = place->second;
        if (!holder.empty())
            Report(screen, object, what + " would clash with " + Uncapitalised(holder));
    }

    // Files named after the project and its screens must differ from each other in more than case, and
    // from the entry point and the build file.
    bool ClaimFile(const std::string& file, const std::string& owner, const std::string& screen,
                   const std::string& object) {
        const std::string what = "the file " + file + " of " + owner;
        std::string holder;
        for (const auto& [fixed, fixedOwner] : fixedFiles_)
            if (fixed == file)
                holder = "the file of " + fixedOwner;
        if (const auto [place, added] = files_.try_emplace(Lower(file), FileClaim{file, what});
            holder.empty() && !added)
            holder = place->second.what + (place->second.file != file ? " where file names ignore case" : "");
        if (!holder.empty())
            Report(screen, object, "The file " + file + " of " + owner + " would clash with " + holder);
        return holder.empty();
    }

    static std::string Uncapitalised(std::string text) {
        if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
            text[0] = static_cast<char>(text[0] - 'A' + 'a');
        return text;
    }

    std::unordered_map<std::string, std::string> names_;
    struct FileClaim {
        std::string file;
        std::string what;
    };
    std::unordered_map<std::string, FileClaim> files_;
    std::vector<std::pair<std::string, std::string>> fixedFiles_;
    std::unordered_set<std::string> screens_;
};

bool IsEdited(int index, int count) {
    return index >= 0 && index < count;
}

std::string FirstSince(const CodeNameChecker& checker, std::size_t mark) {
    return checker.problems.size() > mark ? checker.problems[mark].message : std::string();
}

} // namespace

std::vector<CodeProblem> CheckCode(const Project& project) {
    CodeNameChecker checker(project, project.name);
    checker.AddProject(project.name);
    for (const auto& screen : project.screens)
        checker.AddScreen(screen->name);
    for (const auto& object : project.objects)
        checker.AddObject(object->screenName, object->name);
    for (const auto& object : project.objects)
        if (object->kind == ObjectKind::Button && object->Click() == ClickAction::OpenScreen &&
            !object->clickScreen.empty() && checker.HasScreen(object->screenName) &&
            project.FindScreen(object->clickScreen) == nullptr)
            checker.problems.push_back(
                {object->screenName, object->name,
                 "The button opens screen " + object->clickScreen + ", which the project does not have"});
    return std::move(checker.problems);
}

std::string DescribeProblem(const CodeProblem& problem) {
    if (problem.screen.empty())
        return problem.message;
    return problem.screen + (problem.object.empty() ? "" : "/" + problem.object) + ": " + problem.message;
}

std::string ScreenCodeProblem(const Project& project, const ScreenDef& candidate, int editedIndex) {
    const bool edited = IsEdited(editedIndex, project.ScreenCount());
    const std::string* oldName = edited ? &project.Screen(editedIndex).name : nullptr;
    CodeNameChecker checker(project, project.name);
    checker.AddProject(project.name);
    for (int i = 0; i < project.ScreenCount(); ++i)
        if (i != editedIndex)
            checker.AddScreen(project.Screen(i).name);
    for (const auto& object : project.objects)
        if (oldName == nullptr || object->screenName != *oldName)
            checker.AddObject(object->screenName, object->name);
    const std::size_t mark = checker.problems.size();
    // The objects follow a renamed screen; their constants change only then.
    if (checker.AddScreen(candidate.name) && oldName != nullptr && *oldName != candidate.name)
        for (const auto& object : project.objects)
            if (object->screenName == *oldName)
                checker.AddObject(candidate.name, object->name);
    return FirstSince(checker, mark);
}

std::string ObjectCodeProblem(const Project& project, const ObjectDef& candidate, int editedIndex) {
    CodeNameChecker checker(project, project.name);
    checker.AddProject(project.name);
    for (const auto& screen : project.screens)
        checker.AddScreen(screen->name);
    for (int i = 0; i < project.ObjectCount(); ++i)
        if (i != editedIndex)
            checker.AddObject(project.Object(i).screenName, project.Object(i).name);
    const std::size_t mark = checker.problems.size();
    checker.AddObject(candidate.screenName, candidate.name);
    return FirstSince(checker, mark);
}

std::string ProjectNameProblem(const std::string& name, const Project* project) {
    const Project empty;
    const Project& others = project != nullptr ? *project : empty;
    CodeNameChecker checker(others, name);
    for (const auto& screen : others.screens)
        checker.AddScreen(screen->name);
    for (const auto& object : others.objects)
        checker.AddObject(object->screenName, object->name);
    const std::size_t mark = checker.problems.size();
    checker.AddProject(name);
    return FirstSince(checker, mark);
}

} // namespace tav
