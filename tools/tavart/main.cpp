// tavart OUTDIR: draws every picture of the art folder into OUTDIR.
// tavart --icons OUTDIR: draws the designer's desktop icon as OUTDIR/hicolor/NxN/apps/tavbuilder.png.
#include "AppIcon.h"
#include "ArtTable.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/PngFile.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

namespace {

// Makes the folder of `target`, then has `save` write it; says what went wrong.
bool WriteFile(const std::filesystem::path& target, const std::function<bool(std::string*)>& save) {
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    if (error) {
        std::cerr << "tavart: cannot create folder '" << target.parent_path().string()
                  << "': " << error.message() << "\n";
        return false;
    }
    std::string reason;
    if (!save(&reason)) {
        std::cerr << "tavart: " << reason << "\n";
        return false;
    }
    return true;
}

bool WriteArt(const std::filesystem::path& folder) {
    for (const tav::art::ArtPiece& piece : tav::art::ArtPieces()) {
        const std::filesystem::path target = folder / piece.path;
        if (!WriteFile(target, [&](std::string* reason) {
                return tav::platform::SaveBitmapFile(target.string(), piece.draw().pixels(), reason);
            }))
            return false;
    }
    return true;
}

bool WriteIcons(const std::filesystem::path& folder) {
    for (const int size : tav::art::AppIconSizes()) {
        const std::string side = std::to_string(size);
        const std::filesystem::path target =
            folder / "hicolor" / (side + "x" + side) / "apps" / "tavbuilder.png";
        if (!WriteFile(target, [&](std::string* reason) {
                return tav::platform::SavePngFile(target.string(), tav::art::DrawAppIcon(size), reason,
                                                  tav::platform::PngChannels::Rgba);
            }))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN); // a file-size limit makes writes fail with EFBIG, not a kill
    const std::string first = argc > 1 ? argv[1] : "";
    const bool icons = first == "--icons";
    if (argc != (icons ? 3 : 2) || std::string(argv[argc - 1]).empty() ||
        (!icons && first.starts_with("--"))) {
        std::cerr << "usage: tavart OUTDIR\n       tavart --icons OUTDIR\n";
        return 2;
    }
    return (icons ? WriteIcons(argv[2]) : WriteArt(argv[1])) ? 0 : 1;
}
