#pragma once

#include <optional>
#include <string>

namespace tav {

class Project;

// Ids of the four answers of the overwrite question; the value stored in `overwriteAnswer`.
enum OverwriteAnswer : int { kAnswerAlways = 0, kAnswerYes = 1, kAnswerNo = 2, kAnswerNever = 3 };

// Which command asks for the destination folder (the dialog's place and size differ).
enum class DestinationRequest { EntireProject, ThisScreen };

enum class MessageKind { Information, Error };

// The yes/no questions of a run, so that a non-interactive front end can answer each from its own
// setting.
enum class YesNoQuestion { CopyBitmaps, SelectStartupScreen, CreateDirectory };

// How a run treats the files it generates. With `keepUserCode`, an existing file is merged with its
// new generation instead of being overwritten (no overwrite question); with `dryRun`, nothing at
// all is written (no file, no folder, no bitmap copy).
struct FileHandling {
    bool keepUserCode = false;
    bool dryRun = false;
};

enum class FileChange { New, Changed, Unchanged };

// One file a run handled: what the file holds (`before`, empty for a new one) and what the run
// writes or, in a dry run, would write (`after`), both as stored.
struct FileReport {
    std::string path;
    FileChange change = FileChange::Unchanged;
    std::string before;
    std::string after;
};

// Everything a generation run asks or tells the user. The designer answers with its dialogs,
// tavgen with flags and the terminal, tests with scripted answers.
class GenerationUi {
public:
    virtual ~GenerationUi() = default;

    // "PATH already exists. Do you want to overwrite it?" with Always, Yes, No and Never; gives the
    // id of the answer.
    virtual int AskOverwrite(const std::string& message) = 0;
    // A yes/no question with its text; true for Yes.
    virtual bool AskYesNo(YesNoQuestion which, const std::string& question) = 0;
    virtual void ShowMessage(const std::string& message, MessageKind kind) = 0;
    // Lets the user pick one of the project's full screens; nothing when cancelled.
    virtual std::optional<std::string> ChooseStartupScreen(const Project& project) = 0;
    // The destination folder, existing or just created; nothing when cancelled.
    virtual std::optional<std::string> ChooseDestination(DestinationRequest request) = 0;
    // Something the run passes over that the user would want to know (a bitmap not copied, ...).
    virtual void Warn(const std::string& message) = 0;

    virtual FileHandling Handling() const { return {}; }
    // Told about every file the run handles, written or skipped, in a dry run too.
    virtual void FileHandled(const FileReport&) {}
};

} // namespace tav
