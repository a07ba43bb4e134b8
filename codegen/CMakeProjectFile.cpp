#include "codegen/CMakeProjectFile.h"

#include "Template.h"
#include "codegen/CodeText.h"
#include "codegen/GeneratedFile.h"
#include "model/Project.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tav {

namespace {

constexpr std::string_view kTop =
    "# Builds the program «Program» from the C++ source generated for it:\n"
    "#   cmake -S . -B build\n"
    "#   cmake --build build\n"
    "# The TavCtrls library must be installed; when CMake does not find it, add\n"
    "# -DCMAKE_PREFIX_PATH=<the folder it is installed in> to the first command.\n"
    "cmake_minimum_required(VERSION 3.16)\n"
    "project(«ProjectId» CXX)\n"
    "\n"
    "set(CMAKE_CXX_STANDARD 20)\n"
    "set(CMAKE_CXX_STANDARD_REQUIRED ON)\n"
    "\n"
    "# TavCtrls::TavCtrls brings the library and a main() that calls the program's WinMain.\n"
    "find_package(TavCtrls CONFIG REQUIRED)\n"
    "\n"
    "# The application class, the entry point and every screen class.\n"
    "add_executable(«Program»\n";

constexpr std::string_view kBottom =
    ")\n"
    "target_link_libraries(«Program» PRIVATE TavCtrls::TavCtrls)\n"
    "\n"
    "# The program looks for its bitmaps in the current folder, then beside itself. After every\n"
    "# build the library's own bitmaps and then the project's art folder, when there is one, are\n"
    "# copied next to the executable; the project's bitmaps replace the library's of the same name.\n"
    "tavctrls_copy_art(«Program»)\n"
    "if(EXISTS \"${CMAKE_CURRENT_SOURCE_DIR}/art\")\n"
    "    add_custom_command(TARGET «Program» POST_BUILD\n"
    "        COMMAND \"${CMAKE_COMMAND}\" -E copy_directory\n"
    "                \"${CMAKE_CURRENT_SOURCE_DIR}/art\" \"$<TARGET_FILE_DIR:«Program»>/art\"\n"
    "        VERBATIM)\n"
    "endif()\n";

// Names CMake reserves for its own targets, in lower case, each between spaces.
constexpr std::string_view kReservedTargets =
    " all all_build clean edit_cache help install list_install_components native_build package "
    "package_source preinstall rebuild_cache run_tests test zero_check ";

bool IsAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::string Replaced(const std::string& name, std::string_view alsoAllowed, std::string_view whenEmpty) {
    std::string out = name.empty() ? std::string(whenEmpty) : name;
    for (char& c : out)
        if (!IsAsciiAlnum(c) && alsoAllowed.find(c) == std::string_view::npos)
            c = '_';
    return out;
}

bool IsReserved(const std::string& name) {
    std::string lower = " ";
    for (const char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return kReservedTargets.find(lower + " ") != std::string_view::npos;
}

// A file name as one CMake argument: as it is when it holds only plain characters, otherwise
// quoted with "\", '"' and "$" escaped.
std::string CMakeArgument(std::string_view fileName) {
    const bool plain = !fileName.empty() && std::all_of(fileName.begin(), fileName.end(), [](char c) {
        return IsAsciiAlnum(c) || std::string_view("_.+-").find(c) != std::string_view::npos;
    });
    if (plain)
        return std::string(fileName);
    std::string quoted = "\"";
    for (const char c : fileName) {
        if (c == '\\' || c == '"' || c == '$')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::string CMakeTargetName(const std::string& projectName) {
    std::string target = Replaced(projectName, "_.+-", "program");
    if (IsReserved(target))
        target += "_program";
    return target;
}

std::string CMakeProjectFileText(const Project& project) {
    const std::string target = CMakeTargetName(project.name);
    const std::string projectId = Replaced(project.name, "_", "program");
    std::string out;
    AppendFilled(out, kTop, {{"Program", target}, {"ProjectId", projectId}});
    for (const std::string& path : project.generatedFiles)
        if (path.ends_with(".cpp"))
            out.append("    ").append(CMakeArgument(FileNameOf(path))).append("\n");
    AppendFilled(out, kBottom, {{"Program", target}});
    return out;
}

std::string WriteCMakeProjectFile(Project& project, const std::string& folder, GenerationUi& ui) {
    return WriteGeneratedFile(project, JoinPath(folder, "CMakeLists.txt"), ui, CMakeProjectFileText(project),
                              FileListing::Unlisted);
}

} // namespace tav
