#include "game/MatchEvents.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Every scripted moment below is a whole number of frames at each of these rates.
constexpr float kRates[] = {5.0f, 10.0f, 30.0f, 60.0f, 240.0f};  // frames per second
constexpr float kSubStep = BulletOpenGl::kPhysicsSubStep;
constexpr float kPrimaryShotSpeed = 80.0f;  // units/s straight down -z
constexpr float kPrimaryShotLead = 3.0f;    // units ahead of the craft it leaves from

int framesIn(float seconds, float fps) { return static_cast<int>(std::lround(seconds * fps)); }

// A match whose boss keeps to the centre line (missile barrages) and whose combatants
// outlast the script, so that only the frame rate differs between runs.
struct ScriptedMatch {
    explicit ScriptedMatch(float framesPerSecond) : fps(framesPerSecond) {
        h.game.bossBehaviour.random = repeating({0});
        h.player().addHealth(10000);
        h.boss().addHealth(10000);
    }
    void play(float seconds) { h.frames(framesIn(seconds, fps), 1.0f / fps); }
    int bossDamage() const { return Enemy::kMaxHealth + 10000 - game().boss->getHealth(); }
    const Game& game() const { return h.game; }

    float fps;
    HeadlessGame h;
};

const MatchEvents::Impact* firstBossHit(const MatchEvents& events) {
    for (const MatchEvents::Impact* i = events.beginImpacts(); i != events.endImpacts(); ++i)
        if (i->kind == MatchEvent::BossHit) return i;
    return nullptr;
}

// When a primary shot fired at `fireTime` struck the boss. The shot flies straight at a
// constant speed until it strikes, so where it struck says when.
float primaryShotHitTime(float frameRate) {
    ScriptedMatch match(frameRate);
    const float fireTime = 1.0f;
    match.play(fireTime - 1.0f / frameRate);
    match.h.buttons->mouseLeft = true;
    match.play(1.0f / frameRate);  // the update at fireTime fires
    const float spawnZ = match.h.player().position().z() - kPrimaryShotLead;
    match.play(1.0f);

    const MatchEvents::Impact* hit = firstBossHit(match.game().events);
    EXPECT_TRUE(hit != nullptr);
    EXPECT_EQ(match.bossDamage(), 1);
    if (!hit) return 0.0f;
    return fireTime + (spawnZ - hit->position.z) / kPrimaryShotSpeed;
}

// A click every 0.2 s (one frame at the slowest rate) for a minute of game time.
int damageFromAMinuteOfClicks(float fps) {
    ScriptedMatch match(fps);
    const float clickInterval = 0.2f;  // seconds
    const int clicks = 300;
    for (int click = 0; click < clicks; ++click) {
        match.play(clickInterval - 1.0f / fps);
        match.h.buttons->mouseLeft = true;
        match.play(1.0f / fps);
    }
    return match.bossDamage();
}

}  // namespace

// The physics catches up with real time in sub-steps, the scene keeps drifting between
// frames, and contacts count when they happen: a slow frame changes none of it.
TEST(FrameRate, PrimaryShotHitsTheBossAtTheSameGameTimeAtAnyRate) {
    const float atSixty = primaryShotHitTime(60.0f);
    EXPECT_GT(atSixty, 1.3f);  // it crossed the gap to the boss
    for (float fps : kRates) {
        SCOPED_TRACE(testing::Message() << fps << " fps");
        EXPECT_NEAR(primaryShotHitTime(fps), atSixty, kSubStep);
    }
}

// Magazines, reloads and the flight of every shot take the same game time at every rate,
// so the boss loses the same health.
TEST(FrameRate, ClickingForAMinuteDealsTheSameDamageAtAnyRate) {
    const int atSixty = damageFromAMinuteOfClicks(60.0f);
    EXPECT_GT(atSixty, 150);  // 15 rounds in 3 s, then 2 s of reloading: about 180 hits
    for (float fps : kRates) {
        SCOPED_TRACE(testing::Message() << fps << " fps");
        EXPECT_NEAR(damageFromAMinuteOfClicks(fps), atSixty, 0.05f * atSixty);
    }
}

// Half a second between frames (a stall, a slow machine): every easing step lands on its
// target. Before the step was clamped, it flew past, and further with every frame.
TEST(FrameRate, HalfSecondFrameLandsCraftCameraAndBossOnTheirTargets) {
    HeadlessGame h;
    const float longFrame = 0.5f;
    const btVector3 craftBefore = h.player().position();
    const glm::vec3 cameraBefore = h.camera->position;
    h.buttons->d = true;
    h.game.frameTime = longFrame;
    h.game.movePlayer();
    const float sensorX = h.player().getGuide()->position().x();
    EXPECT_GT(sensorX, 5.0f);  // far to go in one frame
    EXPECT_FLOAT_EQ(h.player().position().x(), sensorX);
    // The camera moves as far as the craft did, not further.
    EXPECT_FLOAT_EQ(h.camera->position.x - cameraBefore.x, sensorX - craftBefore.x());

    BossBehaviour& mind = h.game.bossBehaviour;
    const auto bossX = [&] { return h.boss().position().x(); };
    const auto guideX = [&] { return h.boss().getGuide()->position().x(); };
    mind.frameTime = longFrame;
    mind.moveBossTo(h.boss(), 8.0f, 12.0f, 0.35f);
    EXPECT_FLOAT_EQ(guideX(), 12.0f * longFrame);
    EXPECT_FLOAT_EQ(bossX(), guideX());

    placeAt(h.player(), {-20.0f, 0.0f, 0.0f});
    mind.chooseAttack = true;  // the chase starts now
    mind.chasePlayer(h.boss(), h.player(), 0.35f, 4.0f, 25.0f);
    EXPECT_FLOAT_EQ(guideX(), 12.0f * longFrame - 25.0f * longFrame);
    EXPECT_FLOAT_EQ(bossX(), guideX());
}
