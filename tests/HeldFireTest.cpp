// Held fire through the game's own weapons: the shell's HeldFire asks for shots, a
// headless match spends them, and the clock is the test's.

#include "game/HeldFire.h"
#include "game/MatchEvents.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

namespace {

constexpr float kDt = HeadlessGame::kFrame;

class HeldFireInPlay : public ::testing::Test {
protected:
    // One drawn frame as the shell runs it: held fire first, then the game's update.
    void frame() {
        trigger.advance(kDt, *h.buttons);
        h.time += kDt;
        h.game.updatePlayerWeapons();
    }
    void runFor(float seconds) {
        for (int i = 0; i < static_cast<int>(seconds / kDt + 0.5f); ++i) frame();
    }
    int shots() const { return h.game.events.count(MatchEvent::PrimaryShot); }

    HeadlessGame h;
    HeldFire trigger;
};

}  // namespace

TEST_F(HeldFireInPlay, AClickFiresExactlyOneShot) {
    trigger.press(HeldFire::Source::Mouse, *h.buttons);
    frame();
    trigger.release(HeldFire::Source::Mouse);
    runFor(2.0f);
    EXPECT_EQ(shots(), 1);
    EXPECT_EQ(h.player().getAmmo(), 14);
}

TEST_F(HeldFireInPlay, AShortHoldStillFiresOnlyTheFirstShot) {
    trigger.press(HeldFire::Source::Mouse, *h.buttons);
    runFor(0.1f);  // released before the next one is due
    trigger.release(HeldFire::Source::Mouse);
    runFor(1.0f);
    EXPECT_EQ(shots(), 1);
}

// About six a second: twelve in two seconds, give or take the frame the last one falls in.
TEST_F(HeldFireInPlay, HoldingFiresAboutTwelveShotsInTwoSecondsOfGameTime) {
    trigger.press(HeldFire::Source::Mouse, *h.buttons);
    runFor(2.0f);
    EXPECT_NEAR(shots(), 12, 1);
    EXPECT_EQ(h.player().getAmmo(), 15 - shots());  // one round each, as for clicks
}

// The magazine runs dry while held, the reload swallows the requests for its 2 s, and
// the stream picks up again by itself once the magazine is full.
TEST_F(HeldFireInPlay, HoldingThroughAReloadResumesWithoutANewPress) {
    trigger.press(HeldFire::Source::Mouse, *h.buttons);
    while (h.player().getAmmo() > 0 && shots() < 20) frame();
    ASSERT_EQ(shots(), 15);
    const float ranDry = h.time;

    runFor(1.9f);
    EXPECT_EQ(shots(), 15) << "a shot left during the reload";
    EXPECT_GT(h.game.events.count(MatchEvent::EmptyMagazine), 0);

    runFor(0.4f);  // the reload ends 2 s after the magazine ran dry
    EXPECT_EQ(h.game.events.count(MatchEvent::Reload), 1);
    EXPECT_GE(shots(), 16) << "no shot after the reload, " << h.time - ranDry << " s after running dry";
    runFor(2.0f);
    EXPECT_NEAR(shots() - 16, 12, 2);
}

TEST_F(HeldFireInPlay, EitherSourceKeepsItGoingUntilBothLetGo) {
    trigger.press(HeldFire::Source::Mouse, *h.buttons);
    trigger.press(HeldFire::Source::Gamepad, *h.buttons);
    trigger.release(HeldFire::Source::Mouse);
    runFor(1.0f);
    EXPECT_NEAR(shots(), 6, 1);
    trigger.release(HeldFire::Source::Gamepad);
    const int whenReleased = shots();
    runFor(1.0f);
    EXPECT_EQ(shots(), whenReleased);
}
