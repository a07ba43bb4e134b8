#include "builder/UserFolders.h"

#include "tavctrls/files/AtomicFile.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace tav::builder {
namespace {

// An absolute folder named by the environment variable, else empty.
fs::path AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return {};
    const fs::path path(value);
    return path.is_absolute() ? path : fs::path();
}

fs::path UserFolder(const char* variable, const char* underHome) {
    fs::path base = AbsoluteFromEnvironment(variable);
    if (base.empty()) {
        const fs::path home = HomeFolder();
        if (home.empty())
            return {};
        base = home / underHome;
    }
    return base / "tavbuilder";
}

} // namespace

fs::path HomeFolder() {
    return AbsoluteFromEnvironment("HOME");
}

fs::path ConfigFolder() {
    return UserFolder("XDG_CONFIG_HOME", ".config");
}

fs::path StateFolder() {
    return UserFolder("XDG_STATE_HOME", ".local/state");
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::vector<std::string> SettingLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string ReadSettingText(const fs::path& file, std::size_t longest) {
    if (file.empty())
        return {};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    std::string text(longest, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
    return text;
}

void WriteSettingFile(const fs::path& file, const std::string& text) {
    if (file.empty())
        return;
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    AtomicFile out(file.string(), AtomicFile::Durability::Unsynced);
    if (out.Open()) {
        out.append(text.data(), text.size());
        out.Commit();
    }
}

std::string SettingPath(const std::string& text) {
    if (text.empty() || text.front() != '/' || std::any_of(text.begin(), text.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        }))
        return {};
    std::string normal = fs::path(text).lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

} // namespace tav::builder
