#include "OutputNames.h"

#include "codegen/ProjectCodeGenerator.h"
#include "model/Project.h"

#include <map>

namespace tav {

namespace {

bool UsableAsFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

std::string CheckName(const char* what, const std::string& name) {
    if (UsableAsFileName(name))
        return {};
    return std::string("Cannot generate code: the ") + what + " name \"" + name +
           "\" cannot be used as a file name";
}

// Remembers which part of the run makes each file; gives a message for the second claim of one.
class FileClaims {
public:
    std::string Claim(const std::string& file, const std::string& owner) {
        const auto [place, added] = owners_.emplace(file, owner);
        if (added)
            return {};
        return "Cannot generate code: " + place->second + " and " + owner + " would both be written to " +
               file;
    }

private:
    std::map<std::string, std::string> owners_;
};

} // namespace

std::string CheckScreenOutput(const Project& project, int screenIndex) {
    return CheckName("screen", project.Screen(screenIndex).name);
}

std::string CheckProjectOutput(const Project& project) {
    if (std::string refused = CheckName("project", project.name); !refused.empty())
        return refused;
    FileClaims claims;
    const std::string application = "the application class";
    std::string clash = claims.Claim(project.name + ".h", application);
    if (clash.empty())
        clash = claims.Claim(project.name + ".cpp", application);
    if (clash.empty())
        clash = claims.Claim(EntryPointFileName(project), "the entry point");
    for (int i = 0; clash.empty() && i < project.ScreenCount(); ++i) {
        if (clash = CheckScreenOutput(project, i); !clash.empty())
            break;
        const std::string& name = project.Screen(i).name;
        const std::string owner = "the screen class " + name;
        clash = claims.Claim(name + ".h", owner);
        if (clash.empty())
            clash = claims.Claim(name + ".cpp", owner);
    }
    return clash;
}

} // namespace tav
