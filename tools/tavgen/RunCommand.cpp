#include "CommandLineUi.h"
#include "tavgen/Tavgen.h"

#include "buildrun/BuildRunner.h"
#include "codegen/CMakeProjectFile.h"
#include "codegen/GenerateCommands.h"
#include "codegen/GeneratedFile.h"
#include "codegen/ProjectCodeGenerator.h"
#include "model/Project.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace tav {

namespace {

constexpr const char* kUsage =
    "Usage: tavgen run PROJECT.tvp [OUTDIR] [--startup NAME] [-- PROGRAM ARGUMENTS...]\n"
    "\n"
    "Generates the entire project into OUTDIR keeping the code written into it, builds it with\n"
    "CMake against the TavCtrls library and runs the program, with this environment and terminal.\n"
    "OUTDIR defaults to a folder beside the project file named after it (hello.tvp: hello/); the\n"
    "build goes to OUTDIR/build, and a second run rebuilds only what changed.\n"
    "\n"
    "  --startup NAME  the full screen that starts the program when the project names none\n"
    "                  (without it and without a terminal, the first full screen)\n"
    "  --              what follows goes to the program\n"
    "\n"
    "The TavCtrls package is the one of the build tree or prefix tavgen belongs to; the\n"
    "environment variable TavCtrls_DIR names another.\n"
    "Exit status: the program's (128 + signal when it was killed); 1 when the generation or the\n"
    "build failed; 2 for a usage error, an unreadable project or no TavCtrls package.\n";

constexpr OptionSpec kOptions[] = {{"--startup", true}};
constexpr std::size_t kShownErrors = 10;

// The screen this run starts with, when it must choose one itself: the first full screen.
std::optional<std::string> FirstFullScreen(const Project& project) {
    for (const auto& screen : project.screens)
        if (screen->type == ScreenType::FullScreen)
            return screen->name;
    return std::nullopt;
}

bool Generate(Project& project, GenerateSettings settings, std::ostream& out, std::ostream& err,
              Terminal* terminal, int& status) {
    CommandLineUi ui(std::move(settings), out, err, terminal);
    try {
        switch (GenerateEntireProject(&project, ui, GenerationOptions{.cmakeProject = true})) {
        case GenerationOutcome::Completed:
            return true;
        case GenerationOutcome::Failed:
            status = kExitFailures;
            return false;
        case GenerationOutcome::Stopped:
            status = ui.stopStatus() == kExitOk ? kExitFailures : ui.stopStatus();
            return false;
        }
    } catch (const UnansweredQuestion& question) {
        err << "tavgen: " << question.what() << "\n";
        status = kExitUsage;
    }
    return false;
}

void PrintErrors(const std::vector<CompilerError>& errors, std::ostream& err) {
    err << "tavgen: the build failed\n";
    for (std::size_t i = 0; i < std::min(errors.size(), kShownErrors); ++i) {
        const CompilerError& error = errors[i];
        if (!error.file.empty()) {
            err << error.file;
            if (error.line > 0)
                err << ':' << error.line;
            err << ": ";
        }
        err << error.message << "\n";
    }
}

// Runs the program with this process's streams and environment and waits for it; gives its exit
// status, 128 + signal when a signal ended it. Ctrl+C goes to the program, as with system().
int RunProgram(const std::string& program, const std::vector<std::string>& args, std::ostream& err) {
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGINT, SIGQUIT, SIGPIPE, SIGXFSZ})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    const auto interrupt = std::signal(SIGINT, SIG_IGN);
    const auto quit = std::signal(SIGQUIT, SIG_IGN);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    int status = 0;
    if (error == 0)
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    std::signal(SIGINT, interrupt);
    std::signal(SIGQUIT, quit);
    if (error != 0) {
        err << "tavgen: cannot start " << program << ": " << std::strerror(error) << "\n";
        return kExitFailures;
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

} // namespace

int RunRunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  Terminal* terminal) {
    const auto dashes = std::find(args.begin(), args.end(), "--");
    const std::vector<std::string> ours(args.begin(), dashes);
    const std::vector<std::string> programArgs(dashes == args.end() ? dashes : dashes + 1, args.end());
    CommandLine command;
    if (const auto status = ParseCommandLine(ours, kUsage, kAnyCount, "", command, out, err, kOptions))
        return *status;
    if (command.positional.empty() || command.positional.size() > 2) {
        err << "tavgen run: expected a project file and at most an output folder\n" << kUsage;
        return kExitUsage;
    }
    Project project;
    if (!LoadProject(command.positional[0], project, err))
        return kExitUsage;
    GenerateSettings settings;
    settings.outputFolder =
        command.positional.size() == 2 ? command.positional[1] : DefaultOutputFolder(command.positional[0]);
    if (command.positional.size() == 1 && HoldsOtherFiles(settings.outputFolder)) {
        err << "tavgen: " << settings.outputFolder
            << " holds files that tavgen did not generate; name the output folder (tavgen run "
            << command.positional[0] << " OUTDIR)\n";
        return kExitUsage;
    }
    settings.copyArt = settings.makeFolder = true;
    settings.overwrite = OverwritePolicy::Always;
    settings.handling.keepUserCode = true;
    settings.tellCompletion = false;
    if (command.Has("--startup")) {
        const std::string& name = command.options.at("--startup");
        const ScreenDef* screen = project.FindScreen(name);
        if (screen == nullptr || screen->type != ScreenType::FullScreen) {
            err << "tavgen: --startup needs a full screen of the project; '" << name << "' is not one\n";
            return kExitUsage;
        }
        settings.startup = name;
    } else if (FindStartupScreen(project) < 0 && terminal == nullptr) {
        settings.startup = FirstFullScreen(project);
        if (settings.startup)
            err << "warning: the project has no startup screen; this run starts with " << *settings.startup
                << " (choose another with --startup NAME)\n";
    }
    const std::string package = FindTavCtrlsPackage();
    if (package.empty()) {
        err << "tavgen: cannot find the TavCtrls package (set TavCtrls_DIR to the folder holding "
               "TavCtrlsConfig.cmake)\n";
        return kExitUsage;
    }
    if (!OnPath("cmake")) {
        err << "tavgen: cmake is not installed (not found on PATH); it builds the program\n";
        return kExitUsage;
    }

    const BuildRequest request{settings.outputFolder, "", package, CMakeTargetName(project.name)};
    int status = kExitOk;
    if (!Generate(project, std::move(settings), out, err, terminal, status))
        return status;
    BuildRunner runner;
    std::string shownStep;
    const BuildState built = runner.Run(request, [&](const std::string&, const BuildProgress& progress) {
        if (progress.step == shownStep)
            return;
        shownStep = progress.step;
        char percent[16];
        std::snprintf(percent, sizeof percent, "[%3d%%] ", progress.percent);
        err << percent << progress.step << std::endl;
    });
    if (built != BuildState::Succeeded) {
        PrintErrors(runner.Errors(), err);
        return kExitFailures;
    }
    out.flush();
    err.flush();
    return RunProgram(BuildRunner::ExecutablePath(request), programArgs, err);
}

} // namespace tav
