#include "LineReader.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace tav {

namespace {

constexpr std::size_t kBlockSize = 1 << 16;

} // namespace

LineReader::LineReader(std::string_view text) : data_(text.data()), end_(text.size()) {}

LineReader::LineReader(int fd, std::uint64_t maxBytes)
    : storage_(kBlockSize), data_(storage_.data()), fd_(fd), maxBytes_(maxBytes) {}

std::string LineReader::TooLarge(std::uint64_t maxBytes) {
    return "the file is larger than " + std::to_string(maxBytes >> 20) +
           " MiB, the most a project file may hold";
}

bool LineReader::Next(std::string_view& line) {
    std::size_t scanned = 0;
    for (;;) {
        const std::string_view pending(data_ + begin_, end_ - begin_);
        // A plain loop: most lines are a few characters long, shorter than a library call is worth.
        std::size_t newline = scanned;
        while (newline < pending.size() && pending[newline] != '\n')
            ++newline;
        if (newline < pending.size()) {
            line = pending.substr(0, newline);
            begin_ += newline + 1;
            break;
        }
        scanned = pending.size();
        if (!Refill()) {
            if (pending.empty() || !failure_.empty())
                return false;
            line = pending;
            begin_ = end_;
            break;
        }
    }
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    ++lineNumber_;
    return true;
}

bool LineReader::Refill() {
    if (fd_ < 0)
        return false;
    // Keep the unfinished line at the front; grow only when it fills the whole storage.
    const std::size_t pending = end_ - begin_;
    std::memmove(storage_.data(), storage_.data() + begin_, pending);
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
