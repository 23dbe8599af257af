#pragma once

#include <cstdint>

/// Bullet's allocator, pooled. Bullet takes a block for every body, shape, motion state and
/// broadphase node it builds, and a shot builds all of them: the blocks it frees, up to
/// kLargestPooled bytes, are kept in lists by size and given out again instead of going
/// back to the heap, so steady fire and every match after the first take their blocks
/// from those the game already holds. Larger blocks (the world's pools and arrays) come
/// from malloc and go back to it.
///
/// install() must come before Bullet allocates anything, since a block has to go back to
/// the allocator that gave it; it is never undone. Safe from any thread.
namespace BulletBlockPool {

inline constexpr std::uint32_t kLargestPooled = 4096;  ///< bytes, as Bullet asks for them

void install();
/// Blocks taken from malloc since install(): the first of each pooled size and every
/// larger one.
std::uint64_t blocksFromTheHeap();

}  // namespace BulletBlockPool
