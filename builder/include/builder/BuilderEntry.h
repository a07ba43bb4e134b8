#pragma once

#include "tavctrls/TavCtrls.h"

#include <optional>
#include <string>
#include <vector>

namespace tav::builder {

// What the designer's command line asks for: tavbuilder [OPTIONS] [PROJECT.tvp].
struct BuilderOptions {
    bool windowed = false; // without arguments the designer takes the whole display
    bool frameRate = false;
    int scale = 0;       // the window's whole factor, 0 for the library's choice
    std::string project; // the project file to open, empty for none
    // Set when the designer is to end at once: `message` goes to the standard output with 0 (help,
    // version), to the standard error otherwise (a usage error).
    std::optional<int> exitStatus;
    std::string message;
};

// Reads the arguments after the program's name. --fullscreen, --window, --scale N, --help, --version
// and a project file are ours ("--" ends the options); a non-option argument is a project file when
// it ends in ".tvp" or names a file. Any other argument means a window, as it always did, and shows
// the frame rate when those arguments joined by spaces are longer than five characters.
BuilderOptions ParseBuilderOptions(const std::vector<std::string>& arguments);

// The designer's entry point: opens the display the options ask for, the main screen and the project
// file given. Returns 0 when the display cannot be opened; otherwise the process ends with the
// application.
int RunBuilder(HINSTANCE hInstance, const BuilderOptions& options, int nCmdShow);

} // namespace tav::builder
