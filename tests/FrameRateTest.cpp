#include "game/MatchRunner.h"
#include "game/Replay.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

constexpr std::uint32_t kSeed = 20261208u;
constexpr std::uint32_t kScriptSteps = 60 * 45;  // 45 s of play

// A player who weaves, climbs and clicks in bursts: enough to empty magazines, draw every
// kind of boss attack and take hits, all from the step number alone.
ControlFrame scriptedControls(std::uint32_t step) {
    ControlFrame c;
    const std::uint32_t second = step / 60;
    c.keys |= (second / 3) % 2 ? ControlFrame::Left : ControlFrame::Right;
    if (second % 5 == 1) c.keys |= ControlFrame::Up;
    if (second % 7 == 2) c.keys |= ControlFrame::Down;
    if (step % 7 == 0 && second % 4 != 3) c.keys |= ControlFrame::Fire;
    if (step % 1200 == 900) c.keys |= ControlFrame::HeavyFire;
    c.padForward = second % 6 == 4 ? 0.5f : 0.0f;
    return c;
}

Replay recordedScript() {
    Replay replay(kSeed, Difficulty::Normal);
    for (std::uint32_t step = 0; step < kScriptSteps; ++step) replay.record(scriptedControls(step));
    return replay;
}

// Everything a match's outcome is made of, folded into one number.
std::uint64_t stateHash(Game& game) {
    std::uint64_t hash = 1469598103934665603ull;
    const auto mix = [&hash](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    const auto mixValue = [&mix](auto value) { mix(&value, sizeof value); };
    for (const GameObject* object : {static_cast<GameObject*>(game.player),
                                     static_cast<GameObject*>(game.boss)}) {
        const btVector3 p = object->position();
        mixValue(p.x()), mixValue(p.y()), mixValue(p.z());
        mixValue(object->getHealth()), mixValue(object->getAmmo());
    }
    mixValue(game.bossBehaviour.attackPhase), mixValue(game.bossBehaviour.phaseStart);
    mixValue(game.projectiles.size()), mixValue(game.stepCount()), mixValue(game.gameActive);
    return hash;
}

// A pause of `seconds` of wall time at step `at`.
struct Pause {
    std::uint32_t at;
    float seconds;
};

// Plays the script through the loop's own runner at `passSeconds` a pass (a fake clock),
// drawing between steps as the shell does, with the given pauses. Ends with the script.
std::uint64_t play(const Replay& script, float passSeconds, std::vector<Pause> pauses = {},
                   bool afterAMatch = false) {
    HeadlessGame h;
    if (afterAMatch) {
        const float matchStart = h.time;
        h.buttons->mouseLeft = true;
        h.frames(600);
        h.player().addHealth(-100);
        h.frames(60);
        *h.camera = *HeadlessGame().camera;  // as the shell puts it back
        h.game.restartMatch(h.emptyModel, h.emptyModel, script.seed());
        h.time = matchStart;  // the test's clock; the game's own counts its steps from 0
    }
    h.game.seedMatch(script.seed());
    MatchRunner runner(h.game);
    const auto controls = [&] { return script.controlsOf(h.game.stepCount()).value(); };
    while (h.game.stepCount() < script.stepCount()) {
        const bool paused = !pauses.empty() && h.game.stepCount() >= pauses.front().at;
        runner.runPass(passSeconds, paused, controls);
        if (paused && (pauses.front().seconds -= passSeconds) <= 0.0f) pauses.erase(pauses.begin());
        h.game.placeModels(runner.alpha());
        h.game.events.clear();
    }
    return stateHash(h.game);
}

}  // namespace

// The match moves only in whole steps of its own clock: the frame rate decides when they
// are taken, never what they do.
TEST(FrameRate, AScriptedMatchEndsInTheSameStateAtAnyFrameRate) {
    const Replay script = recordedScript();
    const std::uint64_t atSixty = play(script, 1.0f / 60.0f);
    for (float passSeconds : {1.0f / 30.0f, 1.0f / 144.0f, 0.0007f}) {  // 0.7 ms: uncapped
        SCOPED_TRACE(testing::Message() << passSeconds * 1000.0f << " ms a pass");
        EXPECT_EQ(play(script, passSeconds), atSixty);
    }
}

// A restart builds the next match on what the last one left, and a replay kept from it
// is played back in a fresh game: the two must be the same match.
TEST(FrameRate, AMatchAfterARestartEndsAsTheSameMatchInAFreshGame) {
    const Replay script = recordedScript();
    EXPECT_EQ(play(script, 1.0f / 60.0f, {}, true), play(script, 1.0f / 60.0f));
}

// 10 s paused in the middle of the first reload and in the middle of a boss phase: nothing
// reloads, ages or changes phase meanwhile, so the match ends exactly as without them.
TEST(FrameRate, PausingMidReloadAndMidPhaseChangesNoOutcome) {
    const Replay script = recordedScript();
    HeadlessGame probe;
    probe.game.seedMatch(kSeed);
    for (std::uint32_t step = 0; step < 150; ++step) probe.game.step(scriptedControls(step));
    ASSERT_EQ(probe.player().getAmmo(), 0) << "the script's pause must fall in a reload";

    EXPECT_EQ(play(script, 1.0f / 60.0f, {{150, 10.0f}, {1500, 10.0f}}),
              play(script, 1.0f / 60.0f));
}

// Between steps a drawn frame places a body part of the way from its last pose to its new
// one: drawn at 144 Hz, the craft drifting at a steady speed lands at even spacings.
TEST(FrameRate, DrawingAt144HzPlacesASteadyBodyAtEvenSpacings) {
    HeadlessGame h;
    MatchRunner runner(h.game);
    const float frame = 1.0f / 144.0f;
    const float stepTravel = h.game.scrollSpeed * MatchClock::kStep;
    const auto drawnZ = [&] {
        h.game.placeModels(runner.alpha());
        return h.player().poseBetweenSteps(runner.alpha()).getOrigin().z();
    };
    for (int i = 0; i < 10; ++i) runner.runPass(frame, false, [] { return ControlFrame{}; });
    float last = drawnZ();
    for (int i = 0; i < 144; ++i) {
        runner.runPass(frame, false, [] { return ControlFrame{}; });
        const float z = drawnZ();
        EXPECT_NEAR(last - z, h.game.scrollSpeed * frame, 0.02f * stepTravel) << "frame " << i;
        last = z;
    }
}
