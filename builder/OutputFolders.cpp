#include "builder/OutputFolders.h"

#include "tavctrls/files/AtomicFile.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace tav::builder {
namespace {

constexpr std::size_t kLongestFile = 1024 * 1024;

// An absolute path without control characters, made lexically normal; empty when it is not one.
std::string CleanPath(const std::string& text) {
    if (text.empty() || text.front() != '/' || std::any_of(text.begin(), text.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        }))
        return {};
    std::string normal = fs::path(text).lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

} // namespace

OutputFolders::OutputFolders(fs::path file) : m_file(std::move(file)) {
    Load();
}

std::vector<std::pair<std::string, std::string>> OutputFolders::Parse(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> entries;
    std::size_t start = 0;
    while (start < text.size() && entries.size() < kLimit) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        const std::string project = CleanPath(line.substr(0, tab));
        const std::string folder = CleanPath(line.substr(tab + 1));
        const bool known = std::any_of(entries.begin(), entries.end(),
                                       [&](const auto& entry) { return entry.first == project; });
        if (!project.empty() && !folder.empty() && !known)
            entries.emplace_back(project, folder);
    }
    return entries;
}

void OutputFolders::Load() {
    m_entries.clear();
    if (m_file.empty())
        return;
    std::ifstream in(m_file, std::ios::binary);
    if (!in)
        return;
    std::string text(kLongestFile, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
    m_entries = Parse(text);
}

std::string OutputFolders::DefaultFolder(const std::string& projectPath) {
    const fs::path path(AbsolutePath(projectPath));
    return (path.parent_path() / path.stem()).string();
}

std::string OutputFolders::For(const std::string& projectPath) {
    Load();
    const std::string project = CleanPath(AbsolutePath(projectPath));
    for (const auto& [file, folder] : m_entries)
        if (file == project)
            return folder;
    return DefaultFolder(projectPath);
}

void OutputFolders::Remember(const std::string& projectPath, const std::string& folder) {
    const std::string project = CleanPath(AbsolutePath(projectPath));
    const std::string output = CleanPath(AbsolutePath(folder));
    if (project.empty() || output.empty())
        return;
    Load();
    std::erase_if(m_entries, [&](const auto& entry) { return entry.first == project; });
    m_entries.insert(m_entries.begin(), {project, output});
    if (m_entries.size() > kLimit)
        m_entries.resize(kLimit);
    if (m_file.empty())
        return;
    std::error_code error;
    fs::create_directories(m_file.parent_path(), error);
    std::string text;
    for (const auto& [file, place] : m_entries)
        text += file + "\t" + place + "\n";
    // Only a convenience is lost when this cannot be written: the next run uses the default folder.
    AtomicFile out(m_file.string(), AtomicFile::Durability::Unsynced);
    if (out.Open()) {
        out.append(text.data(), text.size());
        out.Commit();
    }
}

} // namespace tav::builder
