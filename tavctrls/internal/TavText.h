#pragma once

#include <cstddef>
#include <string>

namespace tav {

// The number of bytes of the UTF-8 character that starts at `at` (1 for a byte that does not start a
// valid sequence, so that any byte string is walked safely).
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at);

} // namespace tav
