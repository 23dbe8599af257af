#include "game/BulletBlockPool.h"

#include <LinearMath/btAlignedAllocator.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <mutex>

namespace BulletBlockPool {
namespace {

constexpr std::size_t kSizeStep = 64;
constexpr std::size_t kSizeClasses = kLargestPooled / kSizeStep;
constexpr std::size_t kUnpooled = 0;

// Before every block; a multiple of 16 bytes, so the block keeps malloc's alignment.
struct alignas(16) Header {
    std::size_t sizeClass;  ///< 1 to kSizeClasses, or kUnpooled
};

// A free block holds the link to the next free block of its size.
struct FreeBlock {
    FreeBlock* next;
};

std::mutex mutex;
std::array<FreeBlock*, kSizeClasses + 1> freeBlocks{};
std::atomic<std::uint64_t> heapBlocks{0};

std::size_t sizeClassOf(std::size_t size) {
    const std::size_t sizeClass = (size + kSizeStep - 1) / kSizeStep;
    return sizeClass >= 1 && sizeClass <= kSizeClasses ? sizeClass : kUnpooled;
}

void* blockAfter(Header* header) { return header + 1; }
Header* headerBefore(void* block) { return static_cast<Header*>(block) - 1; }

void* fromHeap(std::size_t size, std::size_t sizeClass) {
    heapBlocks.fetch_add(1, std::memory_order_relaxed);
    const std::size_t bytes = sizeClass == kUnpooled ? size : sizeClass * kSizeStep;
    auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + bytes));
    if (!header) return nullptr;
    header->sizeClass = sizeClass;
    return blockAfter(header);
}

void* allocate(std::size_t size) {
    const std::size_t sizeClass = sizeClassOf(size);
    if (sizeClass != kUnpooled) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (FreeBlock* block = freeBlocks[sizeClass]) {
            freeBlocks[sizeClass] = block->next;
            return block;
        }
    }
    return fromHeap(size, sizeClass);
}

void release(void* block) {
    if (!block) return;
    Header* header = headerBefore(block);
    if (header->sizeClass == kUnpooled) {
        std::free(header);
        return;
    }
    const std::lock_guard<std::mutex> lock(mutex);
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = freeBlocks[header->sizeClass];
    freeBlocks[header->sizeClass] = freed;
}

}  // namespace

void install() { btAlignedAllocSetCustom(allocate, release); }

std::uint64_t blocksFromTheHeap() { return heapBlocks.load(std::memory_order_relaxed); }

}  // namespace BulletBlockPool
