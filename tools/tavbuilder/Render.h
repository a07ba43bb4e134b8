#pragma once

#include <optional>

namespace tav::builder {

// tavbuilder --render PROJECT.tvp OUTDIR [--screen NAME]: draws each screen of the project (or only NAME)
// as the full-size preview shows it, without a window, into OUTDIR/SCREEN.png. Gives the exit status, or
// nothing when the command line asks for something else.
std::optional<int> RunRenderCommand(const char* commandLine);

} // namespace tav::builder
