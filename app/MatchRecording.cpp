#include "app/MatchRecording.h"

#include "framework/WholeFile.h"

#include <iostream>
#include <string>
#include <utility>

// What the disk thread works on. The shell touches it only while the thread is idle.
struct MatchRecording::Archive {
    Archive(std::optional<std::filesystem::path> replayFolder, Records matchRecords)
        : folder(std::move(replayFolder)), records(std::move(matchRecords)) {
        replay.reserve(kRunsReserved);
    }

    void keepDecidedMatch() {
        result.newBest = won && records.offerWin(replay.difficulty(), seconds);
        result.bests = records.bestTimes();
        write("last.qexreplay");
        if (result.newBest) write("best.qexreplay");
    }

    void write(const char* name) const {
        if (!folder) return;
        const std::filesystem::path file = *folder / name;
        const std::vector<std::uint8_t> bytes = encodeReplay(replay, QEX_VERSION);
        if (const std::error_code error =
                replaceWholeFile(file, std::string(bytes.begin(), bytes.end())))
            std::cout << "WARNING: replays: cannot write '" << file.string() << "' ("
                      << error.message() << "); the match is not kept." << std::endl;
    }

    std::optional<std::filesystem::path> folder;
    Records records;
    Replay replay;  ///< the decided match's, swapped in from the recording
    bool won = false;
    float seconds = 0.0f;
    KeptMatch result;
    // Last: it runs the job above until it is gone.
    DiskThread disk{[this] { keepDecidedMatch(); }};
};

MatchRecording::MatchRecording(std::optional<std::filesystem::path> folder, Records records)
    : archive(std::make_unique<Archive>(std::move(folder), std::move(records))) {}

MatchRecording::MatchRecording() = default;
MatchRecording::~MatchRecording() = default;
MatchRecording::MatchRecording(MatchRecording&&) noexcept = default;
MatchRecording& MatchRecording::operator=(MatchRecording&&) noexcept = default;

// The runs keep their room: a match after the first allocates nothing here.
void MatchRecording::start(std::uint32_t seed, Difficulty difficulty) {
    replay.restart(seed, difficulty);
    replay.reserve(kRunsReserved);
    kept = false;
}

// The two replays trade places, so handing one over copies nothing.
void MatchRecording::keep(bool won, float seconds) {
    if (kept || !archive) return;
    kept = true;
    archive->disk.waitUntilIdle();
    std::swap(replay, archive->replay);
    archive->won = won;
    archive->seconds = seconds;
    archive->disk.request();
    keptToTake = true;
}

std::optional<KeptMatch> MatchRecording::takeKept() {
    if (!keptToTake || !archive->disk.idle()) return std::nullopt;
    keptToTake = false;
    return archive->result;
}

BestWinTimes MatchRecording::bestTimes() {
    if (!archive) return {};
    archive->disk.waitUntilIdle();
    return archive->records.bestTimes();
}

std::optional<std::filesystem::path> replayFolder(const char* xdgDataHome, const char* home) {
    const std::optional<std::filesystem::path> records = recordsFile(xdgDataHome, home);
    if (!records) return std::nullopt;
    return records->parent_path() / "replays";
}
