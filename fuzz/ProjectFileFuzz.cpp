// Feeds arbitrary bytes to the project file reader and to the clipboard's object reader. Whatever they
// accept must write back and read back to the very same bytes: neither yields what cannot be written.
#include "model/ObjectClipboard.h"
#include "model/ProjectFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void CheckObjectRecords(std::string_view text) {
    std::vector<tav::ObjectDef> objects;
    std::string error;
    if (!tav::ParseObjectRecords(text, objects, &error))
        return;
    std::vector<const tav::ObjectDef*> pointers;
    for (const auto& object : objects)
        pointers.push_back(&object);
    const std::string written = tav::FormatObjectRecords(pointers);
    std::vector<tav::ObjectDef> again;
    if (!tav::ParseObjectRecords(written, again, &error) || again != objects)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckObjectRecords(text);
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
