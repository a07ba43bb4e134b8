#include "BlockWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace tav {

int FileOutput::Write(const char* bytes, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t count = ::write(fd, bytes + done, size - done);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(count);
    }
    written += size;
    if (writeback && written - started >= kWriteback) {
        ::sync_file_range(fd, static_cast<off_t>(started), static_cast<off_t>(written - started),
                          SYNC_FILE_RANGE_WRITE);
        started = written;
    }
    return 0;
}

BlockWriter::BlockWriter(const FileOutput& output) : m_output(output), m_thread([this] { Run(); }) {}

BlockWriter::~BlockWriter() {
    Stop(State::Abandoned);
}

void BlockWriter::Write(const char* bytes, std::size_t size) {
    std::vector<char> block;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_queue.size() < kWaiting || m_failed != 0; });
        if (m_failed != 0)
            return;
        if (!m_spare.empty()) {
            block = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    block.assign(bytes, bytes + size);
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(block));
    }
    m_changed.notify_all();
}

int BlockWriter::Finish() {
    Stop(State::Finishing);
    return m_failed;
}

void BlockWriter::Stop(State state) {
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_state = state;
    }
    m_changed.notify_all();
    m_thread.join();
}

void BlockWriter::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_state != State::Running; });
        if (m_queue.empty() || m_state == State::Abandoned)
            return;
        std::vector<char> block = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        const int failed = m_output.Write(block.data(), block.size());
        lock.lock();
        if (failed != 0 && m_failed == 0) {
            m_failed = failed;
            m_queue.clear();
        }
        m_spare.push_back(std::move(block));
        m_changed.notify_all();
    }
}

} // namespace tav
