#include "game/MatchStats.h"

#include "game/MatchEvents.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

namespace {

MatchEvents eventsOf(std::initializer_list<MatchEvent> noted) {
    MatchEvents events;
    for (MatchEvent event : noted) events.note(event);
    return events;
}

}  // namespace

TEST(MatchStats, CountsEveryShotFiredAndOnlyTheShotsTheBossTook) {
    MatchStats stats;
    stats.recordFrame(eventsOf({MatchEvent::PrimaryShot, MatchEvent::PrimaryShot}), 0.0f);
    stats.recordFrame(eventsOf({MatchEvent::HeavyShot, MatchEvent::BossHit}), 0.0f);
    // The shield stopping a shot, the boss hitting the player and the boss's own fire
    // are no hits of the player's.
    stats.recordFrame(eventsOf({MatchEvent::ShieldHit, MatchEvent::PlayerHit, MatchEvent::BossShot,
                                MatchEvent::MissileLaunch, MatchEvent::EmptyMagazine}),
                      0.0f);
    stats.recordFrame(eventsOf({MatchEvent::BossHit, MatchEvent::PrimaryShot}), 0.0f);
    EXPECT_EQ(stats.shotsFired(), 4);
    EXPECT_EQ(stats.hits(), 2);
    EXPECT_EQ(stats.accuracyPercent(), std::optional<int>(50));
    EXPECT_EQ(stats.outcome(), MatchOutcome::Undecided);
}

TEST(MatchStats, AccuracyIsAWholePercentageAndNoneBeforeTheFirstShot) {
    struct Case {
        int shots;
        int hits;
        std::optional<int> percent;
    };
    for (const Case& c : {Case{0, 0, std::nullopt}, Case{3, 1, 33}, Case{3, 2, 67},
                          Case{8, 8, 100}, Case{200, 1, 1}, Case{7, 0, 0}}) {
        MatchStats stats;
        MatchEvents events;
        for (int i = 0; i < c.shots; ++i) events.note(MatchEvent::PrimaryShot);
        for (int i = 0; i < c.hits; ++i) events.note(MatchEvent::BossHit);
        stats.recordFrame(events, 0.0f);
        EXPECT_EQ(stats.accuracyPercent(), c.percent) << c.hits << " hits of " << c.shots;
    }
}

TEST(MatchStats, ClockFollowsTheMatchUntilItIsDecided) {
    MatchStats stats;
    stats.recordFrame(MatchEvents(), 1.0f);
    EXPECT_FLOAT_EQ(stats.seconds(), 1.0f);

    stats.recordFrame(eventsOf({MatchEvent::BossDestroyed}), 1.5f);
    EXPECT_EQ(stats.outcome(), MatchOutcome::Won);
    EXPECT_FLOAT_EQ(stats.seconds(), 1.5f);  // the deciding frame still counts
    // After the end, neither time nor a shot still in flight counts.
    stats.recordFrame(eventsOf({MatchEvent::BossHit, MatchEvent::PlayerDestroyed}), 5.0f);
    EXPECT_FLOAT_EQ(stats.seconds(), 1.5f);
    EXPECT_EQ(stats.hits(), 0);
    EXPECT_EQ(stats.outcome(), MatchOutcome::Won);

    stats.reset();
    EXPECT_EQ(stats.seconds(), 0.0f);
    EXPECT_EQ(stats.outcome(), MatchOutcome::Undecided);
    stats.recordFrame(eventsOf({MatchEvent::PlayerDestroyed}), 0.0f);
    EXPECT_EQ(stats.outcome(), MatchOutcome::Lost);
}

// The game's own events, read once a frame and then cleared, as the frame loop does.
TEST(MatchStats, AMatchWonWithHeldFireCountsItsShotsAndHitsAndStopsTheClock) {
    HeadlessGame h;
    h.player().addHealth(10000);  // only the boss may fall
    h.game.bossBehaviour.random = repeating({0});
    MatchStats stats;
    int frames = 0;
    while (stats.outcome() == MatchOutcome::Undecided) {
        h.buttons->mouseLeft = true;
        h.frame();
        stats.recordFrame(h.game.events, h.game.matchSeconds());
        h.game.events.clear();
        ASSERT_LT(++frames, 60 * 120) << "boss health " << h.boss().getHealth();
    }
    EXPECT_EQ(stats.outcome(), MatchOutcome::Won);
    EXPECT_NEAR(stats.seconds(), static_cast<float>(frames) * HeadlessGame::kFrame, 1e-3f);
    EXPECT_GT(stats.shotsFired(), 0);
    EXPECT_GT(stats.hits(), 0);
    EXPECT_LE(stats.hits(), stats.shotsFired());
}
