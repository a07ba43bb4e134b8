#include "tools/tavgen/Tavgen.h"

namespace tav {

namespace {

constexpr const char* kUsage =
    "Usage: tavgen COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  validate PROJECT.tvp   check every screen and object against the designer's rules\n"
    "  resave IN.tvp OUT.tvp  read a project file and write it back\n"
    "\n"
    "Run 'tavgen COMMAND --help' for the details of a command.\n";

} // namespace

std::optional<int> ParseCommandLine(const std::vector<std::string>& args, const char* usage,
                                    std::size_t expected, const char* countError, CommandLine& parsed,
                                    std::ostream& out, std::ostream& err) {
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            parsed.help = true;
        } else {
            err << "tavgen: unknown option '" << arg << "'\n" << usage;
            return kExitUsage;
        }
    }
    if (parsed.help) {
        out << usage;
        return kExitOk;
    }
    if (parsed.positional.size() != expected) {
        err << countError << "\n" << usage;
        return kExitUsage;
    }
    return std::nullopt;
}

bool LoadProject(const std::string& path, Project& project, std::ostream& err) {
    std::string error;
    if (project.ReadProjectFile(path, &error))
        return true;
    err << "tavgen: " << error << "\n";
    return false;
}

int RunTavgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return kExitUsage;
    }
    const std::string& command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsage;
        return kExitOk;
    }
    if (command == "validate")
        return RunValidateCommand(rest, out, err);
    if (command == "resave")
        return RunResaveCommand(rest, out, err);
    err << "tavgen: unknown command '" << command << "'\n" << kUsage;
    return kExitUsage;
}

} // namespace tav
