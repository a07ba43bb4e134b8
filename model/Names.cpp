#include "model/Names.h"

#include <algorithm>
#include <iterator>

namespace tav {

namespace {

constexpr std::string_view kKeywords[] = {
    "alignas",     "alignof",  "and",        "and_eq",    "asm",       "auto",         "bitand",
    "bitor",       "bool",     "break",      "case",      "catch",     "char",         "char16_t",
    "char32_t",    "char8_t",  "class",      "co_await",  "co_return", "co_yield",     "compl",
    "concept",     "const",    "const_cast", "consteval", "constexpr", "constinit",    "continue",
    "decltype",    "default",  "delete",     "do",        "double",    "dynamic_cast", "else",
    "enum",        "explicit", "export",     "extern",    "false",     "float",        "for",
    "friend",      "goto",     "if",         "inline",    "int",       "long",         "mutable",
    "namespace",   "new",      "noexcept",   "not",       "not_eq",    "nullptr",      "operator",
    "or",          "or_eq",    "private",    "protected", "public",    "register",     "reinterpret_cast",
    "requires",    "return",   "short",      "signed",    "sizeof",    "static",       "static_assert",
    "static_cast", "struct",   "switch",     "template",  "this",      "thread_local", "throw",
    "true",        "try",      "typedef",    "typeid",    "typename",  "union",        "unsigned",
    "using",       "virtual",  "void",       "volatile",  "wchar_t",   "while",        "xor",
    "xor_eq",
};

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool IsCppIdentifier(std::string_view name) {
    if (name.empty() || !IsLetter(name.front()))
        return false;
    if (!std::all_of(name.begin(), name.end(), [](char c) { return IsLetter(c) || IsDigit(c); }))
        return false;
    return std::find(std::begin(kKeywords), std::end(kKeywords), name) == std::end(kKeywords);
}

std::string_view IdentifierFault(std::string_view name) {
    if (IsCppIdentifier(name))
        return name.find("__") != std::string_view::npos ||
                       (name[0] == '_' && name.size() > 1 && name[1] >= 'A' && name[1] <= 'Z')
                   ? "is reserved to the compiler"
                   : "";
    const bool keyword = std::find(std::begin(kKeywords), std::end(kKeywords), name) != std::end(kKeywords);
    return keyword ? "is a C++ keyword" : "is not one";
}

} // namespace tav
