#include "app/MatchRecording.h"

#include "framework/WholeFile.h"
#include "game/Records.h"

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
    const std::vector<std::uint8_t> bytes = encodeReplay(replay, QEX_VERSION);
    if (const std::error_code error =
            replaceWholeFile(file, std::string(bytes.begin(), bytes.end())))
        std::cout << "WARNING: replays: cannot write '" << file.string() << "' ("
                  << error.message() << "); the match is not kept." << std::endl;
}

std::optional<std::filesystem::path> replayFolder(const char* xdgDataHome, const char* home) {
    const std::optional<std::filesystem::path> records = recordsFile(xdgDataHome, home);
    if (!records) return std::nullopt;
    return records->parent_path() / "replays";
}
