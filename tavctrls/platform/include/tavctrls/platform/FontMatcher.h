#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tav::platform {

// Where an installed face lives: its file and the face index inside it.
struct FaceLocation {
    std::string file;
    int index = 0;
    bool bold = false; // the face itself is bold (no emboldening needed)

    auto operator<=>(const FaceLocation&) const = default;
};

// The installed face that best matches `family` and boldness, as fontconfig ranks them; an unknown family
// gives the best fallback. Empty only when no face is installed at all. Answers are remembered.
std::optional<FaceLocation> MatchFace(const std::string& family, bool bold);

// The first family name of every installed face, sorted, without duplicates.
std::vector<std::string> ListFamilies();

} // namespace tav::platform
