#pragma once

#include <string_view>

namespace tav {

// True when `name` can stand as a C++ identifier: a letter or "_" first, then letters, digits and
// "_", and not a keyword. Generated code uses project, screen and object names as identifiers.
bool IsCppIdentifier(std::string_view name);

// Why `name` cannot name something generated code defines: "is not one" (not an identifier), "is a C++
// keyword" or "is reserved to the compiler" (two underscores, or an underscore and a capital first).
// Empty when it can.
std::string_view IdentifierFault(std::string_view name);

} // namespace tav
