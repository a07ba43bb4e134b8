#pragma once

#include "buildrun/BuildRunner.h"

#include <string>
#include <string_view>

namespace tav {

// Reads one line of CMake's, Make's or Ninja's output into `progress`: "[ 42%] ..." and "[3/7] ..."
// give the percentage, "Building CXX object DIR/Main.cpp.o" and "Linking CXX executable hello" the
// step. False when the line tells nothing of the progress.
bool ReadProgressLine(std::string_view line, BuildProgress& progress);

// The last `count` lines of `output`, without the final line break.
std::string LastLines(std::string_view output, int count);

// The package folder for a program at `executable` built in `buildTree`: the environment's
// `TavCtrls_DIR` when set, else the build tree's package when the program lies inside it, else the one
// installed in the prefix above the program's folder. Empty when none holds TavCtrlsConfig.cmake.
std::string FindPackageFor(const std::string& executable, const std::string& buildTree,
                           const char* environmentDir);

} // namespace tav
