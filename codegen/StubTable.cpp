#include "StubTable.h"

namespace tav {

void AppendStubs(std::string& out, std::string_view className, std::span<const Stub> stubs) {
    for (const Stub& stub : stubs) {
        out.append(stub.type).append(" ").append(className).append("::").append(stub.head).append("\n{\n");
        for (const std::string_view comment : stub.comments)
            out.append(comment).append("\n");
        if (!stub.returnLine.empty())
            out.append("\t").append(stub.returnLine).append("\n");
        out.append("}\n\n");
    }
}

} // namespace tav
