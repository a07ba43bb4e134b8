#include "builder/RecentProjects.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace tav::builder {
namespace {

constexpr std::size_t kLongestFile = 64 * 1024; // ten paths fit many times over

// The good lines' paths, without duplicates, at most the list's length.
std::vector<std::string> PathsOf(const std::vector<std::string>& lines) {
    std::vector<std::string> paths;
    for (const std::string& line : lines) {
        if (paths.size() == RecentProjects::kLimit)
            break;
        const std::string path = SettingPath(line);
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(path);
    }
    return paths;
}

} // namespace

RecentProjects::RecentProjects(fs::path file) : m_file(std::move(file)) {
    Load();
}

std::vector<std::string> RecentProjects::Parse(const std::string& text) {
    return PathsOf(SettingLines(text));
}

void RecentProjects::Load() {
    m_stored = ReadSettingText(m_file, kLongestFile);
    m_paths = PathsOf(SettingLines(m_stored));
}

void RecentProjects::Save() {
    std::string text;
    for (const std::string& path : m_paths)
        text += path + "\n";
    // Reopening the latest project changes nothing.
    if (text == m_stored)
        return;
    WriteSettingFile(m_file, text);
}

std::vector<std::string> RecentProjects::Existing() const {
    std::vector<std::string> existing;
    for (const std::string& path : m_paths) {
        std::error_code error;
        if (fs::is_regular_file(path, error))
            existing.push_back(path);
    }
    return existing;
}

void RecentProjects::Add(const std::string& path) {
    const std::string normal = AbsolutePath(path);
    Load();
    std::erase(m_paths, normal);
    m_paths.insert(m_paths.begin(), normal);
    if (m_paths.size() > kLimit)
        m_paths.resize(kLimit);
    Save();
}

void RecentProjects::Remove(const std::string& path) {
    const std::string normal = AbsolutePath(path);
    Load();
    if (std::erase(m_paths, normal) > 0)
        Save();
}

std::string ShortFolder(const fs::path& folder, std::size_t longest) {
    std::string text = folder.string();
    const fs::path home = HomeFolder();
    const std::string prefix = home.lexically_normal().string();
    if (!home.empty() && prefix != "/" && text.starts_with(prefix) &&
        (text.size() == prefix.size() || text[prefix.size()] == '/'))
        text = std::string("~").append(text, prefix.size());
    if (text.size() > longest && longest > 3) {
        std::size_t cut = text.size() - (longest - 3);
        while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            ++cut; // not inside a character
        text = std::string("...").append(text, cut);
    }
    return text;
}

} // namespace tav::builder
