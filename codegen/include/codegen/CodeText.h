#pragma once

#include "model/ModelTypes.h"

#include <string>
#include <string_view>

namespace tav {

class Project;

// The part of `path` after its last "/" or "\", or the whole path when it has neither.
std::string FileNameOf(std::string_view path);

// `folder` + "/" + `name`.
std::string JoinPath(std::string_view folder, std::string_view name);

// The contents of a C++ string literal that holds exactly `text`: "\" and '"' get a backslash, so
// does a "?" that follows a "?" (no trigraph can form), control characters become three-digit octal
// escapes, every other byte stays as it is.
std::string EscapeLiteral(std::string_view text);

// The path a generated program is given for a bitmap the project names by `path` (its in-memory form,
// model/BitmapPaths.h) when the bitmaps are not copied: one of an "art" folder, the project's or the
// designer's, as "art/NAME" when it is the library's bitmap of that name (or holds the same bytes),
// which the generated CMakeLists.txt puts beside the program; any other absolute path as it is; a relative
// one (found through the usual lookup) as it is.
std::string ProgramBitmapPath(const Project& project, const std::string& path);

// How generated code quotes a bitmap path: "art//" + its file name once the bitmaps were copied
// into the output's art folder, otherwise ProgramBitmapPath; escaped for a string literal (so
// backslashes come out doubled).
std::string CodePath(const Project& project, std::string_view path);

// "r, g, b".
std::string RgbText(const RgbTriple& colour);

// Milliseconds as seconds in single precision, printed with six significant digits ("0.1", "1").
std::string SecondsText(std::int32_t milliseconds);

} // namespace tav
