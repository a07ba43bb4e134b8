#include "builder/Autosave.h"

#include "builder/UserFolders.h"
#include "model/ProjectFile.h"
#include "tavctrls/files/AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>

#include <unistd.h>

namespace tav::builder {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMagic = "Tavrin Controls Builder recovery 1";
constexpr std::string_view kSuffix = ".recovery";

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// When the process started, in clock ticks after boot ("" when there is no such process).
std::string StartTime(long pid) {
    const std::string stat = FirstLine("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t name = stat.rfind(')'); // the command's name may hold spaces and parentheses
    if (name == std::string::npos)
        return "";
    std::istringstream fields(stat.substr(name + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) // field 22 is the start time
        if (i == 22)
            return field;
    return "";
}

std::string BootId() {
    return FirstLine("/proc/sys/kernel/random/boot_id");
}

// "PID START BOOT": a process that survives pid reuse and reboots.
std::string Owner() {
    const long pid = ::getpid();
    return std::to_string(pid) + " " + StartTime(pid) + " " + BootId();
}

bool Running(const std::string& owner) {
    std::istringstream fields(owner);
    long pid = 0;
    std::string start, boot;
    if (!(fields >> pid >> start >> boot) || pid <= 0)
        return false;
    const std::string now = StartTime(pid);
    if (now.empty()) // no such process, or no /proc: the pid alone tells
        return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
    return now == start && boot == BootId();
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error);
}

// The parts of a recovery file: owner, time, project path; the project's text follows them.
struct Header {
    std::string owner;
    std::time_t time = 0;
    std::string projectPath;
    std::size_t end = 0; // where the project's text begins
};

std::optional<Header> ParseHeader(const std::string& text) {
    std::istringstream in(text);
    std::string magic, timeText, lengthText;
    Header header;
    if (!std::getline(in, magic) || magic != kMagic || !std::getline(in, header.owner) ||
        !std::getline(in, timeText) || !std::getline(in, lengthText))
        return std::nullopt;
    char* end = nullptr;
    header.time = static_cast<std::time_t>(std::strtoll(timeText.c_str(), &end, 10));
    const unsigned long long length = std::strtoull(lengthText.c_str(), &end, 10);
    const std::size_t start = static_cast<std::size_t>(in.tellg());
    if (length > text.size() - start || start + length >= text.size() || text[start + length] != '\n')
        return std::nullopt;
    header.projectPath = text.substr(start, length);
    header.end = start + length + 1;
    return header;
}

std::optional<std::string> ReadWhole(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error || size > kMaxProjectFileSize + 65536)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return text;
}

} // namespace

std::string Autosave::DefaultFolder() {
    const fs::path folder = StateFolder();
    // Without a home the data goes where it cannot be written, never into the current directory.
    return folder.empty() ? "/.local/state/tavbuilder" : folder.string();
}

Autosave::Autosave(std::string folder)
    : m_folder(std::move(folder)),
      m_file(m_folder + "/" + std::to_string(::getpid()) + std::string(kSuffix)) {}

void Autosave::Tick(double elapsed, std::uint64_t revision, const Project* project, const std::string& path) {
    m_clock += elapsed;
    if (revision != m_revision) {
        m_revision = revision;
        if (!m_pendingSince)
            m_pendingSince = m_clock;
    }
    if (m_pendingSince && m_clock - *m_pendingSince >= kDelay)
        Flush(project, path);
}

void Autosave::Flush(const Project* project, const std::string& path) {
    if (!m_pendingSince)
        return;
    m_pendingSince.reset();
    if (project == nullptr || project->modified == 0)
        Remove();
    else if (!Write(*project, path))
        m_pendingSince = m_clock; // tried again after another delay
}

bool Autosave::Write(const Project& project, const std::string& path) {
    // A project whose text would not read back is not written: the last good copy stays.
    if (!FindUnwritableFields(project).empty())
        return false;
    std::error_code error;
    fs::create_directories(m_folder, error);
    AtomicFile file(m_file);
    if (!file.Open())
        return false;
    const std::string projectPath = path.empty() ? path : AbsolutePath(path);
    const std::string header = std::string(kMagic) + "\n" + Owner() + "\n" +
                               std::to_string(std::time(nullptr)) + "\n" +
                               std::to_string(projectPath.size()) + "\n" + projectPath + "\n";
    file.append(header.data(), header.size());
    const std::string text = FormatProjectFile(project);
    file.append(text.data(), text.size());
    return file.Commit();
}

void Autosave::Remove() {
    std::error_code error;
    fs::remove(m_file, error);
}

void Autosave::Saved() {
    Remove();
    m_pendingSince.reset();
    std::error_code error;
    if (!m_declined.empty())
        fs::remove(std::exchange(m_declined, ""), error);
}

void Autosave::Adopt(const std::string& file, std::uint64_t revision, const Project& project,
                     const std::string& path) {
    m_revision = revision;
    m_pendingSince.reset();
    std::error_code error;
    if (Write(project, path))
        fs::remove(file, error);
    else
        m_declined = file;
}

std::string Autosave::Question(const Leftover& leftover, std::time_t now) {
    std::tm made{}, today{};
    localtime_r(&leftover.time, &made);
    localtime_r(&now, &today);
    char when[64];
    const bool sameDay = made.tm_year == today.tm_year && made.tm_yday == today.tm_yday;
    // Boxes break their lines between characters: the time goes on a line of its own.
    std::strftime(when, sizeof when, sameDay ? "\nmade at %H:%M" : "\nmade on %Y-%m-%d at %H:%M", &made);
    const std::string what = leftover.projectPath.empty()
                                 ? "the unsaved project " + leftover.project->name
                                 : "the unsaved changes to " + fs::path(leftover.projectPath).stem().string();
    return "Restore " + what + when + "?";
}

std::optional<Autosave::Leftover> Autosave::FindLeftover(const std::string& openedPath) const {
    std::optional<Leftover> best;
    fs::file_time_type bestTime;
    std::error_code error;
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path file = it->path();
        const std::string name = file.filename().string();
        std::error_code typeError;
        if (name.starts_with(".") || !name.ends_with(kSuffix) || file == m_file ||
            !it->is_regular_file(typeError))
            continue;
        const std::optional<std::string> text = ReadWhole(file);
        const std::optional<Header> header = text ? ParseHeader(*text) : std::nullopt;
        // Unreadable data is left as it is; a running designer's is its own.
        if (!header || Running(header->owner))
            continue;
        std::error_code timeError;
        const fs::file_time_type written = fs::last_write_time(file, timeError);
        if (!header->projectPath.empty()) {
            const fs::file_time_type saved = fs::last_write_time(header->projectPath, timeError);
            if (!timeError && saved > written) { // saved since: nothing to recover
                fs::remove(file, timeError);
                continue;
            }
        }
        if (!openedPath.empty() &&
            (header->projectPath.empty() || !SameFile(header->projectPath, openedPath)))
            continue;
        if (best && written <= bestTime)
            continue;
        auto project = std::make_unique<Project>();
        if (!ParseProjectFile(*project, std::string_view(*text).substr(header->end)))
            continue;
        best = Leftover{file.string(), header->projectPath, header->time, std::move(project)};
        bestTime = written;
    }
    return best;
}

} // namespace tav::builder
