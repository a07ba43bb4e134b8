#include "model/Decimal.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(Decimal, PlainRuleTakesLeadingSignAndDigits) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"0", 0},
        {"42", 42},
        {"-17", -17},
        {"+8", 8},
        {"  \t 12", 12},
        {"12abc", 12},
        {"1 2", 1},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"- 5", 0},
        {"--5", 0},
        {"007", 7},
        {"3.9", 3},
        {"\r\n5", 5},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 2147483647},
        {"-2147483649", -2147483647 - 1},
        {"99999999999999999999999999", 2147483647},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(value, ParseDecimal(text)) << '"' << text << '"';
}

TEST(Decimal, UnsignedFieldsKeepEveryWrittenValueAndTheBitPatternOfNegatives) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"0", 0u},           {"4294967295", 4294967295u},  {"4294967296", 4294967295u},
        {"-1", 4294967295u}, {"-2147483648", 2147483648u}, {"-99999999999", 2147483648u},
        {"x", 0u},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(value, ParseUnsignedDecimal(text)) << '"' << text << '"';
}

} // namespace
} // namespace tav
