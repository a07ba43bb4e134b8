// The entry point of programs built on the library: their WinMain gets the command line joined by
// spaces, as a Windows program receives it; the arguments themselves stay available whole.
#include "CTavApp.h"
#include "TavWindows.h"

#include <csignal>
#include <string>
#include <vector>

namespace {

std::vector<std::string>& Arguments() {
    static std::vector<std::string> arguments;
    return arguments;
}

} // namespace

const std::vector<std::string>& TavCommandLineArguments() {
    return Arguments();
}

int main(int argc, char** argv) {
    Arguments().assign(argv, argv + argc);
    // Past a file-size limit a write fails with EFBIG, reported like a full disk, instead of a kill.
    std::signal(SIGXFSZ, SIG_IGN);
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            commandLine += ' ';
        commandLine += argv[i];
    }
    std::vector<char> text(commandLine.begin(), commandLine.end());
    text.push_back('\0');
    return WinMain(nullptr, nullptr, text.data(), SW_SHOWNORMAL);
}
