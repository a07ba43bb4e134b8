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

// One to nine plain digits, as numbers are mostly stored, or -1 for any other text. Both rules above
// give this value for such a text; inline, since project files hold hundreds of thousands of numbers.
inline std::int32_t PlainDigits(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return -1;
    std::int32_t value = 0;
    for (const char c : text) {
        const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
        if (digit > 9)
            return -1;
        value = value * 10 + static_cast<std::int32_t>(digit);
    }
    return value;
}

} // namespace tav
