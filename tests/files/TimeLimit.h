#pragma once

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

namespace vekaton::testing {

// Runs `work` on its own thread and says whether it finished within `limit`. A call that hangs
// in open() or read() on a FIFO in `folder` (what these tests guard against) is freed afterwards
// by opening every FIFO there for reading and writing and closing it again, so that a failing
// test ends instead of hanging the whole test program.
inline bool FinishesWithin(std::chrono::milliseconds limit, const std::filesystem::path& folder,
                           const std::function<void()>& work) {
    std::packaged_task<void()> task(work);
    std::future<void> done = task.get_future();
    std::thread thread(std::move(task));
    const bool inTime = done.wait_for(limit) == std::future_status::ready;
    if (!inTime) {
        const auto previous = std::signal(SIGPIPE, SIG_IGN);
        for (int round = 0; round < 100 && done.wait_for(std::chrono::milliseconds(0)) !=
                                               std::future_status::ready;
             ++round) {
            std::error_code ec;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec)) {
                if (entry.is_fifo(ec)) {
                    const int fd = ::open(entry.path().c_str(), O_RDWR | O_NONBLOCK);
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                    if (fd >= 0) {
                        ::close(fd);
                    }
                }
            }
        }
        std::signal(SIGPIPE, previous);
    }
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) {
        thread.join();
    } else {
        thread.detach();
    }
    return inTime;
}

}  // namespace vekaton::testing
