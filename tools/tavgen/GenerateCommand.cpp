#include "CommandLineUi.h"
#include "tavgen/Tavgen.h"

#include "codegen/GenerateCommands.h"
#include "codegen/GeneratedFile.h"
#include "codegen/ProjectCodeGenerator.h"
#include "model/Project.h"

namespace tav {

namespace {

constexpr const char* kUsage =
    "Usage: tavgen generate PROJECT.tvp OUTDIR [--screen NAME] [--copy-art]\n"
    "                       [--overwrite=always|never|ask] [--startup NAME] [--mkdir] [--cmake]\n"
    "                       [--keep-user-code] [--dry-run] [--diff] [--check]\n"
    "\n"
    "Writes the C++ source of the project into OUTDIR: the application class, the entry point,\n"
    "one class per screen and the build project file. With --screen, only that screen's class.\n"
    "\n"
    "  --screen NAME       generate only the class of screen NAME\n"
    "  --copy-art          copy every bitmap into OUTDIR/art and refer to the copies\n"
    "  --overwrite=ANSWER  what to do at the first file that exists already: 'always' writes it\n"
    "                      and every later file, 'never' skips it and every later file; 'ask'\n"
    "                      (the default) asks on a terminal and stops otherwise\n"
    "  --startup NAME      the full screen that starts the program when the project names none\n"
    "  --mkdir             create OUTDIR when it is missing (its parent must exist)\n"
    "  --cmake             also write OUTDIR/CMakeLists.txt, which builds the program against the\n"
    "                      installed TavCtrls library (not with --screen)\n"
    "  --keep-user-code    merge each existing file with its new generation: your edits stay, the\n"
    "                      design's changes arrive, nothing is asked; your lines that no longer fit\n"
    "                      are kept commented out in a marked block (and a warning says where)\n"
    "  --dry-run           write nothing; print 'new PATH', 'changed PATH' or 'unchanged PATH' for\n"
    "                      every file (without --overwrite, existing files count as overwritten)\n"
    "  --diff              like --dry-run, but print a unified diff of each new or changed file\n"
    "  --check             like --dry-run, but print only new and changed files, and exit with 1\n"
    "                      when there is any (generated code is not current); with --diff, the\n"
    "                      diffs are printed instead\n"
    "\n"
    "The project file is never changed. Nothing is written outside OUTDIR: a symbolic link named\n"
    "like a generated file is replaced by it, never followed; a read-only file, a device or a\n"
    "FIFO is not replaced (\"Error Opening PATH\").\n"
    "Every file written is also recorded in OUTDIR/.tavgen, the base of the next merge.\n"
    "Exit status: 0 on success, 1 when a message ended the run (such as \"Error Opening PATH\"),\n"
    "or when --check finds a file that would be new or changed,\n"
    "2 for a usage error, an unreadable project or a question that cannot be asked.\n";

constexpr OptionSpec kOptions[] = {
    {"--screen", true}, {"--copy-art", false}, {"--overwrite", true},       {"--startup", true},
    {"--mkdir", false}, {"--cmake", false},    {"--keep-user-code", false}, {"--dry-run", false},
    {"--diff", false},  {"--check", false},
};

std::string WithoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::optional<OverwritePolicy> ParsePolicy(const std::string& text) {
    if (text == "always")
        return OverwritePolicy::Always;
    if (text == "never")
        return OverwritePolicy::Never;
    if (text == "ask")
        return OverwritePolicy::Ask;
    return std::nullopt;
}

// Checks the names given with --screen and --startup against the project; prints why not.
bool CheckNamedScreens(const Project& project, const CommandLine& command, std::ostream& err) {
    if (command.Has("--screen") && project.FindScreen(command.options.at("--screen")) == nullptr) {
        err << "tavgen: the project has no screen named '" << command.options.at("--screen") << "'\n";
        return false;
    }
    if (!command.Has("--startup"))
        return true;
    const ScreenDef* startup = project.FindScreen(command.options.at("--startup"));
    if (startup == nullptr || startup->type != ScreenType::FullScreen) {
        err << "tavgen: --startup needs a full screen of the project; '" << command.options.at("--startup")
            << "' is not one\n";
        return false;
    }
    return true;
}

} // namespace

int RunGenerateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                       Terminal* terminal) {
    CommandLine command;
    if (const auto status =
            ParseCommandLine(args, kUsage, 2, "tavgen generate: expected a project file and an output folder",
                             command, out, err, kOptions))
        return *status;
    GenerateSettings settings;
    settings.outputFolder = WithoutTrailingSlashes(command.positional[1]);
    settings.copyArt = command.Has("--copy-art");
    settings.makeFolder = command.Has("--mkdir");
    if (command.Has("--startup"))
        settings.startup = command.options.at("--startup");
    if (command.Has("--overwrite")) {
        const auto policy = ParsePolicy(command.options.at("--overwrite"));
        if (!policy) {
            err << "tavgen: --overwrite takes always, never or ask\n" << kUsage;
            return kExitUsage;
        }
        settings.overwrite = *policy;
    }
    settings.handling.keepUserCode = command.Has("--keep-user-code");
    settings.handling.dryRun = command.Has("--dry-run") || command.Has("--diff") || command.Has("--check");
    settings.dryRunOutput = command.Has("--diff")    ? DryRunOutput::Diff
                            : command.Has("--check") ? DryRunOutput::Changes
                                                     : DryRunOutput::Lines;
    // A dry run asks nothing: without --overwrite it shows what overwriting would do.
    if (settings.handling.dryRun && !command.Has("--overwrite"))
        settings.overwrite = OverwritePolicy::Always;
    if (command.Has("--cmake") && command.Has("--screen")) {
        err << "tavgen: --cmake writes the CMakeLists.txt of the entire project; it cannot be used with "
               "--screen\n"
            << kUsage;
        return kExitUsage;
    }

    Project project;
    if (!LoadProject(command.positional[0], project, err) || !CheckNamedScreens(project, command, err))
        return kExitUsage;
    if (settings.startup && !command.Has("--screen") && FindStartupScreen(project) >= 0)
        err << "warning: --startup is not used: the project's startup screen is "
            << project.Screen(FindStartupScreen(project)).name << "\n";

    const bool dryRun = settings.handling.dryRun;
    CommandLineUi ui(std::move(settings), out, err, terminal);
    const GenerationOptions options{.cmakeProject = command.Has("--cmake"), .keptCodeInMessage = false};
    GenerationOutcome outcome;
    try {
        if (command.Has("--screen"))
            outcome = GenerateThisScreen(&project, TreeSelection{command.options.at("--screen"), 1, {}}, ui,
                                         options);
        else
            outcome = GenerateEntireProject(&project, ui, options);
    } catch (const UnansweredQuestion& question) {
        err << "tavgen: " << question.what() << "\n";
        return kExitUsage;
    }
    if (const std::string kept = KeptCodeSummary(project, dryRun); !kept.empty())
        ui.Warn(kept);
    switch (outcome) {
    case GenerationOutcome::Completed:
        return command.Has("--check") && ui.changedFiles() > 0 ? kExitFailures : kExitOk;
    case GenerationOutcome::Failed:
        return kExitFailures;
    case GenerationOutcome::Stopped:
        break;
    }
    return ui.stopStatus();
}

} // namespace tav
