#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// Hands out the lines of a text or of an open file one at a time, without their CR LF or LF; a
// last line without a line end counts like any other. A file is read in blocks as lines are
// taken, so lines of any length are read whole while memory stays small.
class LineReader {
public:
    static constexpr std::size_t kMaxLineLength = std::size_t{64} << 20;

    explicit LineReader(std::string_view text);
    // The descriptor stays the caller's. Input beyond `maxBytes` ends the read with a failure.
    LineReader(int fd, std::uint64_t maxBytes);

    // The next line, valid until the next call; false at the end of the input or on an error.
    bool Next(std::string_view& line) {
        while (feeds_ == 0)
            if (!Scan())
                return TakeLast(line);
        const std::size_t newline = feedsAt_ + static_cast<std::size_t>(std::countr_zero(feeds_));
        feeds_ &= feeds_ - 1;
        Take(newline, line);
        begin_ = newline + 1;
        return true;
    }
    int lineNumber() const { return lineNumber_; }
    // Why the input ended early: empty at a plain end, else a read error, an overlong line or input.
    const std::string& failure() const { return failure_; }
    // The failure of an input larger than `maxBytes`.
    static std::string TooLarge(std::uint64_t maxBytes);

private:
    bool Refill();
    // Finds the line feeds of the next bytes, reading more when all are searched; false at the end.
    bool Scan();
    // At the end of the input: the last line when it has no line end.
    bool TakeLast(std::string_view& line);
    // Hands out the pending line up to `lineEnd` (a line feed, or the end of the input).
    void Take(std::size_t lineEnd, std::string_view& line) {
        line = std::string_view(data_ + begin_, lineEnd - begin_);
        begin_ = lineEnd;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber_;
    }

    std::vector<char> storage_;
    const char* data_ = nullptr;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::size_t scanned_ = 0; // searched for line feeds up to here
    std::uint64_t feeds_ = 0; // the line feeds not handed out yet, bit 0 at feedsAt_
    std::size_t feedsAt_ = 0;
    int fd_ = -1;
    std::uint64_t maxBytes_ = 0;
    std::uint64_t readBytes_ = 0;
    int lineNumber_ = 0;
    std::string failure_;
};

} // namespace tav
