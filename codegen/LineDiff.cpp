#include "codegen/LineDiff.h"

#include <algorithm>
#include <unordered_map>

namespace tav {

namespace {

using Ids = std::vector<int>;

// Myers' linear-space LCS on line numbers; marks the lines of each side that are not kept.
class Lcs {
public:
    Lcs(const Ids& a, const Ids& b, std::vector<bool>& changedA, std::vector<bool>& changedB)
        : a_(a), b_(b), changedA_(changedA), changedB_(changedB) {}

    void Compare(int a0, int a1, int b0, int b1) {
        while (a0 < a1 && b0 < b1 && a_[a0] == b_[b0])
            ++a0, ++b0;
        while (a0 < a1 && b0 < b1 && a_[a1 - 1] == b_[b1 - 1])
            --a1, --b1;
        if (a0 == a1 || b0 == b1) {
            for (int i = a0; i < a1; ++i)
                changedA_[i] = true;
            for (int j = b0; j < b1; ++j)
                changedB_[j] = true;
            return;
        }
        const Snake snake = MiddleSnake(a0, a1, b0, b1);
        Compare(a0, snake.x, b0, snake.y);
        Compare(snake.u, a1, snake.v, b1);
    }

private:
    struct Snake {
        int x, y, u, v;
    };

    // A snake of an optimal path through its middle; both ends lie strictly inside the box or the
    // snake is not empty, so the two halves are smaller than the whole.
    Snake MiddleSnake(int a0, int a1, int b0, int b1) {
        const int n = a1 - a0, m = b1 - b0, delta = n - m, max = (n + m + 1) / 2;
        const bool odd = (delta & 1) != 0;
        forward_.assign(2 * static_cast<std::size_t>(max) + 3, 0);
        backward_.assign(2 * static_cast<std::size_t>(max) + 3, 0);
        auto vf = [&](int k) -> int& { return forward_[static_cast<std::size_t>(k + max + 1)]; };
        auto vb = [&](int k) -> int& { return backward_[static_cast<std::size_t>(k + max + 1)]; };
        for (int d = 0; d <= max; ++d) {
            for (int k = -d; k <= d; k += 2) {
                int x = (k == -d || (k != d && vf(k - 1) < vf(k + 1))) ? vf(k + 1) : vf(k - 1) + 1;
                int y = x - k;
                const int x0 = x, y0 = y;
                while (x < n && y < m && a_[a0 + x] == b_[b0 + y])
                    ++x, ++y;
                vf(k) = x;
                const int c = delta - k;
                if (odd && c >= -(d - 1) && c <= d - 1 && x + vb(c) >= n)
                    return {a0 + x0, b0 + y0, a0 + x, b0 + y};
            }
            for (int c = -d; c <= d; c += 2) {
                int x = (c == -d || (c != d && vb(c - 1) < vb(c + 1))) ? vb(c + 1) : vb(c - 1) + 1;
                int y = x - c;
                const int x0 = x, y0 = y;
                while (x < n && y < m && a_[a1 - 1 - x] == b_[b1 - 1 - y])
                    ++x, ++y;
                vb(c) = x;
                const int k = delta - c;
                if (!odd && k >= -d && k <= d && x + vf(k) >= n)
                    return {a1 - x, b1 - y, a1 - x0, b1 - y0};
            }
        }
        return {a0, b0, a1, b1}; // not reached: the paths meet by d == max
    }

    const Ids& a_;
    const Ids& b_;
    std::vector<bool>& changedA_;
    std::vector<bool>& changedB_;
    std::vector<int> forward_, backward_;
};

// Moves every run of changed lines as far down as equal lines allow, so that a removed or added
// block ends at its own closing line rather than at an identical one above it.
void SlideDown(const Ids& lines, std::vector<bool>& changed) {
    const std::size_t n = lines.size();
    for (std::size_t start = 0; start < n;) {
        if (!changed[start]) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < n && changed[end])
            ++end;
        while (end < n && lines[start] == lines[end]) {
            changed[start++] = false;
            changed[end++] = true;
            while (end < n && changed[end])
                ++end;
        }
        start = end;
    }
}

} // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        lines.push_back(text.substr(start, end + 1 - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::pair<std::size_t, std::size_t>> MatchLines(const std::vector<std::string_view>& a,
                                                            const std::vector<std::string_view>& b) {
    std::unordered_map<std::string_view, int> numbers;
    auto number = [&](const std::vector<std::string_view>& lines) {
        Ids ids;
        ids.reserve(lines.size());
        for (std::string_view line : lines)
            ids.push_back(numbers.emplace(line, static_cast<int>(numbers.size())).first->second);
        return ids;
    };
    const Ids idsA = number(a), idsB = number(b);
    std::vector<bool> changedA(a.size()), changedB(b.size());
    Lcs(idsA, idsB, changedA, changedB).Compare(0, static_cast<int>(a.size()), 0, static_cast<int>(b.size()));
    SlideDown(idsA, changedA);
    SlideDown(idsB, changedB);

    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t i = 0, j = 0;; ++i, ++j) {
        while (i < a.size() && changedA[i])
            ++i;
        while (j < b.size() && changedB[j])
            ++j;
        if (i == a.size() || j == b.size())
            return pairs;
        pairs.emplace_back(i, j);
    }
}

std::vector<LineChange> ChangedRuns(const std::vector<std::string_view>& a,
                                    const std::vector<std::string_view>& b) {
    auto pairs = MatchLines(a, b);
    pairs.emplace_back(a.size(), b.size());
    std::vector<LineChange> changes;
    std::size_t i = 0, j = 0;
    for (const auto& [pi, pj] : pairs) {
        if (pi > i || pj > j)
            changes.push_back({i, pi, j, pj});
        i = pi + 1;
        j = pj + 1;
    }
    return changes;
}

std::string UnifiedDiff(std::string_view before, std::string_view after, const std::string& beforeLabel,
                        const std::string& afterLabel) {
    const auto a = SplitLines(before), b = SplitLines(after);
    const std::vector<LineChange> changes = ChangedRuns(a, b);
    if (changes.empty())
        return {};

    constexpr std::size_t kContext = 3;
    std::string out = "--- " + beforeLabel + "\n+++ " + afterLabel + "\n";
    auto range = [](std::size_t start, std::size_t count) {
        if (count == 1)
            return std::to_string(start + 1);
        return std::to_string(count == 0 ? start : start + 1) + "," + std::to_string(count);
    };
    auto line = [&out](char mark, std::string_view text) {
        out += mark;
        out += text;
        if (text.empty() || text.back() != '\n')
            out += "\n\\ No newline at end of file\n";
    };
    for (std::size_t first = 0; first < changes.size();) {
        std::size_t last = first;
        while (last + 1 < changes.size() && changes[last + 1].a0 - changes[last].a1 <= 2 * kContext)
            ++last;
        const std::size_t a0 = changes[first].a0 - std::min(kContext, changes[first].a0);
        const std::size_t b0 = changes[first].b0 - (changes[first].a0 - a0);
        const std::size_t a1 = std::min(a.size(), changes[last].a1 + kContext);
        const std::size_t b1 = changes[last].b1 + (a1 - changes[last].a1);
        out += "@@ -" + range(a0, a1 - a0) + " +" + range(b0, b1 - b0) + " @@\n";
        std::size_t at = a0;
        for (std::size_t c = first; c <= last; ++c) {
            for (; at < changes[c].a0; ++at)
                line(' ', a[at]);
            for (std::size_t k = changes[c].a0; k < changes[c].a1; ++k)
                line('-', a[k]);
            for (std::size_t k = changes[c].b0; k < changes[c].b1; ++k)
                line('+', b[k]);
            at = changes[c].a1;
        }
        for (; at < a1; ++at)
            line(' ', a[at]);
        first = last + 1;
    }
    return out;
}

} // namespace tav
