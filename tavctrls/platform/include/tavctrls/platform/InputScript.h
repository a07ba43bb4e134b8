#pragma once

#include "tavctrls/platform/Messages.h"

#include <string>
#include <string_view>
#include <vector>

namespace tav::platform {

// One step of scripted input: a message, or a pause of some frames without input.
struct InputStep {
    WindowMessage message;
    int waitFrames = 0; // above 0: a pause; the message is unused

    bool IsWait() const { return waitFrames > 0; }
};

// Parses the text of an input script (one command a line; see the README), appending its steps to
// `steps`. On an error gives false with "FILE:LINE: message" in `error` and appends nothing.
bool ParseInputScript(std::string_view text, const std::string& fileName, std::vector<InputStep>& steps,
                      std::string* error);

// Reads and parses the input script in the file `path`.
bool LoadInputScript(const std::string& path, std::vector<InputStep>& steps, std::string* error);

} // namespace tav::platform
