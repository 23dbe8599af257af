#include "app/MatchRecording.h"

#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

KeptMatch waitForKept(MatchRecording& recording) {
    for (;;) {
        if (const std::optional<KeptMatch> kept = recording.takeKept()) return *kept;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::uint32_t seedOnFile(const std::filesystem::path& file) {
    const ReplayReading read = loadReplay(file, QEX_VERSION);
    return read.replay ? read.replay->seed() : 0u;
}

}  // namespace

// The decided match's own replay goes to disk, though the recording starts the next match
// at once; only a faster win replaces the best.
TEST(MatchRecording, KeepsEachDecidedMatchOnTheDiskThreadAndTellsOnce) {
    const TempDir dir;
    const std::filesystem::path replays = dir.path() / "replays";
    MatchRecording recording(replays, Records(dir.path() / "records.ini"));
    const std::size_t normal = static_cast<std::size_t>(Difficulty::Normal);

    recording.start(5u, Difficulty::Normal);
    recording.record(ControlFrame{});
    recording.keep(true, 70.0f);
    recording.keep(true, 10.0f);  // the same match: nothing more
    const KeptMatch first = waitForKept(recording);
    EXPECT_TRUE(first.newBest);
    EXPECT_EQ(first.bests[normal], 70.0f);
    EXPECT_FALSE(recording.takeKept());
    EXPECT_EQ(seedOnFile(replays / "best.qexreplay"), 5u);

    recording.start(6u, Difficulty::Normal);
    recording.record(ControlFrame{});
    recording.keep(true, 80.0f);
    const KeptMatch second = waitForKept(recording);
    EXPECT_FALSE(second.newBest);
    EXPECT_EQ(second.bests[normal], 70.0f);
    EXPECT_EQ(seedOnFile(replays / "last.qexreplay"), 6u);
    EXPECT_EQ(seedOnFile(replays / "best.qexreplay"), 5u);
    EXPECT_EQ(loadReplay(replays / "last.qexreplay", QEX_VERSION).replay->stepCount(), 1u);
}
