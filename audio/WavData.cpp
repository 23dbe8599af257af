#include "audio/WavData.h"

#include <array>
#include <cstring>
#include <fstream>
#include <iostream>

namespace {

constexpr std::uint64_t kRiffHeaderBytes = 12;  // "RIFF", size, "WAVE"
constexpr std::uint64_t kChunkHeaderBytes = 8;  // id, size

std::uint32_t littleEndian(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool readAt(std::ifstream& file, std::uint64_t offset, unsigned char* into, std::size_t bytes) {
    file.seekg(static_cast<std::streamoff>(offset));
    file.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(bytes));
    return static_cast<std::size_t>(file.gcount()) == bytes;
}

}  // namespace

std::optional<WavDataSize> wavDataSize(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return std::nullopt;
    const auto size = static_cast<std::uint64_t>(file.tellg());
    std::array<unsigned char, kRiffHeaderBytes> riff{};
    if (!readAt(file, 0, riff.data(), riff.size()) || std::memcmp(riff.data(), "RIFF", 4) != 0 ||
        std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::array<unsigned char, kChunkHeaderBytes> chunk{};
    for (std::uint64_t at = kRiffHeaderBytes; readAt(file, at, chunk.data(), chunk.size());) {
        const std::uint64_t length = littleEndian(chunk.data() + 4);
        const std::uint64_t body = at + kChunkHeaderBytes;
        if (std::memcmp(chunk.data(), "data", 4) == 0) return WavDataSize{length, size - body};
        at = body + length + (length & 1);  // chunks are padded to an even length
    }
    return std::nullopt;
}

void reportCutShortWav(const std::string& path) {
    const std::optional<WavDataSize> data = wavDataSize(path);
    if (!data || data->present >= data->declared) return;
    std::cout << "Sound " << path << " is cut short: " << data->present << " of the "
              << data->declared << " data bytes its header declares; playing what is there."
              << std::endl;
}
