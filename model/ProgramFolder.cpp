#include "model/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace tav {

const std::string& ProgramFolder() {
    static const std::string folder = [] {
        std::error_code error;
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
        if (error || !exe.has_parent_path())
            return std::string(".");
        return exe.parent_path().string();
    }();
    return folder;
}

std::string ProgramArtPath(const char* fileName) {
    return ProgramFolder() + "/art/" + fileName;
}

} // namespace tav
