#pragma once

#include <string>
#include <string_view>

namespace tav {

// Why `name` cannot name something generated code defines: "is not one" (not an identifier), "is a C++
// keyword" or "is reserved to the compiler" (two underscores, or an underscore and a capital first).
// Empty when it can.
std::string_view IdentifierFault(std::string_view name);

// The entry point's file: "main.cpp", or "MyMain.cpp" for a project named "main", whose application
// class is written to "main.cpp".
std::string EntryPointFileName(std::string_view projectName);

} // namespace tav
