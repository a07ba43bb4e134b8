#pragma once

#include "builder/UserFolders.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tav::builder {

// The projects last opened or saved, most recent first, as absolute paths without duplicates, kept in
// a text file of one path a line. Reading is tolerant: a missing, unreadable or garbled file gives no
// entries (or only its good lines); writing replaces the file crash-safe.
class RecentProjects {
public:
    static constexpr std::size_t kLimit = 10;

    // `file` empty: the list lives in memory only.
    explicit RecentProjects(std::filesystem::path file = ConfigFolder() / "recent-projects");

    // The paths kept, missing files included.
    const std::vector<std::string>& Paths() const { return m_paths; }
    // The paths of the files that still exist, at most kLimit.
    std::vector<std::string> Existing() const;

    // Puts `path` first (the file is read again first, so that other designers' entries are kept).
    void Add(const std::string& path);
    void Remove(const std::string& path);

    // Parses a file's text; bad lines are skipped.
    static std::vector<std::string> Parse(const std::string& text);

private:
    void Load();
    void Save();

    std::filesystem::path m_file;
    std::string m_stored; // the file's text as last read
    std::vector<std::string> m_paths;
};

// "~/projects" for a folder under the home folder; long folders keep their end.
std::string ShortFolder(const std::filesystem::path& folder, std::size_t longest = 40);

} // namespace tav::builder
