#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace tav {

// A descriptor being written from the start, block after block. With `writeback`, every kWriteback
// bytes written start on their way to the disk, so that a final flush waits for the last part only.
struct FileOutput {
    static constexpr std::size_t kWriteback = std::size_t{1} << 18;

    // 0, or the errno of the failure.
    int Write(const char* bytes, std::size_t size);

    int fd = -1;
    bool writeback = false;
    std::size_t written = 0;
    std::size_t started = 0; // bytes already on their way to the disk
};

// Writes blocks on a thread of its own, so that the caller makes the next block meanwhile. Each block
// is copied; a caller that gets ahead waits for a free buffer. After a failed write later blocks are
// dropped and Finish reports it.
class BlockWriter {
public:
    // Throws std::system_error when no thread can be started.
    explicit BlockWriter(const FileOutput& output);
    // Drops the blocks not yet written.
    ~BlockWriter();
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    void Write(const char* bytes, std::size_t size);
    // Writes what is left and stops: 0, or the errno of the first failed write.
    int Finish();

private:
    static constexpr std::size_t kWaiting = 2;
    enum class State { Running, Finishing, Abandoned };

    void Run();
    void Stop(State state);

    FileOutput m_output;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<char>> m_queue;
    std::vector<std::vector<char>> m_spare;
    State m_state = State::Running;
    int m_failed = 0;
    std::thread m_thread;
};

} // namespace tav
