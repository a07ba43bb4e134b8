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
        test::AddObject(project, ObjectKind::Static, "S", "O" + std::to_string(i)).caption = caption;
    }
}

class SaveFailure : public ::testing::Test {
protected:
    void SetUp() override {
        Project old;
        FillLargeProject(old, 3, "old");
        ASSERT_TRUE(old.WriteProjectFile(path));
        oldBytes = ReadFile(path);
    }
    TempDir dir;
    std::string path = dir / "project.tvp";
    std::string oldBytes;
};

// Each save fails in a child process prepared for it: false, `modified` kept, an error that names
// the cause, the old file and the folder as they were.
TEST_F(SaveFailure, FailedSavesChangeNothing) {
    const std::string folderTarget = dir / "folder.tvp";
    fs::create_directory(folderTarget);
    const struct {
        const char* what;
        std::string target;
        std::function<void()> prepare;
        const char* inError;
    } cases[] = {
        {"missing folder", dir / "save/missing.tvp", [] {}, "No such file or directory"},
        {"target is a folder", folderTarget, [] {}, ""},
        {"full disk", path,
         [] {
             std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
             const rlimit limit{4096, 4096};
             ::setrlimit(RLIMIT_FSIZE, &limit);
         },
         ""},
        {"read-only folder", path,
         [this] {
             ::chmod(dir.path().c_str(), 0555);
             // Root writes anywhere: act as an ordinary user.
             if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                 ::_exit(20);
         },
         ""},
    };
    for (const auto& c : cases) {
        const int status = test::RunInChild([&] {
            c.prepare();
            Project project;
            FillLargeProject(project, 200, "new");
            project.modified = 1;
            std::string error;
            if (project.WriteProjectFile(c.target, &error))
                return 10;
            return project.modified == 1 && !error.empty() && error.find(c.inError) != std::string::npos ? 0
                                                                                                         : 11;
        });
        ::chmod(dir.path().c_str(), 0700);
        EXPECT_EQ(0, status) << c.what;
        EXPECT_EQ(oldBytes, ReadFile(path)) << c.what;
        EXPECT_EQ(2u, EntriesIn(dir.path())) << c.what << ": a temporary file was left behind";
        EXPECT_TRUE(fs::is_directory(folderTarget));
    }
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
