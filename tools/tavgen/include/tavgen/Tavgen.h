#pragma once

#include "model/Project.h"

#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace tav {

// Exit statuses of tavgen.
constexpr int kExitOk = 0;
constexpr int kExitFailures = 1; // validate found failing rules; a message ended a generation run
constexpr int kExitUsage = 2;    // usage error, unreadable input, unwritable output

// Where tavgen asks its questions when it runs on a terminal: answers are read from `in` and the
// questions printed to `prompt`.
struct Terminal {
    std::istream& in;
    std::ostream& prompt;
};

// Runs tavgen with its arguments (the program name left out) and returns the exit status.
// Without a terminal, a question that no option answers ends the run.
int RunTavgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              Terminal* terminal = nullptr);

// The commands, given the arguments after the command name.
int RunValidateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunResaveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunGenerateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                       Terminal* terminal);
int RunRunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  Terminal* terminal);

// An option a command accepts: "--name" alone, or with a value as "--name=VALUE" or "--name VALUE".
struct OptionSpec {
    const char* name;
    bool takesValue;
};

// Splits a command's arguments into positional ones, options and "--help"; an argument after "--"
// is always positional. Prints the usage for "--help", or an error for an unknown option, a
// missing value or a count of positional arguments other than `expected`, and then returns the
// exit status to end with; returns nothing when the command should go on. `kAnyCount` leaves the
// count to the command.
constexpr std::size_t kAnyCount = static_cast<std::size_t>(-1);
struct CommandLine {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options; // by name with its dashes; "" for a flag
    bool help = false;

    bool Has(const std::string& option) const { return options.count(option) != 0; }
};
std::optional<int> ParseCommandLine(const std::vector<std::string>& args, const char* usage,
                                    std::size_t expected, const char* countError, CommandLine& parsed,
                                    std::ostream& out, std::ostream& err,
                                    std::span<const OptionSpec> accepted = {});

// Reads a project file, its relative bitmap paths resolved against its folder, or prints why it
// could not be read.
bool LoadProject(const std::string& path, Project& project, std::ostream& err);

} // namespace tav
