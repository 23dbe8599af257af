// libFuzzer entry for the replay reader (built and run by tools/fuzz.sh). The input's last
// four bytes are replaced by its checksum first, so that mutations reach the runs behind
// it. Every accepted replay must survive writing and reading again unchanged.
#include "game/Replay.h"
#include "fuzz/ReplaySeeds.h"

#include <cstdlib>

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

void sealWithChecksum(std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < 4) return;
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i + 4 < bytes.size(); ++i) hash = (hash ^ bytes[i]) * 16777619u;
    for (std::size_t i = 0; i < 4; ++i)
        bytes[bytes.size() - 4 + i] = static_cast<std::uint8_t>(hash >> (8 * i));
}

void checkAccepted(const Replay& replay) {
    const ReplayReading again = parseReplay(encodeReplay(replay, kFuzzGameVersion), kFuzzGameVersion);
    require(again.replay.has_value());
    require(again.replay->stepCount() == replay.stepCount());
    require(again.replay->seed() == replay.seed());
    if (replay.stepCount() == 0) return;
    require(replay.controlsOf(replay.stepCount() - 1).has_value());
    require(!replay.controlsOf(replay.stepCount()).has_value());
    require(replay.controlsOf(0) == again.replay->controlsOf(0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    sealWithChecksum(bytes);
    const ReplayReading reading = parseReplay(bytes, kFuzzGameVersion);
    if (reading.replay)
        checkAccepted(*reading.replay);
    else
        require(!reading.problem.empty());
    return 0;
}
