#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace tav {

// Appends `text` with every «Name» placeholder replaced by its value; a placeholder without a
// value is kept as it is.
void AppendFilled(std::string& out, std::string_view text,
                  std::initializer_list<std::pair<std::string_view, std::string_view>> values);

} // namespace tav
