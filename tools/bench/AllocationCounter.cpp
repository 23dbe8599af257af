// Counting replacements of the global allocation functions. They live in the benchmark
// executable alone, so the game itself runs with the standard ones.
#include "tools/bench/AllocationCounter.h"

#include "game/BulletBlockPool.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::uint64_t> operatorNewCalls{0};
std::atomic<std::uint64_t> mainThreadNewCalls{0};
std::atomic<bool> counting{false};
thread_local bool isMainThread = false;

void noteOperatorNew() {
    if (!counting.load(std::memory_order_relaxed)) return;
    operatorNewCalls.fetch_add(1, std::memory_order_relaxed);
    if (isMainThread) mainThreadNewCalls.fetch_add(1, std::memory_order_relaxed);
}

void* allocate(std::size_t size) {
    noteOperatorNew();
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    noteOperatorNew();
    void* block = nullptr;
    const std::size_t align = std::max(static_cast<std::size_t>(alignment), sizeof(void*));
    if (posix_memalign(&block, align, size ? size : 1) != 0) throw std::bad_alloc();
    return block;
}

}  // namespace

void countAllocations() {
    isMainThread = true;
    counting = true;
}

AllocationCount allocationsSoFar() {
    return {operatorNewCalls.load(), mainThreadNewCalls.load(), BulletBlockPool::blocksFromTheHeap()};
}

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    noteOperatorNew();
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    noteOperatorNew();
    return std::malloc(size ? size : 1);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
