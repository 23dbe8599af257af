#include "support/DdsBytes.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

// Header words as a real writer sets them; the offsets count from the start of the file.
constexpr std::size_t kHeaderEnd = 128;
constexpr std::uint32_t kHeaderSize = 124;
constexpr std::uint32_t kFlagsCapsHeightWidthPixelFormatLinearSize = 0x81007;
constexpr std::uint32_t kPixelFormatSize = 32;
constexpr std::uint32_t kPixelFormatHasFourCc = 0x4;
constexpr std::uint32_t kCapsTexture = 0x1000;

void putWord(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> makeDdsBytes(const std::string& fourCc, std::uint32_t width,
                                       std::uint32_t height, std::uint32_t linearSize,
                                       const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> bytes(kHeaderEnd, 0);
    const std::string magic = "DDS ";
    std::copy(magic.begin(), magic.end(), bytes.begin());
    putWord(bytes, 4, kHeaderSize);
    putWord(bytes, 8, kFlagsCapsHeightWidthPixelFormatLinearSize);
    putWord(bytes, 12, height);
    putWord(bytes, 16, width);
    putWord(bytes, 20, linearSize);
    putWord(bytes, 76, kPixelFormatSize);
    putWord(bytes, 80, kPixelFormatHasFourCc);
    for (std::size_t i = 0; i < 4 && i < fourCc.size(); ++i)
        bytes[84 + i] = static_cast<std::uint8_t>(fourCc[i]);
    putWord(bytes, 108, kCapsTexture);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

std::uint32_t dxtTopLevelBytes(const std::string& fourCc, std::uint32_t width,
                               std::uint32_t height) {
    const std::uint32_t blockBytes = fourCc == "DXT1" ? 8 : 16;
    const std::uint32_t blocksAcross = (width + 3) / 4;
    const std::uint32_t blocksDown = (height + 3) / 4;
    return blockBytes * blocksAcross * blocksDown;
}

std::vector<std::uint8_t> patternBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>((i * 7) % 251);
    return bytes;
}

std::vector<std::uint8_t> makeDxtFile(const std::string& fourCc, std::uint32_t width,
                                      std::uint32_t height) {
    const std::uint32_t size = dxtTopLevelBytes(fourCc, width, height);
    return makeDdsBytes(fourCc, width, height, size, patternBytes(size));
}

std::vector<std::uint8_t> readFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

std::string asText(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}
