#include "game/ObjectNames.h"
#include "game/Projectile.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr float kDt = HeadlessGame::kFrame;

// The boss's helpers driven directly, with the clock and the random draws under the
// test's control. Nothing is stepped unless a test says so.
class Boss : public ::testing::Test {
protected:
    // Without the game's step nothing drifts, so the physics must not expect it to.
    Boss() {
        h.game.scrollSpeed = 0.0f;
    }

    void setHealth(int health) { h.boss().addHealth(health - h.boss().getHealth()); }
    int phaseChosenAt(int health, int draw) {
        setHealth(health);
        mind.random = repeating({draw});
        mind.chooseAttack = true;
        mind.updateBoss(h.boss(), &h.player());
        return mind.attackPhase;
    }
    void placeBossAndGuide(float x) {
        placeAt(h.boss(), {x, 0.0f, -30.0f});
        placeAt(*h.boss().getGuide(), {x, 0.0f, -30.0f});
    }
    // The boss alone, steering its missiles, then the physics, in the order of a step.
    void bossFrame() {
        mind.updateBoss(h.boss(), &h.player());
        mind.steerMissiles(h.player());
        h.step();
    }
    float guideX() { return h.boss().getGuide()->position().x(); }
    float bossX() { return h.boss().position().x(); }
    int missileCount() const {
        int count = 0;
        for (const Projectile* p : h.game.projectiles) count += p->getName() == kBossShotName;
        return count;
    }

    HeadlessGame h;
    BossBehaviour& mind = h.game.bossBehaviour;
};

// A draw of 8192 leaves the health-based phase alone (k = 2).
constexpr int kNoOverride = 8192;

}  // namespace

TEST_F(Boss, PhaseFollowsTheHealthRatio) {
    EXPECT_EQ(phaseChosenAt(150, kNoOverride), 1);
    EXPECT_EQ(phaseChosenAt(120, kNoOverride), 2);  // 0.8 is not above 0.8
    EXPECT_EQ(phaseChosenAt(100, kNoOverride), 3);
    EXPECT_EQ(phaseChosenAt(70, kNoOverride), 4);
    EXPECT_EQ(phaseChosenAt(45, kNoOverride), 5);
    EXPECT_EQ(phaseChosenAt(20, kNoOverride), 6);
    EXPECT_EQ(phaseChosenAt(-3, kNoOverride), 6);
}

TEST_F(Boss, ChanceTurnsAnyPhaseIntoASweepOrABarrage) {
    EXPECT_EQ(phaseChosenAt(150, 0), 8);      // k = 1
    EXPECT_EQ(phaseChosenAt(150, 24575), 7);  // k = 4
    EXPECT_EQ(phaseChosenAt(20, 32767), 8);   // k = 5
    EXPECT_EQ(phaseChosenAt(20, 16384), 6);   // k = 3
}

TEST_F(Boss, AtFullHealthHalfTheAttacksArePhaseOneAndAQuarterEachSevenAndEight) {
    std::srand(20240611u);  // the default draws come from the C generator
    int counts[9] = {};
    constexpr int kChoices = 4000;
    for (int i = 0; i < kChoices; ++i) {
        mind.chooseAttack = true;
        mind.updateBoss(h.boss(), &h.player());
        ++counts[mind.attackPhase];
    }
    EXPECT_NEAR(counts[1] / double(kChoices), 0.50, 0.03);
    EXPECT_NEAR(counts[7] / double(kChoices), 0.25, 0.03);
    EXPECT_NEAR(counts[8] / double(kChoices), 0.25, 0.03);
}

TEST_F(Boss, PatternPhasesDrawOneOfFourPatterns) {
    EXPECT_EQ(phaseChosenAt(45, kNoOverride), 5);
    EXPECT_EQ(mind.attackPattern, 2);  // round(8192 / 10922.333 + 1)
    mind.random = repeating({16384, 0});
    mind.chooseAttack = true;
    mind.updateBoss(h.boss(), &h.player());
    EXPECT_EQ(mind.attackPattern, 1);
}

TEST_F(Boss, RandomSideTargetJumpsFiveToFifteenUnitsTowardTheOtherSide) {
    placeBossAndGuide(0.0f);
    placeAt(h.boss(), {2.0f, 0.0f, -30.0f});
    mind.random = repeating({kNoOverride, 0});  // phase 1, then the smallest jump
    mind.chooseAttack = true;
    mind.updateBoss(h.boss(), &h.player());
    EXPECT_FLOAT_EQ(mind.targetX, 2.0f - 5.0f);

    placeAt(h.boss(), {-1.0f, 0.0f, -30.0f});
    mind.random = repeating({kNoOverride, 32767});
    mind.chooseAttack = true;
    mind.updateBoss(h.boss(), &h.player());
    EXPECT_NEAR(mind.targetX, -1.0f + 15.0f, 1e-3f);
}

TEST_F(Boss, MoveBossToArrivesOnlyWithTheGuideThereAndTheBossWithinATenth) {
    placeBossAndGuide(5.0f);
    placeAt(h.boss(), {4.0f, 0.0f, -30.0f});
    EXPECT_FALSE(mind.moveBossTo(h.boss(), 5.0f, 10.0f, 0.15f));  // boss lags by 1
    EXPECT_FLOAT_EQ(guideX(), 5.0f);
    EXPECT_NEAR(bossX(), 4.0f + 1.0f * 0.15f * kDt * 10.0f, 1e-5f);

    placeAt(h.boss(), {4.95f, 0.0f, -30.0f});
    EXPECT_TRUE(mind.moveBossTo(h.boss(), 5.0f, 10.0f, 0.15f));

    placeBossAndGuide(3.0f);  // boss on its guide, but the guide is 2 short
    EXPECT_FALSE(mind.moveBossTo(h.boss(), 5.0f, 10.0f, 0.15f));
    EXPECT_NEAR(guideX(), 3.0f + 10.0f * kDt, 1e-5f);
}

TEST_F(Boss, MoveBossToEventuallyArrivesAtTheTarget) {
    placeBossAndGuide(0.0f);
    int frames = 0;
    while (!mind.moveBossTo(h.boss(), -8.0f, 12.0f, 0.15f)) ASSERT_LT(++frames, 2000);
    EXPECT_LE(std::fabs(guideX() + 8.0f), 12.0f * kDt);
    EXPECT_LE(std::fabs(guideX() - bossX()), 0.1f + 1e-4f);
}

TEST_F(Boss, ChasePlayerStepsTheGuideWholeStepsForItsDuration) {
    placeBossAndGuide(0.0f);
    placeAt(h.player(), {0.05f, 0.0f, 0.0f});
    mind.chooseAttack = true;  // the chase starts now
    EXPECT_FALSE(mind.chasePlayer(h.boss(), h.player(), 0.2f, 1.0f, 17.0f));
    EXPECT_NEAR(guideX(), 17.0f * kDt, 1e-5f);  // a whole step, past the player
    mind.chooseAttack = false;

    h.time += 0.5f;
    EXPECT_FALSE(mind.chasePlayer(h.boss(), h.player(), 0.2f, 1.0f, 17.0f));
    EXPECT_NEAR(guideX(), 0.0f, 1e-5f);  // a step back toward the player

    h.time += 0.6f;  // the duration is over: the guide stays
    placeBossAndGuide(3.0f);
    EXPECT_TRUE(mind.chasePlayer(h.boss(), h.player(), 0.2f, 1.0f, 17.0f));
    EXPECT_FLOAT_EQ(guideX(), 3.0f);
}

TEST_F(Boss, ChasePlayerCountsAGuideLeftOfTheBossAsCaught) {
    placeBossAndGuide(0.0f);
    placeAt(*h.boss().getGuide(), {-5.0f, 0.0f, -30.0f});
    mind.chooseAttack = true;
    mind.chasePlayer(h.boss(), h.player(), 0.2f, 1.0f, 17.0f);
    mind.chooseAttack = false;
    h.time += 1.5f;
    EXPECT_TRUE(mind.chasePlayer(h.boss(), h.player(), 0.2f, 1.0f, 17.0f));

    placeAt(*h.boss().getGuide(), {5.0f, 0.0f, -30.0f});
    EXPECT_FALSE(mind.chasePlayer(h.boss(), h.player(), 0.2f, 1.0f, 17.0f));
}

namespace {

btVector3 directionOfOnlyShot(const Game& game) {
    EXPECT_EQ(game.projectiles.size(), 1u);
    return game.projectiles.back()->getRigidBody()->getLinearVelocity().normalized();
}

void expectParallel(const btVector3& actual, const btVector3& aim) {
    EXPECT_NEAR(actual.dot(aim.normalized()), 1.0f, 1e-5f)
        << actual.x() << " " << actual.y() << " " << actual.z();
}

}  // namespace

TEST_F(Boss, ShotSpreadReachesItsBoundsForTheAccuracy) {
    placeBossAndGuide(0.0f);  // boss at (0, 0, -30), even ammo: the gun at x + 4
    struct Case {
        float accuracy;
        int draw;
        btVector3 aim;  // from the spawn point (4, 2, -24) toward the player at the origin
    };
    const Case cases[] = {
        {0.8f, 0, {-4.0f - 2.0f, -2.0f - 3.0f, 14.0f}},
        {0.8f, 32767, {-4.0f + 2.0f, -2.0f + 3.0f, 14.0f}},
        {0.1f, 0, {-4.0f - 9.0f, -2.0f - 13.5f, 14.0f}},
        {0.1f, 32767, {-4.0f + 9.0f, -2.0f + 13.5f, 14.0f}},
    };
    for (const Case& c : cases) {
        h.game.projectiles.clear();
        h.boss().resetAmmo();
        mind.random = repeating({c.draw});
        mind.fireAccumulator = 1.0f;
        mind.fireBossShot(h.boss(), h.player(), c.accuracy, 4.0f);
        expectParallel(directionOfOnlyShot(h.game), c.aim);
    }
}

TEST_F(Boss, VerticalSpreadIsDrawnBeforeLateral) {
    placeBossAndGuide(0.0f);
    mind.random = repeating({0, 32767});
    mind.fireAccumulator = 1.0f;
    mind.fireBossShot(h.boss(), h.player(), 0.8f, 4.0f);
    expectParallel(directionOfOnlyShot(h.game), {-4.0f + 2.0f, -2.0f - 3.0f, 14.0f});
}

TEST_F(Boss, ShotsAlternateGunsAndTheCounterRefillsAtZero) {
    placeBossAndGuide(0.0f);
    mind.random = repeating({16384});
    for (int i = 0; i < 2; ++i) {
        mind.fireAccumulator = 1.0f;
        mind.fireBossShot(h.boss(), h.player(), 0.8f, 4.0f);
    }
    ASSERT_EQ(h.game.projectiles.size(), 2u);
    EXPECT_NEAR(h.game.projectiles[0]->position().x(), 4.0f, 1e-5f);
    EXPECT_NEAR(h.game.projectiles[1]->position().x(), -4.0f, 1e-5f);
    EXPECT_EQ(h.boss().getAmmo(), 98);

    h.boss().addAmmo(-97);
    mind.fireAccumulator = 1.0f;
    mind.fireBossShot(h.boss(), h.player(), 0.8f, 4.0f);
    EXPECT_EQ(h.boss().getAmmo(), 100);
}

TEST_F(Boss, ShotsWaitForTheRateToAddUpToOne) {
    placeBossAndGuide(0.0f);
    mind.random = repeating({16384});
    for (int i = 0; i < 9; ++i) mind.fireBossShot(h.boss(), h.player(), 0.8f, 6.0f);
    EXPECT_TRUE(h.game.projectiles.empty());
    mind.fireBossShot(h.boss(), h.player(), 0.8f, 6.0f);  // 10 x 6 / 60 = 1
    EXPECT_EQ(h.game.projectiles.size(), 1u);
    EXPECT_FLOAT_EQ(mind.fireAccumulator, 0.0f);
}

TEST_F(Boss, MissilesLeaveFromFourSlotsByTheAmmoCounter) {
    placeBossAndGuide(0.0f);
    const btVector3 expected[] = {{-5, 3, -32}, {5, 3, -32}, {-5, 3, -32}, {5, 3, -32}};
    const btVector3 impulses[] = {{-2, 4, -28}, {2, 4, -28}, {-2, -4, -28}, {2, -4, -28}};
    for (int ammo = 0; ammo < 4; ++ammo) {
        h.game.projectiles.clear();
        h.boss().addAmmo(ammo - h.boss().getAmmo());
        mind.fireAccumulator = 1.0f;
        ASSERT_TRUE(mind.launchMissile(h.boss(), 1.5f));
        const Projectile& missile = *h.game.projectiles.back();
        EXPECT_TRUE(missile.position().distance(expected[ammo]) < 1e-4f) << ammo;
        EXPECT_TRUE(missile.getRigidBody()->getLinearVelocity().distance(impulses[ammo]) < 1e-4f);
    }
}

TEST_F(Boss, LaunchWaitsForTheRateAndRefillsAnEmptyCounter) {
    placeBossAndGuide(0.0f);
    h.boss().addAmmo(-100);
    EXPECT_FALSE(mind.launchMissile(h.boss(), 1.5f));
    EXPECT_EQ(h.boss().getAmmo(), 100);
    EXPECT_TRUE(mind.homingMissiles.empty());
}

TEST_F(Boss, BarrageLaunchesWhileTheCounterIsAtMostTheLimitThenEndsWhenNoneIsHoming) {
    placeBossAndGuide(3.0f);       // the barrage first goes to the centre
    mind.random = repeating({0});  // always phase 8
    int mostLaunched = 0;
    int frames = 0;
    do {
        bossFrame();
        mostLaunched = std::max(mostLaunched, mind.missilesLaunched);
        ASSERT_LT(++frames, 60 * 30);
    } while (!mind.chooseAttack);
    // Full health: D = 4 s at 1.5 missiles/s gives L = 6; a launch is still allowed at 6.
    EXPECT_EQ(mostLaunched, 7);
    EXPECT_EQ(missileCount(), 7);
    EXPECT_EQ(mind.missilesLaunched, 0);
    EXPECT_TRUE(mind.homingMissiles.empty());
}

TEST_F(Boss, BarrageDoesNotEndWhileAMissileIsStillHoming) {
    placeBossAndGuide(3.0f);
    placeAt(h.player(), {0.0f, 20.0f, 0.0f});  // far above: missiles keep turning upward
    mind.random = repeating({0});
    float lastLaunch = 0.0f;
    int frames = 0;
    do {
        const std::size_t before = h.game.projectiles.size();
        bossFrame();
        if (h.game.projectiles.size() > before) lastLaunch = h.time;
        ASSERT_LT(++frames, 60 * 30);
    } while (!mind.chooseAttack);
    EXPECT_GT(h.time - lastLaunch, 3.0f);  // only once the last one was too old to steer
}

TEST_F(Boss, SteeredMissileFliesAndPointsTowardThePlayer) {
    Projectile& missile = *h.game.armory.launchMissile({0.0f, -10.0f, -30.0f}, {0, 0, 0}, nullptr);
    EXPECT_FALSE(mind.steerMissile(missile, h.player()));  // still climbing toward the player

    const btVector3 n = btVector3(0.0f, 10.0f, 30.0f).normalized();
    // k = (60 - 30) x 0.45, applied twice to a unit mass
    const btVector3 velocity = missile.getRigidBody()->getLinearVelocity();
    EXPECT_NEAR(velocity.length(), 27.0f, 1e-3f);
    EXPECT_NEAR(velocity.normalized().dot(n), 1.0f, 1e-5f);
    const btVector3 nose =
        missile.getRigidBody()->getWorldTransform().getBasis() * btVector3(0, 1, 0);
    EXPECT_NEAR(nose.dot(n), 1.0f, 1e-5f);
}

TEST_F(Boss, MissileStopsHomingWhenLevelOldOrSpent) {
    Armory& armory = h.game.armory;
    Projectile& level = *armory.launchMissile({0.0f, 0.5f, -30.0f}, {0, 0, 0}, nullptr);
    EXPECT_TRUE(mind.steerMissile(level, h.player()));

    Projectile& old = *armory.launchMissile({0.0f, -10.0f, -30.0f}, {0, 0, 0}, nullptr);
    old.spawnTime -= 3.1f;
    EXPECT_TRUE(mind.steerMissile(old, h.player()));

    Projectile& spent = *armory.launchMissile({0.0f, -10.0f, -30.0f}, {0, 0, 0}, nullptr);
    spent.spent = true;
    EXPECT_TRUE(mind.steerMissile(spent, h.player()));
}

TEST_F(Boss, MissileFlyingExactlyAlongMinusZKeepsItsRotation) {
    Projectile& missile = *h.game.armory.launchMissile({0.0f, 0.0f, 30.0f}, {0, 0, 0}, nullptr);
    const btQuaternion before = missile.getRigidBody()->getWorldTransform().getRotation();
    mind.steerMissile(missile, h.player());
    const btTransform after = missile.getRigidBody()->getWorldTransform();
    EXPECT_NEAR(after.getRotation().dot(before), 1.0f, 1e-5f);
    EXPECT_FALSE(std::isnan(after.getBasis()[0][0]));
    EXPECT_NEAR(missile.getRigidBody()->getLinearVelocity().z(), -2.0f * 40.5f, 1e-3f);
}

TEST_F(Boss, MissileOnTopOfThePlayerStopsHomingWithoutLosingItsPose) {
    Projectile& missile = *h.game.armory.launchMissile({0.0f, 0.0f, 0.0f}, {0, 0, -28}, nullptr);
    EXPECT_TRUE(mind.steerMissile(missile, h.player()));
    EXPECT_FALSE(std::isnan(missile.getRigidBody()->getLinearVelocity().z()));
}

TEST_F(Boss, ShieldGoesUpAndDownWithTheWishAndSitsTwoUnitsTowardThePlayer) {
    Enemy& boss = h.boss();
    boss.shieldWanted = true;
    mind.updateBoss(boss, nullptr);
    EXPECT_TRUE(h.isRegistered(&h.shield()));
    EXPECT_TRUE(h.shield().getRigidBody()->isInWorld());
    EXPECT_TRUE(h.shield().position().distance(boss.position() + btVector3(0, 0, 2)) < 1e-5f);

    boss.shieldWanted = false;
    mind.updateBoss(boss, nullptr);
    EXPECT_FALSE(h.isRegistered(&h.shield()));
    EXPECT_FALSE(h.shield().getRigidBody()->isInWorld());
}

TEST_F(Boss, FallenShieldStaysAwayForTwentySeconds) {
    Enemy& boss = h.boss();
    boss.shieldWanted = true;
    mind.updateBoss(boss, nullptr);
    for (int i = 0; i < 10; ++i) {
        Projectile& shot = *h.game.armory.firePrimaryShot({0, 100, 0}, nullptr);
        h.game.onContactBegin(shot.getRigidBody(), h.shield().getRigidBody());
    }
    ASSERT_FALSE(h.isRegistered(&h.shield()));
    const float fell = h.time;

    h.time = fell + 19.9f;
    mind.updateBoss(boss, nullptr);
    EXPECT_FALSE(h.isRegistered(&h.shield()));
    h.time = fell + 20.1f;
    mind.updateBoss(boss, nullptr);
    EXPECT_TRUE(h.isRegistered(&h.shield()));
}

TEST_F(Boss, TenPrimaryShotsFlyingIntoTheShieldBringItDown) {
    Enemy& boss = h.boss();
    boss.shieldWanted = true;
    // One shot at a time, cleared away before the next, so none can strike twice.
    const auto fireOneAndFly = [&] {
        h.game.armory.firePrimaryShot({0.0f, 0.0f, 0.0f}, nullptr);
        for (int frame = 0; frame < 30; ++frame) {
            mind.updateBoss(boss, nullptr);  // the shield only: no player given
            h.step();
        }
        while (!h.game.projectiles.empty()) h.game.removeObject(h.game.projectiles.back());
    };
    for (int shot = 1; shot <= 9; ++shot) {
        fireOneAndFly();
        EXPECT_EQ(h.shield().getHealth(), 10 - shot);
    }
    EXPECT_TRUE(h.isRegistered(&h.shield()));
    fireOneAndFly();
    EXPECT_FALSE(h.isRegistered(&h.shield()));
    EXPECT_EQ(boss.getHealth(), 150);  // every shot was stopped by the shield
}

namespace {

// A stretch of frames of one attack in which the boss wanted its shield the same way.
struct ShieldStretch {
    bool shieldUp;
    int shots;
    int frames;
};

}  // namespace

// Phases 2 and 3 close in behind the shield and drop it to fire; phase 4 fires while it
// chases and raises the shield once it has caught up. Each holds its place for its own time.
TEST_F(Boss, AttackPhasesTwoToFourRaiseAndDropTheShieldAroundTheirFire) {
    struct Row {
        int health;
        int phase;
        float closesInOnX;            // a random spot (bx - 7.5 for the draws) or the player
        bool shieldUpWhileClosingIn;  // then the other way round once there
        bool firesWhileClosingIn;     // and not once there, or the other way round
        float holdSeconds;
    };
    const Row rows[] = {
        {120, 2, -7.5f, true, false, 4.0f},
        {100, 3, 8.0f, true, false, 3.0f},
        {70, 4, 8.0f, false, true, 2.7f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("phase " + std::to_string(row.phase));
        placeBossAndGuide(0.0f);
        placeAt(h.player(), {8.0f, 0.0f, 0.0f});
        h.boss().shieldWanted = row.firesWhileClosingIn;  // the other way from the start
        h.game.projectiles.clear();
        setHealth(row.health);
        mind.random = repeating({kNoOverride});
        mind.chooseAttack = true;

        std::vector<ShieldStretch> stretches;
        for (int frame = 0; frame == 0 || !mind.chooseAttack; ++frame) {
            ASSERT_LT(frame, 60 * 30) << "the attack never ended";
            const std::size_t shotsBefore = h.game.projectiles.size();
            bossFrame();
            const bool up = h.boss().shieldWanted;
            if (stretches.empty() || stretches.back().shieldUp != up)
                stretches.push_back({up, 0, 0});
            stretches.back().shots += static_cast<int>(h.game.projectiles.size() - shotsBefore);
            ++stretches.back().frames;
        }
        EXPECT_EQ(mind.attackPhase, row.phase);
        EXPECT_NEAR(guideX(), row.closesInOnX, 0.5f);
        ASSERT_EQ(stretches.size(), 2u);
        EXPECT_EQ(stretches[0].shieldUp, row.shieldUpWhileClosingIn);
        EXPECT_EQ(stretches[0].shots > 0, row.firesWhileClosingIn) << stretches[0].shots;
        EXPECT_EQ(stretches[1].shieldUp, !row.shieldUpWhileClosingIn);
        EXPECT_EQ(stretches[1].shots > 0, !row.firesWhileClosingIn) << stretches[1].shots;
        EXPECT_NEAR(stretches[1].frames * kDt, row.holdSeconds, 2.5f * kDt);
    }
}

namespace {

// One leg of a sweep: where the boss was sent, from where, and what it fired on the way.
struct SweepLeg {
    float targetX;
    float bossXAtTurn;
    int shots;
};

}  // namespace

// Phase 7: one more leg than the passes of its health tier, each to the mirror of where
// the boss turned, firing on all but the first.
TEST_F(Boss, SweepRunsItsPassesToTheMirroredSideFiringOnAllButTheFirst) {
    struct Row {
        int health;
        int passes;
    };
    const Row rows[] = {{150, 1}, {80, 2}, {30, 3}};
    for (const Row& row : rows) {
        SCOPED_TRACE("health " + std::to_string(row.health));
        placeBossAndGuide(5.0f);
        h.game.projectiles.clear();
        setHealth(row.health);
        mind.random = repeating({24575});  // k = 4: a sweep
        mind.chooseAttack = true;

        std::vector<SweepLeg> legs;
        for (int frame = 0; frame == 0 || !mind.chooseAttack; ++frame) {
            ASSERT_LT(frame, 60 * 60) << "the sweep never ended";
            const std::size_t shotsBefore = h.game.projectiles.size();
            bossFrame();
            if (legs.empty() || legs.back().targetX != mind.targetX)
                legs.push_back({mind.targetX, bossX(), 0});
            legs.back().shots += static_cast<int>(h.game.projectiles.size() - shotsBefore);
        }
        EXPECT_EQ(mind.attackPhase, BossBehaviour::kSweepPhase);
        ASSERT_EQ(legs.size(), static_cast<std::size_t>(row.passes + 1));
        EXPECT_FLOAT_EQ(legs[0].targetX, -17.0f);  // from the right side to the left
        EXPECT_EQ(legs[0].shots, 0);
        for (std::size_t leg = 1; leg < legs.size(); ++leg) {
            EXPECT_FLOAT_EQ(legs[leg].targetX, -legs[leg].bossXAtTurn) << "leg " << leg;
            EXPECT_GT(legs[leg].shots, 0) << "leg " << leg;
        }
        EXPECT_EQ(mind.sweepPasses, 0);
    }
}
