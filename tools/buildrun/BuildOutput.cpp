#include "BuildOutput.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace tav {

namespace {

namespace fs = std::filesystem;

bool ToNumber(std::string_view text, int& value) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc();
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// "/usr/bin/ld: Main.cpp:(.text+0x9): undefined reference to `f()'"
std::optional<CompilerError> LinkerError(std::string_view line) {
    const auto at = line.find("undefined reference to ");
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string_view where = line.substr(0, at);
    if (where.ends_with(": "))
        where.remove_suffix(2);
    if (const auto tool = where.rfind(": "); tool != std::string_view::npos)
        where = where.substr(tool + 2);
    where = where.substr(0, where.find(":("));
    return CompilerError{std::string(where), 0, 0, std::string(line.substr(at))};
}

// "FILE:LINE:COLUMN: error: MESSAGE", "FILE:LINE: error: MESSAGE" and the same with "fatal error".
std::optional<CompilerError> CompileError(std::string_view line) {
    for (const std::string_view marker : {": fatal error: ", ": error: "}) {
        const auto at = line.find(marker);
        if (at == std::string_view::npos)
            continue;
        CompilerError error;
        error.message = line.substr(at + marker.size());
        std::string_view location = line.substr(0, at);
        auto colon = location.rfind(':');
        int last = 0;
        if (colon == std::string_view::npos || !ToNumber(location.substr(colon + 1), last))
            return std::nullopt;
        location = location.substr(0, colon);
        colon = location.rfind(':');
        if (colon != std::string_view::npos && ToNumber(location.substr(colon + 1), error.line)) {
            error.column = last;
            location = location.substr(0, colon);
        } else {
            error.line = last;
        }
        if (location.empty())
            return std::nullopt;
        error.file = location;
        return error;
    }
    return std::nullopt;
}

bool SameError(const CompilerError& a, const CompilerError& b) {
    return a.file == b.file && a.line == b.line && a.column == b.column && a.message == b.message;
}

bool HoldsPackage(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / "TavCtrlsConfig.cmake", error);
}

fs::path Resolved(const std::string& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(path, error);
    return error ? fs::path(path).lexically_normal() : resolved;
}

} // namespace

std::vector<CompilerError> ParseCompilerErrors(std::string_view output) {
    std::vector<CompilerError> errors;
    while (!output.empty()) {
        const auto end = output.find('\n');
        std::string_view line = output.substr(0, end);
        output.remove_prefix(end == std::string_view::npos ? output.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        auto error = LinkerError(line);
        if (!error)
            error = CompileError(line);
        if (error && std::none_of(errors.begin(), errors.end(),
                                  [&](const CompilerError& known) { return SameError(known, *error); }))
            errors.push_back(std::move(*error));
    }
    return errors;
}

bool ReadProgressLine(std::string_view line, BuildProgress& progress) {
    const auto close = line.find(']');
    if (!line.starts_with('[') || close == std::string_view::npos)
        return false;
    const std::string_view inside = Trimmed(line.substr(1, close - 1));
    const auto slash = inside.find('/');
    int percent = 0, done = 0, total = 0;
    if (inside.ends_with('%')) {
        if (!ToNumber(Trimmed(inside.substr(0, inside.size() - 1)), percent))
            return false;
    } else if (slash != std::string_view::npos && ToNumber(inside.substr(0, slash), done) &&
               ToNumber(inside.substr(slash + 1), total) && total > 0) {
        percent = static_cast<int>(static_cast<long long>(done) * 100 / total);
    } else {
        return false;
    }
    progress.percent = std::clamp(percent, 0, 100);
    const std::string_view text = Trimmed(line.substr(close + 1));
    for (const std::string_view verb : {"Building ", "Linking "}) {
        if (!text.starts_with(verb))
            continue;
        std::string_view name = text.substr(text.rfind(' ') + 1);
        name = name.substr(name.rfind('/') + 1);
        if (verb == "Building " && name.ends_with(".o"))
            name.remove_suffix(2);
        progress.step = std::string(verb) + std::string(name);
    }
    return true;
}

std::string LastLines(std::string_view output, int count) {
    while (output.ends_with('\n'))
        output.remove_suffix(1);
    std::size_t start = output.size();
    for (int lines = 0; start > 0; --start)
        if (output[start - 1] == '\n' && ++lines == count)
            break;
    return count > 0 ? std::string(output.substr(start)) : std::string();
}

std::string FindPackageFor(const std::string& executable, const std::string& buildTree,
                           const char* environmentDir) {
    if (environmentDir != nullptr && *environmentDir != '\0')
        return environmentDir;
    if (executable.empty())
        return {};
    const fs::path program = Resolved(executable);
    if (!buildTree.empty()) {
        const fs::path tree = Resolved(buildTree);
        const auto relative = program.lexically_relative(tree);
        if (!relative.empty() && *relative.begin() != ".." && HoldsPackage(tree / "TavCtrls"))
            return (tree / "TavCtrls").string();
    }
    const fs::path prefix = program.parent_path().parent_path();
    for (const fs::path& lib :
         {fs::path("lib"), fs::path("lib") / TAV_LIBRARY_ARCHITECTURE, fs::path("lib64")}) {
        const fs::path folder = prefix / lib / "cmake" / "TavCtrls";
        if (HoldsPackage(folder))
            return folder.string();
    }
    return {};
}

std::string FindTavCtrlsPackage() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return FindPackageFor(error ? std::string() : executable.string(), TAV_BUILD_TREE,
                          std::getenv("TavCtrls_DIR"));
}

} // namespace tav
