#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

/// One job, run on request on a thread of its own: the disk work that the frame which
/// asks for it must not wait on. The job is given once, at construction, so a request
/// takes nothing but an uncontended lock. A request while the job runs waits for that run
/// to end first; destruction finishes a run requested and then joins.
class DiskThread {
public:
    explicit DiskThread(std::function<void()> diskJob);
    ~DiskThread();
    DiskThread(const DiskThread&) = delete;
    DiskThread& operator=(const DiskThread&) = delete;

    /// Starts a run of the job and returns at once.
    void request();
    /// No run is waiting or under way. Whatever the last run wrote may then be read.
    bool idle();
    /// Returns once no run is waiting or under way.
    void waitUntilIdle();

private:
    void serve();

    std::function<void()> job;
    std::mutex mutex;
    std::condition_variable changed;
    bool requested = false;
    bool running = false;
    bool stopping = false;
    // Last: the thread starts once everything it reads is there.
    std::thread thread;
};
