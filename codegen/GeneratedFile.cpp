#include "codegen/GeneratedFile.h"

#include "codegen/BitmapRelocation.h"
#include "codegen/CodeMerge.h"
#include "codegen/CodeText.h"
#include "codegen/GenerationUi.h"
#include "model/FileIo.h"
#include "model/Project.h"
#include "tavctrls/files/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace tav {

namespace {

constexpr const char* kRecordFolder = ".tavgen";

bool WritesAllowed(int answer) {
    return answer == kAnswerAlways || answer == kAnswerYes;
}

// The bytes of a regular file; nothing for a missing one, a link or anything else (never opened: a
// FIFO would block). Read in one piece: generated files are read back on every run.
std::optional<std::string> ReadRegularFile(const std::string& path) {
    struct stat entry {};
    if (::lstat(path.c_str(), &entry) != 0 || !S_ISREG(entry.st_mode))
        return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    if (::fstat(fd, &entry) != 0 || !S_ISREG(entry.st_mode)) { // replaced since
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    // One byte more than the size: a file that has not grown fits without growing the buffer.
    bytes.resize(static_cast<std::size_t>(entry.st_size) + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (got > 0) {
            size += static_cast<std::size_t>(got);
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    bytes.resize(size);
    return bytes;
}

bool IsRegularFile(const std::string& path) {
    struct stat entry {};
    return ::lstat(path.c_str(), &entry) == 0 && S_ISREG(entry.st_mode);
}

// Gives an empty text, or "Error Opening PATH" / "Error Writing PATH" with the reason in `error`.
std::string Store(const std::string& path, const std::string& bytes, std::string* error = nullptr) {
    // A link in the output folder is replaced, never written through: generation stays inside it.
    AtomicFile file(path, AtomicFile::Durability::Unsynced, AtomicFile::Links::Replace);
    if (!file.Open(error))
        return "Error Opening " + path;
    file.append(bytes.data(), bytes.size());
    if (!file.Commit(error))
        return "Error Writing " + path;
    return {};
}

// The record of the last generation of `path`.
std::string RecordOf(const std::string& path) {
    return RecordFolder(path) + "/" + FileNameOf(path);
}

// Keeps `generated` as the base of the next merge of `path`. A record that cannot be kept costs only
// that merge's base, so it is a warning.
void WriteRecord(const std::string& path, const std::string& generated, GenerationUi& ui) {
    const std::string folder = RecordFolder(path);
    const std::string record = RecordOf(path);
    struct stat entry {};
    std::string error;
    if (::lstat(folder.c_str(), &entry) != 0) {
        if (::mkdir(folder.c_str(), 0777) != 0)
            error = "cannot create the folder";
    } else if (!S_ISDIR(entry.st_mode)) {
        error = "it is not a folder"; // a link is never followed out of the output folder
    }
    if (error.empty() && ReadRegularFile(record) == generated)
        return;
    if (error.empty() && Store(record, generated, &error).empty())
        return;
    ui.Warn("the generation of " + path + " is not recorded in " + record + " (" + error +
            "): its next merge will keep every difference as your code");
}

} // namespace

std::string RecordFolder(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return ((folder.empty() ? std::filesystem::path(".") : folder) / kRecordFolder).string();
}

std::string DefaultOutputFolder(const std::string& projectFile) {
    std::filesystem::path folder(projectFile);
    folder.replace_extension();
    return folder.string() == projectFile ? projectFile + ".out" : folder.string();
}

bool HoldsOtherFiles(const std::string& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error) ||
        std::filesystem::exists(JoinPath(folder, kRecordFolder), error))
        return false;
    return !std::filesystem::is_empty(folder, error) && !error;
}

bool HoldsGeneratedFiles(const std::string& folder) {
    if (IsDirectory(JoinPath(folder, kRecordFolder)) || FileExists(folder + "/main.cpp") ||
        FileExists(folder + "/CMakeLists.txt"))
        return true;
    // The application header comes with the build project file, named after the project too.
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error))
        if (entry->path().extension() == ".dsp")
            return true;
    return false;
}

std::string WithCrLf(std::string_view text) {
    std::string converted;
    converted.reserve(text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        converted.append(text.substr(start, end - start)).append("\r\n");
    converted.append(text.substr(start));
    return converted;
}

std::string WriteGeneratedFile(Project& project, const std::string& path, GenerationUi& ui,
                               std::string_view text, FileListing listing) {
    const FileHandling handling = ui.Handling();
    const bool exists = FileExists(path);
    if (!handling.keepUserCode &&
        (project.overwriteAnswer == kAnswerYes || project.overwriteAnswer == kAnswerNo) && exists)
        project.overwriteAnswer = ui.AskOverwrite(path + " already exists. Do you want to overwrite it?");
    if (listing == FileListing::Listed)
        project.generatedFiles.push_back(path);
    std::optional<std::string> before = exists ? ReadRegularFile(path) : std::nullopt;
    if (!handling.keepUserCode && !WritesAllowed(project.overwriteAnswer)) {
        if (exists)
            ui.FileHandled({path, FileChange::Unchanged, before.value_or(""), before.value_or("")});
        return {};
    }

    const std::string generated = WithCrLf(text);
    std::string after = generated;
    if (handling.keepUserCode && exists) {
        // The user's code is never given up unread.
        if (!before && IsRegularFile(path))
            return "Error Opening " + path;
        if (before) {
            const std::optional<std::string> record = ReadRegularFile(RecordOf(path));
            MergeResult merged = MergeUserCode(
                record ? std::optional<std::string_view>(*record) : std::nullopt, *before, generated);
            for (const std::string& message : merged.unplaced)
                ui.Warn(path + ": " + message);
            if (!merged.unplaced.empty())
                project.keptCode.emplace_back(path, static_cast<int>(merged.unplaced.size()));
            after = std::move(merged.text);
        }
    }
    const FileChange change = !exists           ? FileChange::New
                              : before == after ? FileChange::Unchanged
                                                : FileChange::Changed;
    // Merged text that is already there is left alone, its time too, so that a build does not redo it.
    const bool rewrite = !(handling.keepUserCode && change == FileChange::Unchanged);
    if (handling.dryRun) {
        if (rewrite && !AtomicFile::Replaceable(path, AtomicFile::Links::Replace))
            return "Error Opening " + path;
    } else {
        if (std::string error = rewrite ? Store(path, after) : std::string(); !error.empty())
            return error;
        WriteRecord(path, generated, ui);
    }
    ui.FileHandled({path, change, before.value_or(""), std::move(after)});
    return {};
}

std::string KeptCodeSummary(const Project& project, bool dryRun) {
    int places = 0;
    std::string files;
    for (const auto& [path, count] : project.keptCode) {
        places += count;
        files += (files.empty() ? "" : ", ") + FileNameOf(path);
    }
    if (places == 0)
        return {};
    const std::string where = std::to_string(places) + (places == 1 ? " place" : " places");
    return dryRun ? "your code in " + where +
                        " would no longer fit the design; it would be kept, commented out, in: " + files
                  : "your code in " + where +
                        " no longer fitted the design; it is kept, commented out, in: " + files;
}

} // namespace tav
