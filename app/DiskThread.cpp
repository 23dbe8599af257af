#include "app/DiskThread.h"

#include <utility>

DiskThread::DiskThread(std::function<void()> diskJob)
    : job(std::move(diskJob)), thread([this] { serve(); }) {}

DiskThread::~DiskThread() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    thread.join();
}

void DiskThread::request() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return !requested && !running; });
    requested = true;
    lock.unlock();
    changed.notify_all();
}

bool DiskThread::idle() {
    std::lock_guard<std::mutex> lock(mutex);
    return !requested && !running;
}

void DiskThread::waitUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return !requested && !running; });
}

// A run requested before the stop still happens: what a decided match leaves is written.
void DiskThread::serve() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return requested || stopping; });
        if (!requested) return;
        requested = false;
        running = true;
        lock.unlock();
        job();
        lock.lock();
        running = false;
        changed.notify_all();
    }
}
