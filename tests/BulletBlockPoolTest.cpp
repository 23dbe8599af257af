#include "game/BulletBlockPool.h"

#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

// Once a match has grown the pools, the next ones take no block from the heap for Bullet:
// not for their worlds, their shots, the crash pits nor the restarts.
TEST(BulletBlockPool, MatchesAfterTheFirstTakeNoBlockFromTheHeap) {
    BulletBlockPool::install();
    HeadlessGame h;
    const float matchStart = h.time;
    const auto playAMatch = [&] {
        h.buttons->mouseLeft = true;
        h.frames(900);
        h.player().addHealth(-100);
        h.frames(120);
        h.game.restartMatch(h.emptyModel, h.emptyModel, 7u);
        h.time = matchStart;
    };
    playAMatch();
    playAMatch();
    const std::uint64_t afterTwo = BulletBlockPool::blocksFromTheHeap();
    EXPECT_GT(afterTwo, 0u);
    playAMatch();
    playAMatch();
    EXPECT_EQ(BulletBlockPool::blocksFromTheHeap(), afterTwo);
}
