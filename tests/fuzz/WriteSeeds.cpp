// Writes a fuzzer's seed corpus into a folder: `write-seeds dds|replay <seed folder>`.
// DDS seeds are a few well-formed DXT files and near misses made by support/DdsBytes;
// replay seeds are short recordings made by fuzz/ReplaySeeds.
#include "fuzz/ReplaySeeds.h"
#include "support/DdsBytes.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

void writeSeed(const std::filesystem::path& folder, const std::string& name,
               const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(folder / name, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void writeDdsSeeds(const std::filesystem::path& folder) {
    writeSeed(folder, "dxt1-8x8", makeDxtFile("DXT1", 8, 8));
    writeSeed(folder, "dxt3-5x3", makeDxtFile("DXT3", 5, 3));
    writeSeed(folder, "dxt5-4x4", makeDxtFile("DXT5", 4, 4));
    writeSeed(folder, "dxt5-with-mips", makeDdsBytes("DXT5", 8, 8, 64, patternBytes(64 + 16 + 16)));
    writeSeed(folder, "dx10-header", makeDdsBytes("DX10", 4, 4, 16, patternBytes(36)));
    writeSeed(folder, "linear-size-too-small", makeDdsBytes("DXT1", 16, 16, 8, patternBytes(128)));
    writeSeed(folder, "payload-cut-short", makeDdsBytes("DXT1", 16, 16, 128, patternBytes(64)));
}

void writeReplaySeeds(const std::filesystem::path& folder) {
    writeSeed(folder, "empty", encodeReplay(Replay(1u, Difficulty::Easy), kFuzzGameVersion));
    writeSeed(folder, "short", encodeReplay(seedReplay(12, Difficulty::Normal), kFuzzGameVersion));
    writeSeed(folder, "longer", encodeReplay(seedReplay(300, Difficulty::Hard), kFuzzGameVersion));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string target = argc == 3 ? argv[1] : "";
    if (target != "dds" && target != "replay") {
        std::cerr << "usage: " << argv[0] << " dds|replay <seed folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[2];
    std::filesystem::create_directories(folder);
    if (target == "dds")
        writeDdsSeeds(folder);
    else
        writeReplaySeeds(folder);
    return 0;
}
