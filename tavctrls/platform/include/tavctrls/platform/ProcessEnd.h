#pragma once

#include <functional>

namespace tav::platform {

// Ends the process with `status`; never returns. Tests replace the ending with a handler that throws,
// so that the stack unwinds instead of the process ending; a handler that returns ends the process
// all the same.
[[noreturn]] void EndProcess(int status);

// Last work that must be done however the process ends (a screenshot): it runs once, before the
// handler, and gives the status to end with.
using ProcessEndStep = std::function<int(int status)>;
// Installs `step` (empty: none) and gives the previous one back.
ProcessEndStep SetProcessEndStep(ProcessEndStep step);

using ProcessEndHandler = std::function<void(int status)>;
// Installs `handler` (empty: the real end) and gives the previous one back.
ProcessEndHandler SetProcessEndHandler(ProcessEndHandler handler);

} // namespace tav::platform
