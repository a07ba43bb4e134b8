// tavart OUTDIR: draws every picture of the art folder into OUTDIR.
#include "ArtTable.h"
#include "tavctrls/platform/BitmapFile.h"

#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

bool WriteArt(const std::filesystem::path& folder) {
    for (const tav::art::ArtPiece& piece : tav::art::ArtPieces()) {
        const std::filesystem::path target = folder / piece.path;
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        if (error) {
            std::cerr << "tavart: cannot create folder '" << target.parent_path().string()
                      << "': " << error.message() << "\n";
            return false;
        }
        std::string reason;
        if (!tav::platform::SaveBitmapFile(target.string(), piece.draw().pixels(), &reason)) {
            std::cerr << "tavart: " << reason << "\n";
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN); // a file-size limit makes writes fail with EFBIG, not a kill
    if (argc != 2 || std::string(argv[1]).empty()) {
        std::cerr << "usage: tavart OUTDIR\n";
        return 2;
    }
    return WriteArt(argv[1]) ? 0 : 1;
}
