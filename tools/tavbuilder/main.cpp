#include "Render.h"
#include "builder/BuilderEntry.h"
#include "tavctrls/TavCtrls.h"

#include <cstdio>
#include <filesystem>

namespace {

// Without its bitmaps the designer still runs, but shows little; say why.
void WarnWhenArtIsMissing() {
    std::error_code failed;
    if (!std::filesystem::exists(TavResolveResourcePath("art/mainback.bmp"), failed))
        std::fprintf(stderr,
                     "tavbuilder: the designer's bitmaps (art/) are neither in the current directory, "
                     "nor beside the program, nor in its ../share/TavCtrls folder\n");
}

} // namespace

// The arguments are read whole (a file manager passes a path with spaces as one); --render reads the
// joined command line, where double quotes keep spaces inside a word.
int APIENTRY WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    std::vector<std::string> arguments = TavCommandLineArguments();
    if (!arguments.empty())
        arguments.erase(arguments.begin());
    tav::builder::BuilderOptions options;
    if (arguments.empty() || arguments.front() != "--render") {
        options = tav::builder::ParseBuilderOptions(arguments);
        if (options.exitStatus) {
            std::fputs(options.message.c_str(), *options.exitStatus == 0 ? stdout : stderr);
            return *options.exitStatus;
        }
    }
    WarnWhenArtIsMissing();
    if (const auto rendered = tav::builder::RunRenderCommand(lpCmdLine))
        return *rendered;
    return tav::builder::RunBuilder(hInstance, options, nCmdShow);
}
