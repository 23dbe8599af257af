// Writes the DDS fuzzer's seed corpus into the folder given as the only argument: a few
// well-formed DXT files and a few near misses, all made by support/DdsBytes.
#include "support/DdsBytes.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

void writeSeed(const std::filesystem::path& folder, const std::string& name,
               const std::vector<std::uint8_t>& bytes) {
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
    writeSeed(folder, "dxt1-8x8", makeDxtFile("DXT1", 8, 8));
    writeSeed(folder, "dxt3-5x3", makeDxtFile("DXT3", 5, 3));
    writeSeed(folder, "dxt5-4x4", makeDxtFile("DXT5", 4, 4));
    writeSeed(folder, "dxt5-with-mips", makeDdsBytes("DXT5", 8, 8, 64, patternBytes(64 + 16 + 16)));
    writeSeed(folder, "dx10-header", makeDdsBytes("DX10", 4, 4, 16, patternBytes(36)));
    writeSeed(folder, "linear-size-too-small", makeDdsBytes("DXT1", 16, 16, 8, patternBytes(128)));
    writeSeed(folder, "payload-cut-short", makeDdsBytes("DXT1", 16, 16, 128, patternBytes(64)));
    return 0;
}
