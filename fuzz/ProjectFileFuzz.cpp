// Feeds arbitrary bytes to the project file reader. Whatever it accepts must write back and read
// back to the very same bytes: the reader never yields a project that cannot be saved unchanged.
#include "model/ProjectFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tav::Project project;
    if (!tav::ParseProjectFile(project, text))
        return 0;
    if (!tav::FindUnwritableFields(project).empty())
        std::abort();
    const std::string written = tav::FormatProjectFile(project);
    tav::Project again;
    if (!tav::ParseProjectFile(again, written) || tav::FormatProjectFile(again) != written)
        std::abort();
    return 0;
}
