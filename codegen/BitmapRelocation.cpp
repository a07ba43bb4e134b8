#include "codegen/BitmapRelocation.h"

#include "codegen/CodeText.h"
#include "codegen/GenerationUi.h"
#include "model/BitmapPaths.h"
#include "model/Project.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tav {

namespace fs = std::filesystem;

namespace {

// Copies `source` to `target` unless `target` exists (a link, even a dangling one, counts: nothing
// is written through it). The bytes go to a temporary file first, so a failed copy never leaves a
// partial file under the final name.
std::error_code CopyWithoutReplacing(const std::string& source, const std::string& target) {
    struct stat entry {};
    if (::lstat(target.c_str(), &entry) == 0)
        return std::make_error_code(std::errc::file_exists);
    static unsigned counter = 0;
    const std::string temporary =
        target + ".part" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    std::error_code error;
    fs::copy_file(source, temporary, fs::copy_options::none, error);
    if (!error && ::link(temporary.c_str(), target.c_str()) != 0) {
        error = {errno, std::generic_category()};
        // Folders without hard links (FAT, some network shares): copy straight, still never replacing.
        if (error != std::errc::file_exists) {
            error.clear();
            fs::copy_file(source, target, fs::copy_options::none, error);
        }
    }
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return error;
}

// True when `path` is a symbolic link that does not lead to a folder inside `folder`.
bool LeavesFolder(const std::string& path, const std::string& folder) {
    struct stat entry {};
    if (::lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode))
        return false;
    std::error_code error;
    const std::string inside = fs::canonical(folder, error).string() + "/";
    const std::string target = fs::canonical(path, error).string();
    return error || !target.starts_with(inside);
}

class BitmapCopier {
public:
    BitmapCopier(std::string artFolder, GenerationUi& ui, CopiedBitmaps& copied)
        : artFolder_(std::move(artFolder)), ui_(ui), copied_(copied), dryRun_(ui.Handling().dryRun) {}

    void Copy(const std::string& source) {
        if (source.empty())
            return;
        const std::string fileName = FileNameOf(source);
        if (const auto first = copied_.sourceOf.find(fileName); first != copied_.sourceOf.end()) {
            if (first->second != source && copied_.reported.insert(source).second)
                ui_.Warn("bitmap " + source + " is not copied: " + first->second + " is already art/" +
                         fileName + ", and the generated code uses that one for both");
            return;
        }
        const std::string target = JoinPath(artFolder_, fileName);
        const std::string found = LocateBitmap(source);
        struct stat info {};
        if (::stat(found.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            if (copied_.reported.insert(source).second)
                ui_.Warn("bitmap " + source + " is not copied: it does not exist or is not a file");
            return;
        }
        const std::error_code error = dryRun_ ? std::error_code() : CopyWithoutReplacing(found, target);
        if (error && error != std::errc::file_exists) {
            if (copied_.reported.insert(source).second)
                ui_.Warn("bitmap " + source + " is not copied to " + target + ": " + error.message());
            return;
        }
        copied_.sourceOf.emplace(fileName, source); // a copy kept from an earlier run counts as this one's
    }

private:
    std::string artFolder_;
    GenerationUi& ui_;
    CopiedBitmaps& copied_;
    bool dryRun_;
};

} // namespace

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateOneDirectory(const std::string& folder) {
    return !folder.empty() && ::mkdir(folder.c_str(), 0777) == 0;
}

bool EnsureDirectory(const std::string& folder, GenerationUi& ui) {
    if (IsDirectory(folder))
        return true;
    if (!ui.AskYesNo(YesNoQuestion::CreateDirectory, "Directory does not exist. Do you wish to create it?"))
        return false;
    if (CreateOneDirectory(folder))
        return true;
    ui.ShowMessage("Error creating directory", MessageKind::Error);
    return false;
}

std::string CopyScreenBitmaps(const Project& project, const std::string& folder, int screenIndex,
                              GenerationUi& ui, CopiedBitmaps& copied) {
    if (screenIndex < 0 || screenIndex >= project.ScreenCount())
        return "Invalid Screen";
    const ScreenDef& screen = project.Screen(screenIndex);
    const std::string artFolder = JoinPath(folder, "art");
    if (LeavesFolder(artFolder, folder))
        return artFolder + " is a symbolic link out of " + folder + ": no bitmap is copied through it";
    // A dry run makes nothing, and fails where making the folder would.
    struct stat entry {};
    if (!IsDirectory(artFolder) &&
        (ui.Handling().dryRun ? ::lstat(artFolder.c_str(), &entry) == 0 : !CreateOneDirectory(artFolder)))
        return "Error creating directory";
    BitmapCopier copier(artFolder, ui, copied);
    copier.Copy(screen.background);
    for (const auto& object : project.objects)
        if (object->screenName == screen.name)
            for (const std::string* bitmap : BitmapsOf(*object))
                copier.Copy(*bitmap);
    return {};
}

} // namespace tav
