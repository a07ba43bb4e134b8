#pragma once

#include "TestSupport.h"

#include <string>

namespace tav::test {

// Runs a program built on the library headless from `folder`, playing `script` (written there as
// input.txt), for `frames` frames (0: until its input ends), saving its last frame as `screenshot`.
// Its output goes to folder/output.txt. Gives the exit status (-1 when it did not exit normally).
int RunHeadless(const std::string& program, const std::string& folder, const std::string& script, int frames,
                const std::string& screenshot);

// Expects the picture `shot` to match the reference `referenceFolder/name`: the same size and at most 0.2 %
// of the pixels apart (glyph edges). A missing reference fails; TAV_UPDATE_REFERENCES=1 rewrites it first. On
// a failure the frame and a difference image are left under build/test-artifacts/ (see ArtifactPath).
void ExpectLikeReference(const std::string& shot, const std::string& referenceFolder,
                         const std::string& name);

} // namespace tav::test
