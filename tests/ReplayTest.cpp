#include "game/Replay.h"

#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

constexpr std::string_view kVersion = "1.2.3";

Replay sample() {
    Replay replay(77u, Difficulty::Hard);
    ControlFrame held;
    held.keys = ControlFrame::Left | ControlFrame::Fire;
    held.padForward = -0.25f;
    replay.record(ControlFrame{}, 30);
    replay.record(held, 12);
    replay.record(ControlFrame{});
    return replay;
}

// Rewrites the checksum, so that a change behind the header is judged on its own.
void reseal(std::vector<std::uint8_t>& bytes) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i + 4 < bytes.size(); ++i) hash = (hash ^ bytes[i]) * 16777619u;
    std::memcpy(bytes.data() + bytes.size() - 4, &hash, 4);
}

}  // namespace

TEST(Replay, ReadsBackTheSeedDifficultyAndEveryStepsControls) {
    const Replay written = sample();
    const ReplayReading read = parseReplay(encodeReplay(written, kVersion), kVersion);
    ASSERT_TRUE(read.replay) << read.problem;
    EXPECT_EQ(read.replay->seed(), 77u);
    EXPECT_EQ(read.replay->difficulty(), Difficulty::Hard);
    ASSERT_EQ(read.replay->stepCount(), 43u);
    for (std::uint32_t step : {0u, 29u, 30u, 41u, 42u, 5u})  // out of order on purpose
        EXPECT_EQ(read.replay->controlsOf(step), written.controlsOf(step)) << "step " << step;
    EXPECT_FALSE(read.replay->controlsOf(43).has_value());
}

// Every refusal names its reason; none reads past the bytes or accepts garbage. The header
// is "QEXRPLAY", format (4), version length (2), "1.2.3", seed (4), difficulty (1), runs
// (4); the first run's steps start at byte 28 and its keys at 32.
TEST(Replay, DamagedFilesAreRefusedWithTheirReason) {
    struct Case {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", [](auto& b) { b.clear(); }, "not a Qex replay"},
        {"wrong magic", [](auto& b) { b[0] = 'X'; }, "not a Qex replay"},
        {"cut in the header", [](auto& b) { b.resize(10); }, "cut short"},
        {"cut in the runs", [](auto& b) { b.resize(b.size() - 9); }, "damaged"},
        {"a flipped byte", [](auto& b) { b[b.size() - 8] ^= 0x40; }, "damaged"},
        {"another format", [](auto& b) { b[8] = 9; }, "replay format 9"},
        {"another game version", [](auto& b) { b[14] = '9'; }, "recorded by Qex 9.2.3"},
        {"an unknown difficulty", [](auto& b) { b[23] = 7; reseal(b); }, "difficulty 7"},
        {"a run cut short", [](auto& b) { b.erase(b.end() - 8, b.end() - 4); reseal(b); }, "length"},
        {"keys no one has", [](auto& b) { b[33] = 0xFF; reseal(b); }, "no player can give"},
        {"a run of no steps", [](auto& b) { std::memset(b.data() + 28, 0, 4); reseal(b); }, "impossible length"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = encodeReplay(sample(), kVersion);
        c.damage(bytes);
        const ReplayReading read = parseReplay(bytes, kVersion);
        EXPECT_FALSE(read.replay) << c.name;
        EXPECT_NE(read.problem.find(c.reason), std::string::npos) << c.name << ": " << read.problem;
    }
    const TempDir folder;
    const ReplayReading missing = loadReplay(folder.path() / "no-such.qexreplay", kVersion);
    EXPECT_NE(missing.problem.find("cannot be read"), std::string::npos) << missing.problem;
}
