#include "tavctrls/platform/ProcessEnd.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <utility>

namespace tav::platform {
namespace {

ProcessEndHandler& InstalledHandler() {
    static ProcessEndHandler handler;
    return handler;
}

ProcessEndStep& InstalledStep() {
    static ProcessEndStep step;
    return step;
}

} // namespace

void EndProcess(int status) {
    if (const ProcessEndStep step = std::exchange(InstalledStep(), {}))
        status = step(status);
    // A copy, so that a handler may replace itself while it runs.
    if (const ProcessEndHandler handler = InstalledHandler())
        handler(status);
    // _Exit runs no destructors and no atexit functions, so buffered output is written here.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

ProcessEndStep SetProcessEndStep(ProcessEndStep step) {
    return std::exchange(InstalledStep(), std::move(step));
}

ProcessEndHandler SetProcessEndHandler(ProcessEndHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

} // namespace tav::platform
