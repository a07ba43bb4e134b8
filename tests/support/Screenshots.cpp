#include "Screenshots.h"

#include "tavctrls/platform/BitmapFile.h"

#include <gtest/gtest.h>

namespace tav::test {

int RunHeadless(const std::string& program, const std::string& folder, const std::string& script, int frames,
                const std::string& screenshot) {
    WriteFile(folder + "/input.txt", script);
    return Shell("cd '" + folder + "' && TAV_HEADLESS=1" +
                 (frames > 0 ? " TAV_FRAMES=" + std::to_string(frames) : std::string()) +
                 " TAV_INPUT=input.txt TAV_SCREENSHOT='" + screenshot + "' '" + program +
                 "' > output.txt 2>&1");
}

void ExpectLikeReference(const std::string& shot, const std::string& referenceFolder,
                         const std::string& name) {
    platform::PixelBuffer actual, expected;
    std::string error;
    ASSERT_TRUE(platform::LoadBitmapFile(shot, actual, &error)) << error;
    const std::string reference = referenceFolder + "/" + name;
    if (UpdatingReferences()) {
        ASSERT_TRUE(platform::SaveBitmapFile(reference, actual, &error)) << error;
    }
    const bool loaded = platform::LoadBitmapFile(reference, expected, &error);
    const bool sameSize =
        loaded && actual.width() == expected.width() && actual.height() == expected.height();
    // The difference image is the actual picture dimmed, with every differing pixel in magenta.
    platform::PixelBuffer difference;
    int different = 0;
    if (sameSize && difference.CopyFrom(actual))
        for (int y = 0; y < actual.height(); ++y)
            for (int x = 0; x < actual.width(); ++x) {
                const bool differs = actual.At(x, y) != expected.At(x, y);
                different += differs;
                difference.Set(x, y, differs ? 0xFF00FF : (actual.At(x, y) >> 1) & 0x7F7F7F);
            }
    if (sameSize && different <= actual.width() * actual.height() / 500)
        return;
    const std::string base = ArtifactPath(reference);
    const std::string actualPath = base.substr(0, base.size() - 4) + ".actual.bmp";
    const std::string differencePath = base.substr(0, base.size() - 4) + ".difference.bmp";
    platform::SaveBitmapFile(actualPath, actual);
    std::string evidence = "the frame is in " + actualPath;
    if (sameSize && platform::SaveBitmapFile(differencePath, difference))
        evidence += ", its differences in magenta in " + differencePath;
    if (!loaded)
        ADD_FAILURE() << "missing reference " << reference
                      << " (TAV_UPDATE_REFERENCES=1 writes it): " << error << "; " << evidence;
    else if (!sameSize)
        ADD_FAILURE() << name << ": the frame is " << actual.width() << " x " << actual.height()
                      << ", the reference " << expected.width() << " x " << expected.height() << "; "
                      << evidence;
    else
        ADD_FAILURE() << name << ": " << different << " pixels differ; " << evidence;
}

} // namespace tav::test
