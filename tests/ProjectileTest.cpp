#include "game/ObjectNames.h"
#include "game/Projectile.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Far from the boss and the walls, so nothing touches the shots.
const btVector3 kOpenSky(200.0f, 200.0f, 0.0f);

float speedOf(const Projectile& shot) { return shot.getRigidBody()->getLinearVelocity().length(); }

}  // namespace

TEST(Projectiles, LaunchSpeedsOfTheFourKinds) {
    HeadlessGame h;
    Armory& armory = h.game.armory;
    const Projectile& primary = *armory.firePrimaryShot(kOpenSky, nullptr);
    const Projectile& heavy = *armory.fireHeavyShot(kOpenSky + btVector3(20, 0, 0), 7, nullptr);
    const Projectile& bossShot =
        *armory.fireBossShot(kOpenSky + btVector3(40, 0, 0), {1.0f, 2.0f, 3.0f}, 0.05f, nullptr);
    const Projectile& missile =
        *armory.launchMissile(kOpenSky + btVector3(60, 0, 0), {2.0f, 4.0f, -28.0f}, nullptr);

    EXPECT_NEAR(speedOf(primary), 80.0f, 1e-3f);
    EXPECT_NEAR(speedOf(heavy), 60.0f, 1e-3f);
    EXPECT_NEAR(speedOf(bossShot), 20.0f, 1e-3f);
    EXPECT_NEAR(speedOf(missile), 28.4f, 0.1f);
    EXPECT_LT(primary.getRigidBody()->getLinearVelocity().z(), 0.0f);
    EXPECT_LT(heavy.getRigidBody()->getLinearVelocity().z(), 0.0f);
    // Torque impulse 100000 on a solid sphere of mass 1000 and radius 4 (inertia 6400).
    EXPECT_NEAR(heavy.getRigidBody()->getAngularVelocity().z(), 15.625f, 1e-2f);
}

TEST(Projectiles, ResetHealthRestoresHitsToDamage) {
    HeadlessGame h;
    Projectile& shot = *h.game.armory.fireBossShot(kOpenSky, {0, 0, 1}, 0.05f, nullptr);
    shot.addHealth(-2);
    EXPECT_EQ(shot.getHealth(), 0);
    shot.resetHealth();
    EXPECT_EQ(shot.getHealth(), 2);
}

TEST(Projectiles, ExpireAfterThreeSecondsAndTheHeavyShotAfterHalfASecond) {
    HeadlessGame h;
    h.game.armory.firePrimaryShot(kOpenSky, nullptr);
    h.game.armory.fireHeavyShot(kOpenSky + btVector3(50, 0, 0), 7, nullptr);
    const float launched = h.time;

    h.time = launched + 0.49f;
    h.game.step(ControlFrame{});
    EXPECT_EQ(h.game.projectiles.size(), 2u);
    h.time = launched + 0.51f;
    h.game.step(ControlFrame{});
    ASSERT_EQ(h.game.projectiles.size(), 1u);
    EXPECT_EQ(h.game.projectiles[0]->getName(), kPrimaryShotName);

    h.time = launched + 2.99f;
    h.game.step(ControlFrame{});
    EXPECT_EQ(h.game.projectiles.size(), 1u);
    h.time = launched + 3.01f;
    h.game.step(ControlFrame{});
    EXPECT_TRUE(h.game.projectiles.empty());
    EXPECT_EQ(h.game.world->getNumCollisionObjects(), 10);  // the match without shots
}

TEST(Projectiles, SeveralExpiringInOneFrameAllGo) {
    HeadlessGame h;
    for (int i = 0; i < 4; ++i)
        h.game.armory.firePrimaryShot(kOpenSky + btVector3(10.0f * i, 0, 0), nullptr);
    h.time += 3.5f;
    h.game.step(ControlFrame{});
    EXPECT_TRUE(h.game.projectiles.empty());
}

TEST(Projectiles, DoNotDriftWithTheScene) {
    HeadlessGame h;
    h.game.gameActive = false;  // no player or boss activity, only expiry and drift
    Projectile& shot = *h.game.armory.fireBossShot(kOpenSky, {0, 0, 1}, 0.05f, nullptr);
    shot.getRigidBody()->setLinearVelocity(btVector3(0, 0, 0));
    const float zBefore = shot.position().z();
    for (int i = 0; i < 30; ++i) h.game.step(ControlFrame{});
    EXPECT_FLOAT_EQ(shot.position().z(), zBefore);
    EXPECT_FLOAT_EQ(h.player().position().z(), -15.0f);  // 30 units/s for half a second
}

// The reach the reticle shows against real heavy shots: the craft flies forward and to the
// side for so many frames, then fires; the boss is hit exactly where the rule said it would be.
TEST(Projectiles, HeavyShotHitsTheBossExactlyWhereItsReachSaysSo) {
    struct Case { int forwardFrames; int sidewaysFrames; bool reaches; };
    const Case cases[] = {
        {0, 0, false},    // from the start, 30 units away, it never does
        {14, 0, false},   // 27.8 away
        {34, 0, true},    // 22.9 away
        {40, 18, true},   // 21.1 away, 3.8 to the side
        {40, 30, false},  // 7.3 to the side: it passes by
    };
    for (const Case& c : cases) {
        HeadlessGame h;
        h.game.bossBehaviour.random = repeating({0});
        h.frames(10);
        h.buttons->w = true;
        h.frames(c.forwardFrames);
        h.buttons->w = false;
        h.buttons->a = true;
        h.frames(c.sidewaysFrames);
        h.buttons->a = false;
        EXPECT_EQ(h.game.heavyShotReachesBoss(), c.reaches) << c.forwardFrames << ", " << c.sidewaysFrames;
        const int health = h.boss().getHealth();
        h.buttons->mouseRight = true;
        h.frames(40);
        EXPECT_EQ(h.boss().getHealth() < health, c.reaches) << c.forwardFrames << ", " << c.sidewaysFrames;
    }
}
