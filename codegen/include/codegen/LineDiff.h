#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tav {

// The lines of `text`, each with its own line end ("\n" or "\r\n") kept, so that joining them
// gives `text` back; a last line without a line end is a line too.
std::vector<std::string_view> SplitLines(std::string_view text);

// A longest common subsequence of `a` and `b`: the pairs (index in a, index in b) of the lines kept,
// in increasing order of both indices. Lines compare byte for byte, line ends included.
std::vector<std::pair<std::size_t, std::size_t>> MatchLines(const std::vector<std::string_view>& a,
                                                            const std::vector<std::string_view>& b);

// A run of lines [a0, a1) of `a` replaced by lines [b0, b1) of `b` (either run may be empty).
struct LineChange {
    std::size_t a0, a1, b0, b1;
};

// The runs of changes between `a` and `b` along `MatchLines`, in order.
std::vector<LineChange> ChangedRuns(const std::vector<std::string_view>& a,
                                    const std::vector<std::string_view>& b);

// A unified diff of `before` into `after` ("--- LABEL", "+++ LABEL", "@@ -l,n +l,n @@" hunks with
// three lines of context); every line is shown with its line end as stored, and a last line
// without one is followed by "\ No newline at end of file". Empty when the texts are equal.
std::string UnifiedDiff(std::string_view before, std::string_view after, const std::string& beforeLabel,
                        const std::string& afterLabel);

} // namespace tav
