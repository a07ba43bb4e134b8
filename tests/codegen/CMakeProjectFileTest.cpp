#include "codegen/CMakeProjectFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tav::test {
namespace {

TEST(CMakeProjectFileTest, NamesBecomeValidCMakeNames) {
    const std::pair<const char*, const char*> targets[] = {
        {"Showcase", "Showcase"}, {"My Game!", "My_Game_"},          {"a.b+c-d_e", "a.b+c-d_e"},
        {"test", "test_program"}, {"Install", "Install_program"},    {"tests", "tests"},
        {"caf\xc3\xa9", "caf__"}, {"all_build", "all_build_program"}};
    for (const auto& [name, target] : targets)
        EXPECT_EQ(CMakeTargetName(name), target) << name;

    Project project;
    project.name = "My Game";
    project.generatedFiles = {"/o/My Game.h",      "/o/My Game.cpp",      "/o/main.cpp",
                              "/o/Title Screen.h", "/o/Title Screen.cpp", "/o/Cost$\"x.cpp"};
    // Quoted names, no headers among the sources.
    ExpectSameAsGolden(CMakeProjectFileText(project),
                       TAV_SOURCE_DIR "/tests/codegen/golden/texts/quoted-CMakeLists.txt");
}

} // namespace
} // namespace tav::test
