#include "game/ObjectNames.h"
#include "game/Projectile.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

using B = ButtonPressedNew;

// Where the sensor (a 1-unit cube) just reaches into each wall of the fresh arena.
struct WallTouch {
    std::string_view wall;
    btVector3 sensorPosition;
    bool B::*blocked[2];
    bool B::*movement[2];
};

const WallTouch wallTouches[] = {
    {kDownWallName, {0.0f, -4.2f, 0.0f}, {&B::blockC, &B::blockShift}, {&B::c, &B::shift}},
    {kUpWallName, {0.0f, 9.2f, 0.0f}, {&B::blockSpace, &B::blockSpace}, {&B::space, &B::space}},
    {kLeftWallName, {-14.2f, 2.0f, 0.0f}, {&B::blockA, &B::blockA}, {&B::a, &B::a}},
    {kRightWallName, {14.2f, 2.0f, 0.0f}, {&B::blockD, &B::blockD}, {&B::d, &B::d}},
    {kFrontWallName, {0.0f, 2.0f, -19.2f}, {&B::blockW, &B::blockW}, {&B::w, &B::w}},
    {kBackWallName, {0.0f, 2.0f, 9.2f}, {&B::blockS, &B::blockS}, {&B::s, &B::s}},
};

}  // namespace

TEST(Arena, SensorReachingEachWallBlocksItsDirectionUntilItLeaves) {
    for (const WallTouch& touch : wallTouches) {
        HeadlessGame h;
        GameObject& sensor = *h.player().getGuide();
        holdEveryMovementKey(*h.buttons);
        placeAt(sensor, touch.sensorPosition);
        h.step();
        for (auto flag : touch.blocked) EXPECT_TRUE((*h.buttons).*flag) << touch.wall;
        for (auto flag : touch.movement) EXPECT_FALSE((*h.buttons).*flag) << touch.wall;
        EXPECT_EQ(blockedCount(*h.buttons), touch.wall == kDownWallName ? 2 : 1) << touch.wall;

        placeAt(sensor, {0.0f, 2.0f, 0.0f});
        h.step();
        EXPECT_EQ(blockedCount(*h.buttons), 0) << touch.wall;
    }
}

TEST(Arena, SensorLeavingTheBossClearsForwardBlockingItNeverSet) {
    HeadlessGame h;
    GameObject& sensor = *h.player().getGuide();
    placeAt(sensor, h.boss().position());
    h.step();
    EXPECT_EQ(blockedCount(*h.buttons), 0);

    h.buttons->blockW = true;
    placeAt(sensor, {0.0f, 2.0f, 0.0f});
    h.step();
    EXPECT_FALSE(h.buttons->blockW);
}

TEST(Arena, RenamedWallNoLongerBlocks) {
    HeadlessGame h;
    for (GameObject* object : h.game.objects)
        if (object->getName() == kFrontWallName) object->setName("scenery");
    placeAt(*h.player().getGuide(), {0.0f, 2.0f, -19.2f});
    h.step();
    EXPECT_FALSE(h.buttons->blockW);
}

TEST(Arena, ShotsPassThroughWallsUndeflected) {
    HeadlessGame h;
    Projectile& shot = *h.game.armory.firePrimaryShot({10.0f, 2.0f, -12.0f}, nullptr);
    for (int i = 0; i < 12; ++i) h.step();  // 0.2 s at 80 units/s: well past the front wall
    ASSERT_LT(shot.position().z(), -21.0f);
    EXPECT_NEAR(shot.getRigidBody()->getLinearVelocity().z(), -80.0f, 0.01f);
    EXPECT_NEAR(shot.getRigidBody()->getLinearVelocity().x(), 0.0f, 0.01f);
}
