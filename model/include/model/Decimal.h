#pragma once

#include <cstdint>
#include <string_view>

namespace tav {

// The plain decimal rule: leading white space is skipped, then an optional sign and the digits up
// to the first other character are taken; text without digits gives 0. Values beyond the 32-bit
// range are clamped.
std::int32_t ParseDecimal(std::string_view text);

// The same rule for fields stored unsigned: negative values keep their 32-bit pattern (as "-1"
// gives 4294967295) and anything beyond is clamped, so every value the writer produces reads back.
std::uint32_t ParseUnsignedDecimal(std::string_view text);

} // namespace tav
