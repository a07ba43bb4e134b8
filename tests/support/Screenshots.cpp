#include "Screenshots.h"

#include "TestSupport.h"
#include "tavctrls/platform/BitmapFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace tav::test {

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunHeadless(const std::string& program, const std::string& folder, const std::string& script, int frames,
                const std::string& screenshot) {
    WriteFile(folder + "/input.txt", script);
    return Shell("cd '" + folder + "' && TAV_HEADLESS=1" +
                 (frames > 0 ? " TAV_FRAMES=" + std::to_string(frames) : std::string()) +
                 " TAV_INPUT=input.txt TAV_SCREENSHOT='" + screenshot + "' '" + program + "' > output.txt 2>&1");
}

void ExpectLikeReference(const std::string& shot, const std::string& referenceFolder, const std::string& name) {
    platform::PixelBuffer actual, expected;
    std::string error;
    ASSERT_TRUE(platform::LoadBitmapFile(shot, actual, &error)) << error;
    const std::string reference = referenceFolder + "/" + name;
    if (std::getenv("TAV_UPDATE_REFERENCES") != nullptr) {
        ASSERT_TRUE(platform::SaveBitmapFile(reference, actual, &error)) << error;
    }
    ASSERT_TRUE(platform::LoadBitmapFile(reference, expected, &error))
        << "missing reference " << reference << " (TAV_UPDATE_REFERENCES=1 writes it): " << error;
    ASSERT_EQ(actual.width(), expected.width());
    ASSERT_EQ(actual.height(), expected.height());
    int different = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            different += actual.At(x, y) != expected.At(x, y);
    EXPECT_LE(different, actual.width() * actual.height() / 500) << name << ": " << different << " pixels differ";
}

} // namespace tav::test
