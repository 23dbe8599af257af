// Writes the replay fuzzer's seed corpus into the folder given as the only argument.
#include "fuzz/ReplaySeeds.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

void writeSeed(const std::filesystem::path& folder, const std::string& name, const Replay& replay) {
    const std::vector<std::uint8_t> bytes = encodeReplay(replay, kFuzzGameVersion);
    std::ofstream file(folder / name, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <seed folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    writeSeed(folder, "empty", Replay(1u, Difficulty::Easy));
    writeSeed(folder, "short", seedReplay(12, Difficulty::Normal));
    writeSeed(folder, "longer", seedReplay(300, Difficulty::Hard));
    return 0;
}
