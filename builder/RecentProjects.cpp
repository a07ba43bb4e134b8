#include "builder/RecentProjects.h"

#include "tavctrls/files/AtomicFile.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace tav::builder {
namespace {

constexpr std::size_t kLongestFile = 64 * 1024; // ten paths fit many times over

bool Printable(const std::string& line) {
    return std::none_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

} // namespace

RecentProjects::RecentProjects(fs::path file) : m_file(std::move(file)) {
    Load();
}

std::vector<std::string> RecentProjects::Parse(const std::string& text) {
    std::vector<std::string> paths;
    std::size_t start = 0;
    while (start < text.size() && paths.size() < kLimit) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() != '/' || !Printable(line))
            continue;
        line = fs::path(line).lexically_normal().string();
        if (std::find(paths.begin(), paths.end(), line) == paths.end())
            paths.push_back(line);
    }
    return paths;
}

void RecentProjects::Load() {
    m_paths.clear();
    if (m_file.empty())
        return;
    std::ifstream in(m_file, std::ios::binary);
    if (!in)
        return;
    std::string text(kLongestFile, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
    m_paths = Parse(text);
}

void RecentProjects::Save() const {
    if (m_file.empty())
        return;
    std::error_code error;
    fs::create_directories(m_file.parent_path(), error);
    std::string text;
    for (const std::string& path : m_paths)
        text += path + "\n";
    // A list that cannot be written is only a convenience lost: the projects themselves are saved.
    AtomicFile file(m_file.string(), AtomicFile::Durability::Unsynced);
    if (file.Open()) {
        file.append(text.data(), text.size());
        file.Commit();
    }
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
