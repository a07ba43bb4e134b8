#include "LineReader.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tav {

namespace {

constexpr std::size_t kBlockSize = 1 << 16;

// Bit i tells whether bytes[i] is a line feed, for the first `size` (at most 64) bytes. Lines are a
// few characters long: finding their ends 64 bytes at a time spares a mispredicted branch per line.
std::uint64_t LineFeeds(const char* bytes, std::size_t size) {
    char padded[64] = {};
    if (size < 64)
        bytes = static_cast<const char*>(std::memcpy(padded, bytes, size));
    std::uint64_t feeds = 0;
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8('\n');
    for (int i = 0; i < 4; ++i) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
        const auto found = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lineFeed)));
        feeds |= std::uint64_t{found} << (16 * i);
    }
#else
    for (int i = 0; i < 64; ++i)
        feeds |= std::uint64_t{bytes[i] == '\n'} << i;
#endif
    return feeds;
}

} // namespace

LineReader::LineReader(std::string_view text) : data_(text.data()), end_(text.size()) {}

LineReader::LineReader(int fd, std::uint64_t maxBytes)
    : storage_(kBlockSize), data_(storage_.data()), fd_(fd), maxBytes_(maxBytes) {}

std::string LineReader::TooLarge(std::uint64_t maxBytes) {
    return "the file is larger than " + std::to_string(maxBytes >> 20) +
           " MiB, the most a project file may hold";
}

bool LineReader::Scan() {
    if (scanned_ == end_ && !Refill())
        return false;
    const std::size_t size = std::min<std::size_t>(64, end_ - scanned_);
    feedsAt_ = scanned_;
    feeds_ = LineFeeds(data_ + scanned_, size);
    scanned_ += size;
    return true;
}

bool LineReader::TakeLast(std::string_view& line) {
    if (begin_ == end_ || !failure_.empty())
        return false;
    Take(end_, line); // a last line without a line end
    return true;
}

bool LineReader::Refill() {
    if (fd_ < 0)
        return false;
    // Keep the unfinished line at the front; grow only when it fills the whole storage.
    const std::size_t pending = end_ - begin_;
    std::memmove(storage_.data(), storage_.data() + begin_, pending);
    scanned_ -= begin_;
    begin_ = 0;
    end_ = pending;
    if (pending == storage_.size()) {
        if (pending >= kMaxLineLength) {
            failure_ = "line " + std::to_string(lineNumber_ + 1) + " is longer than 64 MiB";
            return false;
        }
        storage_.resize(storage_.size() * 2);
    }
    data_ = storage_.data();
    for (;;) {
        const ssize_t got = ::read(fd_, storage_.data() + end_, storage_.size() - end_);
        if (got > 0) {
            end_ += static_cast<std::size_t>(got);
            readBytes_ += static_cast<std::uint64_t>(got);
            if (readBytes_ <= maxBytes_)
                return true;
            failure_ = TooLarge(maxBytes_);
            fd_ = -1;
            return false;
        }
        if (got == 0) {
            fd_ = -1;
            return false;
        }
        if (errno != EINTR) {
            failure_ = std::strerror(errno);
            fd_ = -1;
            return false;
        }
    }
}

} // namespace tav
