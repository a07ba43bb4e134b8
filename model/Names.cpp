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

// Letters, digits and "_", not starting with a digit; keywords included.
bool IsIdentifierShaped(std::string_view name) {
    return !name.empty() && IsLetter(name.front()) &&
           std::all_of(name.begin(), name.end(), [](char c) { return IsLetter(c) || IsDigit(c); });
}

} // namespace

std::string_view IdentifierFault(std::string_view name) {
    if (!IsIdentifierShaped(name))
        return "is not one";
    if (std::find(std::begin(kKeywords), std::end(kKeywords), name) != std::end(kKeywords))
        return "is a C++ keyword";
    if (name.find("__") != std::string_view::npos ||
        (name[0] == '_' && name.size() > 1 && name[1] >= 'A' && name[1] <= 'Z'))
        return "is reserved to the compiler";
    return "";
}

std::string EntryPointFileName(std::string_view projectName) {
    return projectName == "main" ? "MyMain.cpp" : "main.cpp";
}

} // namespace tav
