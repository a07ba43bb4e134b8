#pragma once

#include "model/Project.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tav {

// Exit statuses of tavgen.
constexpr int kExitOk = 0;
constexpr int kExitFailures = 1; // validate found failing rules; a message ended a generation run
constexpr int kExitUsage = 2;    // usage error, unreadable input, unwritable output

// Runs tavgen with its arguments (the program name left out) and returns the exit status.
int RunTavgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The commands, given the arguments after the command name.
int RunValidateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunResaveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Splits a command's arguments into positional ones and "--help"; an argument after "--" is
// always positional. Prints the usage for "--help", or an error for an unknown option or a count
// of positional arguments other than `expected`, and then returns the exit status to end with;
// returns nothing when the command should go on.
struct CommandLine {
    std::vector<std::string> positional;
    bool help = false;
};
std::optional<int> ParseCommandLine(const std::vector<std::string>& args, const char* usage,
                                    std::size_t expected, const char* countError, CommandLine& parsed,
                                    std::ostream& out, std::ostream& err);

// Reads a project file, or prints why it could not be read.
bool LoadProject(const std::string& path, Project& project, std::ostream& err);

} // namespace tav
