#include "tavgen/Tavgen.h"

#include "model/BitmapPaths.h"

#include <filesystem>

namespace tav {

namespace {

constexpr const char* kUsage =
    "Usage: tavgen resave IN.tvp OUT.tvp\n"
    "\n"
    "Reads a project file and writes it back in the designer's own form, its bitmap\n"
    "paths made relative to OUT.tvp's folder where they lie inside it. OUT.tvp is\n"
    "replaced only once the new file is complete; it may be IN.tvp itself, or\n"
    "/dev/stdout to write to standard output. A read-only file, a folder, a device\n"
    "or a FIFO is never replaced.\n"
    "\n"
    "Exit status: 0 on success, 2 when IN.tvp cannot be read or OUT.tvp cannot be written.\n";

} // namespace

int RunResaveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine command;
    if (const auto status =
            ParseCommandLine(args, kUsage, 2, "tavgen resave: expected an input and an output project file",
                             command, out, err))
        return *status;
    Project project;
    if (!LoadProject(command.positional[0], project, err))
        return kExitUsage;
    // Bitmap paths are rebased onto the folder the file lands in; a stream keeps IN.tvp's.
    const std::string& target = command.positional[1];
    std::error_code failed;
    const std::string folder = target.starts_with("/dev/") ? project.folder
                               : std::filesystem::is_symlink(target, failed)
                                   ? FolderOf(std::filesystem::canonical(target, failed).string())
                                   : FolderOf(target);
    std::string error;
    if (!WritePortableProject(project, target, folder, &error)) {
        err << "tavgen: " << error << "\n";
        return kExitUsage;
    }
    return kExitOk;
}

} // namespace tav
