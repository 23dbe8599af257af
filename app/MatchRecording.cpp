#include "app/MatchRecording.h"

#include "game/ReplaceFile.h"

#include <iostream>
#include <string>
#include <utility>

MatchRecording::MatchRecording(std::optional<std::filesystem::path> replayFolder)
    : folder(std::move(replayFolder)) {}

void MatchRecording::start(std::uint32_t seed, Difficulty difficulty) {
    replay = Replay(seed, difficulty);
    replay.reserve(kRunsReserved);
    kept = false;
}

void MatchRecording::keep(bool newBestWin) {
    if (kept) return;
    kept = true;
    write("last.qexreplay");
    if (newBestWin) write("best.qexreplay");
}

void MatchRecording::write(const char* name) const {
    if (!folder) return;
    const std::filesystem::path file = *folder / name;
    std::string why;
    if (!replaceFile(file, encodeReplay(replay, QEX_VERSION), why))
        std::cout << "WARNING: replays: cannot write '" << file.string() << "' (" << why
                  << "); the match is not kept." << std::endl;
}
