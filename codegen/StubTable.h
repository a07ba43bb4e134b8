#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tav {

// One generated callback with an empty body: its comment lines and, for BOOL ones, the return.
struct Stub {
    std::string_view type;
    std::string_view head;
    std::span<const std::string_view> comments;
    std::string_view returnLine; // empty: none
};

// Appends every stub as "TYPE CLASS::HEAD", "{", the comments, the return, "}", an empty line.
void AppendStubs(std::string& out, std::string_view className, std::span<const Stub> stubs);

} // namespace tav
