#include "codegen/CodeMerge.h"

#include "codegen/LineDiff.h"

#include <algorithm>
#include <cctype>
#include <deque>

namespace tav {

namespace {

using Lines = std::vector<std::string_view>;

constexpr std::string_view kBlockStart =
    "// >>>>>> tavgen: your lines below no longer fit the design; they are kept here, commented out";
constexpr std::string_view kBlockEnd = "// <<<<<< end of kept lines";

std::string_view WithoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool IsCommentOrBlank(std::string_view line) {
    line = WithoutLineEnd(line);
    const auto first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line.substr(first).starts_with("//");
}

// "Main::OnButtonDown" for "BOOL Main::OnButtonDown(DWORD bID)"; empty for other lines.
std::string_view FunctionName(std::string_view line) {
    line = WithoutLineEnd(line);
    if (line.empty() ||
        !(std::isalpha(static_cast<unsigned char>(line[0])) || line[0] == '_' || line[0] == '~') ||
        line.back() == ';')
        return {};
    const auto paren = line.find('(');
    if (paren == std::string_view::npos)
        return {};
    std::string_view head = line.substr(0, paren);
    while (!head.empty() && head.back() == ' ')
        head.remove_suffix(1);
    const auto space = head.find_last_of(" \t*&");
    return space == std::string_view::npos ? head : head.substr(space + 1);
}

class Output {
public:
    explicit Output(std::string_view eol) : eol_(eol) {}

    void Line(std::string_view line) {
        if (!text_.empty() && text_.back() != '\n')
            text_ += eol_;
        text_ += line;
        lines_.push_back(line);
    }
    void Lines(const tav::Lines& lines, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            Line(lines[i]);
    }

    // The user's lines, commented out between the markers, and a message saying where they went.
    void KeptBlock(const tav::Lines& lines, std::size_t userLines, bool noRecord,
                   std::vector<std::string>& unplaced) {
        std::string_view function;
        for (std::size_t i = lines_.size(); i-- > 0 && function.empty() && !lines_[i].starts_with("}");)
            function = FunctionName(lines_[i]);
        std::string message = "line " + std::to_string(lines_.size() + 1);
        if (!function.empty())
            message += " (" + std::string(function) + ")";
        message += ": " + std::to_string(userLines) + " of your lines ";
        if (noRecord)
            message += "replaced designed lines and no record of the last generation is left";
        else
            message += userLines == 1 ? "no longer fits the design" : "no longer fit the design";
        unplaced.push_back(message + "; kept, commented out");

        Commented(kBlockStart);
        for (std::string_view line : lines) {
            const std::string_view text = WithoutLineEnd(line);
            Commented(stored_.emplace_back(text.empty() ? std::string("//") : "// " + std::string(text)));
        }
        Commented(kBlockEnd);
    }

    std::string Text() && { return std::move(text_); }

private:
    void Commented(std::string_view text) {
        if (!text_.empty() && text_.back() != '\n')
            text_ += eol_;
        text_ += text;
        text_ += eol_;
        lines_.push_back(text);
    }

    std::string eol_;
    std::string text_;
    std::vector<std::string_view> lines_;
    std::deque<std::string> stored_;
};

} // namespace

MergeResult MergeUserCode(const std::optional<std::string_view>& base, std::string_view mine,
                          std::string_view theirs) {
    const Lines m = SplitLines(mine), t = SplitLines(theirs);
    std::string_view eol = "\r\n";
    for (std::string_view text : {theirs, mine})
        if (const auto end = text.find('\n'); end != std::string_view::npos) {
            eol = end > 0 && text[end - 1] == '\r' ? "\r\n" : "\n";
            break;
        }
    MergeResult result;
    Output out(eol);

    if (!base) {
        // Without a record every difference is the user's: insertions stay, deletions come back, and
        // replaced designed lines win unless they were only comments.
        std::size_t at = 0;
        for (const LineChange& h : ChangedRuns(t, m)) {
            out.Lines(t, at, h.a0);
            const bool commentsOnly =
                std::all_of(t.begin() + static_cast<std::ptrdiff_t>(h.a0),
                            t.begin() + static_cast<std::ptrdiff_t>(h.a1), IsCommentOrBlank);
            if (h.b0 == h.b1 || !commentsOnly)
                out.Lines(t, h.a0, h.a1);
            if (h.a0 == h.a1 || (h.b0 < h.b1 && commentsOnly))
                out.Lines(m, h.b0, h.b1);
            else if (h.b0 < h.b1)
                out.KeptBlock(Lines(m.begin() + static_cast<std::ptrdiff_t>(h.b0),
                                    m.begin() + static_cast<std::ptrdiff_t>(h.b1)),
                              h.b1 - h.b0, true, result.unplaced);
            at = h.a1;
        }
        out.Lines(t, at, t.size());
        result.text = std::move(out).Text();
        return result;
    }

    const Lines b = SplitLines(*base);
    const std::vector<LineChange> hm = ChangedRuns(b, m), ht = ChangedRuns(b, t);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t at = 0, im = 0, it = 0;
    while (im < hm.size() || it < ht.size()) {
        const std::size_t p =
            std::min(im < hm.size() ? hm[im].a0 : kNone, it < ht.size() ? ht[it].a0 : kNone);
        out.Lines(b, at, p);
        at = p;
        const bool mineInserts = im < hm.size() && hm[im].a0 == p && hm[im].a1 == p;
        const bool theirsInsert = it < ht.size() && ht[it].a0 == p && ht[it].a1 == p;
        if (theirsInsert) {
            // Both sides adding the same lines add them once; otherwise the designed ones come first.
            const LineChange& h = ht[it++];
            out.Lines(t, h.b0, h.b1);
            if (mineInserts && std::equal(m.begin() + static_cast<std::ptrdiff_t>(hm[im].b0),
                                          m.begin() + static_cast<std::ptrdiff_t>(hm[im].b1),
                                          t.begin() + static_cast<std::ptrdiff_t>(h.b0),
                                          t.begin() + static_cast<std::ptrdiff_t>(h.b1)))
                ++im;
            continue;
        }
        if (mineInserts) {
            out.Lines(m, hm[im].b0, hm[im].b1);
            ++im;
            continue;
        }

        // Changes of base lines from `p` on, and every change of the other side that overlaps them.
        const std::size_t m0 = im, t0 = it;
        std::size_t end = p;
        for (bool grew = true; grew;) {
            grew = false;
            for (auto [hunks, index] : {std::pair{&hm, &im}, std::pair{&ht, &it}})
                while (*index < hunks->size() && ((*hunks)[*index].a0 < end || (*hunks)[*index].a0 == p)) {
                    end = std::max(end, (*hunks)[(*index)++].a1);
                    grew = true;
                }
        }
        // Each side's version of base lines [p, end), with the lines that are not base lines marked.
        auto version = [&](const std::vector<LineChange>& hunks, std::size_t from, std::size_t to,
                           const Lines& side, std::vector<bool>* added) {
            Lines lines;
            std::size_t k = p;
            for (std::size_t h = from; h < to; ++h) {
                lines.insert(lines.end(), b.begin() + static_cast<std::ptrdiff_t>(k),
                             b.begin() + static_cast<std::ptrdiff_t>(hunks[h].a0));
                if (added)
                    added->resize(lines.size(), false);
                lines.insert(lines.end(), side.begin() + static_cast<std::ptrdiff_t>(hunks[h].b0),
                             side.begin() + static_cast<std::ptrdiff_t>(hunks[h].b1));
                if (added)
                    added->resize(lines.size(), true);
                k = hunks[h].a1;
            }
            lines.insert(lines.end(), b.begin() + static_cast<std::ptrdiff_t>(k),
                         b.begin() + static_cast<std::ptrdiff_t>(end));
            if (added)
                added->resize(lines.size(), false);
            return lines;
        };
        std::vector<bool> added;
        const Lines mineLines = version(hm, m0, im, m, &added), theirLines = version(ht, t0, it, t, nullptr);
        if (t0 == it) {
            out.Lines(mineLines, 0, mineLines.size());
        } else {
            // Designed lines win; the user's version of them follows in a kept block when it holds
            // lines of the user's own.
            std::size_t head = 0, tail = 0;
            while (head < mineLines.size() && head < theirLines.size() && mineLines[head] == theirLines[head])
                ++head;
            while (tail + head < mineLines.size() && tail + head < theirLines.size() &&
                   mineLines[mineLines.size() - 1 - tail] == theirLines[theirLines.size() - 1 - tail])
                ++tail;
            out.Lines(theirLines, 0, theirLines.size() - tail);
            const auto userLines =
                static_cast<std::size_t>(std::count(added.begin() + static_cast<std::ptrdiff_t>(head),
                                                    added.end() - static_cast<std::ptrdiff_t>(tail), true));
            if (userLines > 0)
                out.KeptBlock(Lines(mineLines.begin() + static_cast<std::ptrdiff_t>(head),
                                    mineLines.end() - static_cast<std::ptrdiff_t>(tail)),
                              userLines, false, result.unplaced);
            out.Lines(theirLines, theirLines.size() - tail, theirLines.size());
        }
        at = end;
    }
    out.Lines(b, at, b.size());
    result.text = std::move(out).Text();
    return result;
}

bool HoldsKeptBlock(std::string_view text) {
    for (std::size_t at = text.find(kBlockStart); at != std::string_view::npos;
         at = text.find(kBlockStart, at + 1))
        if (at == 0 || text[at - 1] == '\n')
            return true;
    return false;
}

} // namespace tav
