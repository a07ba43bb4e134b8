#include "builder/OutputFolders.h"

#include "codegen/GeneratedFile.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace tav::builder {
namespace {

constexpr std::size_t kLongestFile = 1024 * 1024;

// The good lines' entries, the first for each project, at most the list's length.
std::vector<std::pair<std::string, std::string>> EntriesOf(const std::vector<std::string>& lines) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const std::string& line : lines) {
        const std::size_t tab = line.find('\t');
        if (entries.size() == OutputFolders::kLimit)
            break;
        if (tab == std::string::npos)
            continue;
        const std::string project = SettingPath(line.substr(0, tab));
        const std::string folder = SettingPath(line.substr(tab + 1));
        const bool known = std::any_of(entries.begin(), entries.end(),
                                       [&](const auto& entry) { return entry.first == project; });
        if (!project.empty() && !folder.empty() && !known)
            entries.emplace_back(project, folder);
    }
    return entries;
}

} // namespace

OutputFolders::OutputFolders(fs::path file) : m_file(std::move(file)) {
    Load();
}

std::vector<std::pair<std::string, std::string>> OutputFolders::Parse(const std::string& text) {
    return EntriesOf(SettingLines(text));
}

void OutputFolders::Load() {
    m_entries = EntriesOf(SettingLines(ReadSettingText(m_file, kLongestFile)));
}

std::string OutputFolders::DefaultFolder(const std::string& projectPath) {
    return DefaultOutputFolder(AbsolutePath(projectPath));
}

std::string OutputFolders::For(const std::string& projectPath) {
    return Remembered(projectPath).value_or(DefaultFolder(projectPath));
}

std::optional<std::string> OutputFolders::Remembered(const std::string& projectPath) {
    Load();
    const std::string project = SettingPath(AbsolutePath(projectPath));
    for (const auto& [file, folder] : m_entries)
        if (file == project)
            return folder;
    return std::nullopt;
}

void OutputFolders::Remember(const std::string& projectPath, const std::string& folder) {
    const std::string project = SettingPath(AbsolutePath(projectPath));
    const std::string output = SettingPath(AbsolutePath(folder));
    if (project.empty() || output.empty())
        return;
    Load();
    std::erase_if(m_entries, [&](const auto& entry) { return entry.first == project; });
    m_entries.insert(m_entries.begin(), {project, output});
    if (m_entries.size() > kLimit)
        m_entries.resize(kLimit);
    std::string text;
    for (const auto& [file, place] : m_entries)
        text += file + "\t" + place + "\n";
    WriteSettingFile(m_file, text);
}

} // namespace tav::builder
