#pragma once

#include "builder/UserFolders.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tav::builder {

// Where Build and Run generates each project: the folder last used for it, by the project file's absolute
// path, kept in a text file of "PROJECT<tab>FOLDER" lines, most recent first. Reading is tolerant (bad
// lines are skipped); writing replaces the file crash-safe.
class OutputFolders {
public:
    static constexpr std::size_t kLimit = 100;

    // `file` empty: the folders live in memory only.
    explicit OutputFolders(std::filesystem::path file = ConfigFolder() / "output-folders");

    // The folder remembered for the project file at `projectPath`, else DefaultFolder.
    std::string For(const std::string& projectPath);
    std::optional<std::string> Remembered(const std::string& projectPath);
    // Makes `folder` the one of `projectPath` (the file is read again first, so that other designers'
    // entries are kept).
    void Remember(const std::string& projectPath, const std::string& folder);

    // Beside the project file, named after it: /a/hello.tvp gives /a/hello.
    static std::string DefaultFolder(const std::string& projectPath);
    static std::vector<std::pair<std::string, std::string>> Parse(const std::string& text);

private:
    void Load();

    std::filesystem::path m_file;
    std::vector<std::pair<std::string, std::string>> m_entries;
};

} // namespace tav::builder
