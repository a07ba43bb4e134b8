#pragma once

#include <string_view>

namespace tav {

// True when `name` can stand as a C++ identifier: a letter or "_" first, then letters, digits and
// "_", and not a keyword. Generated code uses project, screen and object names as identifiers.
bool IsCppIdentifier(std::string_view name);

} // namespace tav
