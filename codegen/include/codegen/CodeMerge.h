#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// What the merge of one generated file gives: the text to store, and one message for every group
// of the user's lines that had no place left and were kept in a marked block instead.
struct MergeResult {
    std::string text;
    std::vector<std::string> unplaced;
};

// Merges the user's edits of a generated file into its new generation. `base` is what the designer
// generated last time (nothing when no record of it is left), `mine` the file as it is now,
// `theirs` the new generation; all three as stored (CR LF). Lines the user left as generated
// follow the design; lines the user added or changed stay; a user change that meets a design
// change of the same lines is kept, commented out, in a marked block beside the designed lines.
// With `mine` equal to `base` the result is `theirs`; with `theirs` equal to `base`, `mine`.
MergeResult MergeUserCode(const std::optional<std::string_view>& base, std::string_view mine,
                          std::string_view theirs);

// True when `text` still holds a marked block of kept lines from an earlier merge.
bool HoldsKeptBlock(std::string_view text);

} // namespace tav
