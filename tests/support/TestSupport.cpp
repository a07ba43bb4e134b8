#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace tav::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavtest.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Children of a test may have left folders without write permission behind.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        if (it->is_directory(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::unique_ptr<ScreenDef> MakeScreen(const std::string& name, ScreenType type, const std::string& parent) {
    auto screen = std::make_unique<ScreenDef>();
    screen->name = name;
    screen->parent = parent;
    screen->type = type;
    return screen;
}

std::unique_ptr<ObjectDef> MakeObject(ObjectKind kind, const std::string& screenName,
                                      const std::string& name) {
    auto object = std::make_unique<ObjectDef>();
    object->kind = kind;
    object->screenName = screenName;
    object->name = name;
    return object;
}

ScreenDef& AddScreen(Project& project, const std::string& name, ScreenType type, const std::string& parent) {
    project.AddScreen(MakeScreen(name, type, parent));
    return project.Screen(project.ScreenCount() - 1);
}

ObjectDef& AddObject(Project& project, ObjectKind kind, const std::string& screenName,
                     const std::string& name) {
    project.AddObject(MakeObject(kind, screenName, name));
    return project.Object(project.ObjectCount() - 1);
}

void ExpectSameStoredProject(const Project& expected, const Project& actual) {
    const auto header = [](const Project& p) {
        return std::tuple(p.name, p.appMode, p.x, p.y, p.width, p.height, p.bitsPerPixel, p.showFrameRate,
                          p.waitVerticalBlank);
    };
    EXPECT_EQ(header(expected), header(actual));
    ASSERT_EQ(expected.ScreenCount(), actual.ScreenCount());
    for (int i = 0; i < expected.ScreenCount(); ++i)
        EXPECT_TRUE(expected.Screen(i) == actual.Screen(i))
            << "screen " << i << " (" << expected.Screen(i).name << ")";
    ASSERT_EQ(expected.ObjectCount(), actual.ObjectCount());
    for (int i = 0; i < expected.ObjectCount(); ++i)
        EXPECT_TRUE(expected.Object(i) == actual.Object(i))
            << "object " << i << " (" << expected.Object(i).name << ")";
}

bool UpdatingReferences() {
    const char* update = std::getenv("TAV_UPDATE_REFERENCES");
    return update != nullptr && std::string(update) == "1";
}

std::string ArtifactPath(const std::string& reference) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name =
        test == nullptr ? "no-test" : std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    const std::filesystem::path below =
        std::filesystem::path(reference).lexically_relative(TAV_SOURCE_DIR "/tests").lexically_normal();
    const std::filesystem::path path =
        std::filesystem::path(TAV_ARTIFACTS_DIR) / name /
        (below.empty() || *below.begin() == ".." ? std::filesystem::path(reference).filename() : below);
    std::filesystem::create_directories(path.parent_path());
    return path.string();
}

void ExpectSameAsGolden(const std::string& actual, const std::string& golden) {
    if (UpdatingReferences())
        WriteFile(golden, actual);
    if (!std::filesystem::is_regular_file(golden)) {
        ADD_FAILURE() << "missing golden " << golden << " (TAV_UPDATE_REFERENCES=1 writes it)";
        return;
    }
    if (actual == ReadFile(golden))
        return;
    const std::string evidence = ArtifactPath(golden);
    WriteFile(evidence, actual);
    ADD_FAILURE() << golden << " differs from the output, which is in " << evidence;
}

int RunInChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace tav::test
