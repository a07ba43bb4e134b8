#include "tavctrls/platform/Display.h"

#include "tavctrls/platform/EnvironmentDisplay.h"
#include "tavctrls/platform/HeadlessDisplay.h"
#include "tavctrls/platform/ProcessEnd.h"
#include "tavctrls/platform/SdlDisplay.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <iostream>

namespace tav::platform {
namespace {

std::unique_ptr<Display>& NextDisplay() {
    static std::unique_ptr<Display> next;
    return next;
}

[[noreturn]] void StopForBadEnvironment(const std::string& error) {
    std::cerr << error << std::endl;
    EndProcess(2);
}

} // namespace

std::unique_ptr<Display> CreateDisplayFromEnvironment() {
    if (NextDisplay() != nullptr)
        return std::move(NextDisplay());
    DisplayEnvironment environment;
    std::string error;
    if (!ReadDisplayEnvironment(environment, &error))
        StopForBadEnvironment(error);
    std::vector<InputStep> script;
    if (!environment.input.empty() && !LoadInputScript(environment.input, script, &error))
        StopForBadEnvironment(error);

    std::unique_ptr<Display> display;
    if (environment.headless) {
        // The headless display plays the script itself, so that its end of input closes the program.
        auto headless = std::make_unique<HeadlessDisplay>();
        headless->QueueScript(script);
        script.clear();
        // With a frame limit the program runs that long; the end of the input does not close it early.
        if (environment.frames)
            headless->Wait(static_cast<int>(std::min<std::uint64_t>(*environment.frames + 1, INT_MAX)));
        display = std::move(headless);
    } else {
        display = std::make_unique<SdlDisplay>();
    }
    if (!environment.frames && environment.screenshot.empty() && script.empty())
        return display;
    auto wrapped = std::make_unique<EnvironmentDisplay>(std::move(display), environment.frames,
                                                        std::move(environment.screenshot));
    wrapped->AddInput(script);
    return wrapped;
}

void SetNextDisplay(std::unique_ptr<Display> display) {
    NextDisplay() = std::move(display);
}

void ShowStandaloneMessageBox(const std::string& title, const std::string& text) {
    DisplayEnvironment environment;
    ReadDisplayEnvironment(environment, nullptr);
    if (environment.headless ||
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(), nullptr) != 0)
        std::cerr << title << ": " << text << std::endl;
}

} // namespace tav::platform
