#pragma once

#include "model/Project.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace tav::builder {

// The designer's crash insurance: a copy of the unsaved project in a recovery file of its own
// ("PID.recovery" in the state folder), written crash-safely a short while after each change, removed
// once the work is saved or deliberately left; and, at start, the copy a designer that is no longer
// running left behind.
class Autosave {
public:
    // Seconds from the first change not yet written to its writing.
    static constexpr double kDelay = 1.5;

    // Unsaved work left by a designer that has ended.
    struct Leftover {
        std::string file;        // the recovery file
        std::string projectPath; // the project's own file, empty when it was never saved
        std::time_t time = 0;    // when it was written
        std::unique_ptr<Project> project;
    };

    // $XDG_STATE_HOME/tavbuilder, else ~/.local/state/tavbuilder (a relative XDG_STATE_HOME is ignored).
    static std::string DefaultFolder();
    explicit Autosave(std::string folder = DefaultFolder());

    const std::string& Folder() const { return m_folder; }
    // This designer's recovery file.
    const std::string& File() const { return m_file; }

    // Once a frame: `elapsed` seconds have passed; `revision` differs from the last one whenever the
    // project may have changed. Writes `kDelay` seconds after the first change not yet written: the
    // project when it has unsaved changes, else the recovery file goes.
    void Tick(double elapsed, std::uint64_t revision, const Project* project, const std::string& path);
    // Writes a pending change now (before the frame loop stops for a while).
    void Flush(const Project* project, const std::string& path);
    // The project was saved: its recovery data goes, and so does a leftover the user declined.
    void Saved();
    // The designer ends cleanly: its own recovery data goes.
    void Remove();
    // A leftover that was not restored: kept until the next save.
    void Decline(const std::string& file) { m_declined = file; }
    // The restored leftover `file` becomes this designer's own recovery data (at `revision`); when that
    // cannot be written the leftover stays until the next save.
    void Adopt(const std::string& file, std::uint64_t revision, const Project& project,
               const std::string& path);

    // "Restore the unsaved changes to hello made at 14:02?" (with the date when not made on `now`'s day).
    static std::string Question(const Leftover& leftover, std::time_t now);

    // The leftover to offer: the one of `openedPath` when a project was opened, else the newest one.
    // Leftovers older than their project's file are removed; those of running designers are untouched.
    std::optional<Leftover> FindLeftover(const std::string& openedPath) const;

private:
    bool Write(const Project& project, const std::string& path);

    std::string m_folder;
    std::string m_file;
    std::string m_declined;
    double m_clock = 0;
    std::uint64_t m_revision = 0;
    std::optional<double> m_pendingSince;
};

} // namespace tav::builder
