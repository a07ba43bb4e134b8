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

int APIENTRY WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    WarnWhenArtIsMissing();
    if (const auto rendered = tav::builder::RunRenderCommand(lpCmdLine))
        return *rendered;
    return tav::builder::RunBuilder(hInstance, lpCmdLine, nCmdShow);
}
