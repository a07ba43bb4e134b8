#include "codegen/CodeText.h"

#include "model/BitmapPaths.h"
#include "model/Project.h"

#include <cstdio>

namespace tav {

std::string FileNameOf(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(1, '/').append(name);
    return path;
}

std::string EscapeLiteral(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"' || (c == '?' && !escaped.empty() && escaped.back() == '?')) {
            escaped.push_back('\\');
            escaped.push_back(c);
        } else if (byte < 0x20 || byte == 0x7F) {
            const char octal[] = {'\\', static_cast<char>('0' + (byte >> 6)),
                                  static_cast<char>('0' + ((byte >> 3) & 7)),
                                  static_cast<char>('0' + (byte & 7))};
            escaped.append(octal, sizeof octal);
        } else {
            escaped.push_back(c);
        }
    }
    return escaped;
}

std::string ProgramBitmapPath(const Project& project, const std::string& path) {
    if (path.empty() || path.front() != '/')
        return path;
    const std::string stored = PortableBitmapPath(path, project.folder);
    return stored.starts_with("art/") && IsLibraryArt(path, stored.substr(4)) ? stored : path;
}

std::string CodePath(const Project& project, std::string_view path) {
    if (project.artRelocated == 1)
        return EscapeLiteral("art//" + FileNameOf(path));
    return EscapeLiteral(ProgramBitmapPath(project, std::string(path)));
}

std::string RgbText(const RgbTriple& colour) {
    return std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", " +
           std::to_string(colour.blue);
}

std::string SecondsText(std::int32_t milliseconds) {
    const float seconds = static_cast<float>(milliseconds) * 0.001f;
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(seconds));
    return text;
}

} // namespace tav
