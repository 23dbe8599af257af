#pragma once

#include <cstdint>

/// Heap allocations made since the program started: every call of the global operator new
/// (replaced in this executable only) and every block Bullet's pooled allocator takes from
/// the heap. The main thread's calls are also counted on their own, since the frame code
/// all runs there.
struct AllocationCount {
    std::uint64_t operatorNew = 0;      ///< all threads
    std::uint64_t mainThreadNew = 0;    ///< the thread that called countAllocations()
    std::uint64_t bullet = 0;           ///< Bullet's blocks from the heap, all threads
};

/// Starts counting, and marks the calling thread as the main thread.
void countAllocations();
AllocationCount allocationsSoFar();
