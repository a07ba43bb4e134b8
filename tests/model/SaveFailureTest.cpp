#include "model/ProjectFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tav {
namespace {

using test::ReadFile;
using test::TempDir;

namespace fs = std::filesystem;

std::size_t EntriesIn(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

void FillLargeProject(Project& project, int objects, const std::string& caption) {
    project.name = "Large";
    project.AddScreen(test::MakeScreen("S"));
    for (int i = 0; i < objects; ++i) {
        auto object = test::MakeObject(ObjectKind::Static, "S", "O" + std::to_string(i));
        object->caption = caption;
        project.AddObject(std::move(object));
    }
}

// Saves `project` over an existing file in a child process prepared by `prepare`; the child
// exits with 0 when the save failed as it should (false, `modified` kept).
int FailingSaveInChild(const std::string& path, const std::function<void()>& prepare) {
    return test::RunInChild([&] {
        prepare();
        Project project;
        FillLargeProject(project, 200, "new");
        project.modified = 1;
        std::string error;
        if (project.WriteProjectFile(path, &error))
            return 10;
        if (project.modified != 1 || error.empty())
            return 11;
        return 0;
    });
}

class SaveFailure : public ::testing::Test {
protected:
    void SetUp() override {
        Project old;
        FillLargeProject(old, 3, "old");
        ASSERT_TRUE(old.WriteProjectFile(path));
        oldBytes = ReadFile(path);
    }
    void ExpectOldFileAlone() {
        EXPECT_EQ(oldBytes, ReadFile(path));
        EXPECT_EQ(1u, EntriesIn(dir.path())) << "a temporary file was left behind";
    }

    TempDir dir;
    std::string path = dir / "project.tvp";
    std::string oldBytes;
};

TEST_F(SaveFailure, MissingFolder) {
    Project project;
    project.modified = 1;
    std::string error;
    EXPECT_FALSE(project.WriteProjectFile(dir / "save/missing.tvp", &error));
    EXPECT_NE(std::string::npos, error.find("No such file or directory")) << error;
    EXPECT_EQ(1, project.modified);
    ExpectOldFileAlone();
}

TEST_F(SaveFailure, FullDisk) {
    const int status = FailingSaveInChild(path, [] {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(0, status);
    ExpectOldFileAlone();
}

TEST_F(SaveFailure, ReadOnlyFolder) {
    ::chmod(dir.path().c_str(), 0555);
    const int status = FailingSaveInChild(path, [] {
        // Root writes anywhere: act as an ordinary user in the child.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(20);
    });
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(0, status);
    ExpectOldFileAlone();
}

TEST_F(SaveFailure, TargetIsAFolder) {
    fs::remove(path);
    fs::create_directory(path);
    Project project;
    EXPECT_FALSE(project.WriteProjectFile(path));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(1u, EntriesIn(dir.path()));
}

TEST_F(SaveFailure, KillingASaveNeverLeavesATornFile) {
    Project first;
    FillLargeProject(first, 8000, "first version of a long caption");
    Project second;
    FillLargeProject(second, 8000, "second");
    const std::string firstBytes = FormatProjectFile(first);
    const std::string secondBytes = FormatProjectFile(second);
    std::mt19937 random(12345);
    for (int round = 0; round < 8; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0;; ++i)
                (i % 2 == 0 ? first : second).WriteProjectFile(path);
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(1000, 60000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = ReadFile(path);
        EXPECT_TRUE(now == oldBytes || now == firstBytes || now == secondBytes)
            << "round " << round << ": " << now.size() << " bytes";
    }
    // Temporaries of killed saves stay behind; at least one kill must have hit a save midway.
    std::size_t interrupted = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        if (entry.path() != path && fs::remove(entry.path()))
            ++interrupted;
    EXPECT_GT(interrupted, 0u);
}

TEST(SaveTarget, KeepsTheModeOfAnExistingFileAndFollowsLinks) {
    TempDir dir;
    const std::string real = dir / "real.tvp";
    Project project;
    project.name = "First";
    ASSERT_TRUE(project.WriteProjectFile(real));
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, dir / "link.tvp");

    project.name = "Second";
    ASSERT_TRUE(project.WriteProjectFile(dir / "link.tvp"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.tvp"));
    EXPECT_EQ(0, ReadFile(real).rfind("Second\r\n", 0));
    struct stat info {};
    ASSERT_EQ(0, ::stat(real.c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 07777);

    const mode_t mask = ::umask(022);
    ASSERT_TRUE(project.WriteProjectFile(dir / "new.tvp"));
    ::umask(mask);
    ASSERT_EQ(0, ::stat((dir / "new.tvp").c_str(), &info));
    EXPECT_EQ(0644u, info.st_mode & 07777);
}

} // namespace
} // namespace tav
