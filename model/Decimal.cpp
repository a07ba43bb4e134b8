#include "model/Decimal.h"

#include <limits>

namespace tav {

namespace {

constexpr std::int64_t kSaturation = std::int64_t{1} << 40; // far beyond every 32-bit value

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::int64_t ParseWide(std::string_view text) {
    if (const std::int64_t plain = PlainDigits(text); plain >= 0)
        return plain;
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < kSaturation)
            value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

} // namespace

std::int32_t ParseDecimal(std::string_view text) {
    const std::int64_t value = ParseWide(text);
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::uint32_t ParseUnsignedDecimal(std::string_view text) {
    const std::int64_t value = ParseWide(text);
    if (value > std::numeric_limits<std::uint32_t>::max())
        return std::numeric_limits<std::uint32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::min());
    return static_cast<std::uint32_t>(value);
}

} // namespace tav
