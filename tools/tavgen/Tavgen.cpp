#include "tavgen/Tavgen.h"

#include "model/BitmapPaths.h"

namespace tav {

namespace {

constexpr const char* kUsage =
    "Usage: tavgen COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  validate PROJECT.tvp   check every screen and object against the designer's rules\n"
    "  resave IN.tvp OUT.tvp  read a project file and write it back\n"
    "  generate PROJECT.tvp OUTDIR [OPTIONS]\n"
    "                         write the C++ source of the project (or of one screen);\n"
    "                         with --cmake also a CMakeLists.txt that builds the program\n"
    "  run PROJECT.tvp [OUTDIR] [-- ARGUMENTS...]\n"
    "                         generate the project keeping the code written into it, build it\n"
    "                         and run the program\n"
    "\n"
    "Run 'tavgen COMMAND --help' for the details of a command.\n";

} // namespace

std::optional<int> ParseCommandLine(const std::vector<std::string>& args, const char* usage,
                                    std::size_t expected, const char* countError, CommandLine& parsed,
                                    std::ostream& out, std::ostream& err,
                                    std::span<const OptionSpec> accepted) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const OptionSpec* known = nullptr;
        for (const OptionSpec& option : accepted)
            if (name == option.name)
                known = &option;
        if (known == nullptr || (!known->takesValue && equals != std::string::npos)) {
            err << "tavgen: unknown option '" << arg << "'\n" << usage;
            return kExitUsage;
        }
        std::string value;
        if (known->takesValue && equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (known->takesValue) {
            if (i + 1 == args.size()) {
                err << "tavgen: option '" << name << "' needs a value\n" << usage;
                return kExitUsage;
            }
            value = args[++i];
        }
        parsed.options[name] = value;
    }
    if (parsed.help) {
        out << usage;
        return kExitOk;
    }
    if (expected != kAnyCount && parsed.positional.size() != expected) {
        err << countError << "\n" << usage;
        return kExitUsage;
    }
    return std::nullopt;
}

bool LoadProject(const std::string& path, Project& project, std::ostream& err) {
    std::string error;
    if (ReadPortableProject(project, path, &error))
        return true;
    err << "tavgen: " << error << "\n";
    return false;
}

int RunTavgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              Terminal* terminal) {
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
    if (command == "generate")
        return RunGenerateCommand(rest, out, err, terminal);
    if (command == "run")
        return RunRunCommand(rest, out, err, terminal);
    err << "tavgen: unknown command '" << command << "'\n" << kUsage;
    return kExitUsage;
}

} // namespace tav
