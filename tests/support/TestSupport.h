#pragma once

#include "model/Project.h"

#include <functional>
#include <memory>
#include <string>

namespace tav::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

std::unique_ptr<ScreenDef> MakeScreen(const std::string& name, ScreenType type = ScreenType::FullScreen,
                                      const std::string& parent = "");
std::unique_ptr<ObjectDef> MakeObject(ObjectKind kind, const std::string& screenName,
                                      const std::string& name);

// Adds a new screen or object to `project`; gives it as the project holds it.
ScreenDef& AddScreen(Project& project, const std::string& name, ScreenType type = ScreenType::FullScreen,
                     const std::string& parent = "");
ObjectDef& AddObject(Project& project, ObjectKind kind, const std::string& screenName,
                     const std::string& name);

// Every stored field of two projects is equal (the generation state and `modified` are not stored).
void ExpectSameStoredProject(const Project& expected, const Project& actual);

// Runs `body` in a forked child and returns its exit status (or 128 + signal).
int RunInChild(const std::function<int()>& body);

// Runs a shell command; gives its exit status (-1 when it did not exit normally).
int Shell(const std::string& command);

// TAV_UPDATE_REFERENCES=1: comparisons rewrite their reference pictures and goldens instead of failing.
bool UpdatingReferences();

// Where the running test leaves the evidence of a failed comparison against `reference`, a file under
// the source tree: build/test-artifacts/SUITE.TEST/PATH-BELOW-tests. Makes the folders.
std::string ArtifactPath(const std::string& reference);

// Expects `actual` to be the bytes of the file `golden`; on a difference the actual bytes are written
// as evidence and their path is in the failure message.
void ExpectSameAsGolden(const std::string& actual, const std::string& golden);

} // namespace tav::test
