#include "tools/content/DdsWriter.h"

#include <stb_dxt.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <vector>

namespace {

constexpr std::uint32_t kHeaderSize = 124;
constexpr std::uint32_t kPixelFormatSize = 32;
// Caps, height, width, pixel format, mipmap count, linear size.
constexpr std::uint32_t kHeaderFlags = 0x1 | 0x2 | 0x4 | 0x1000 | 0x20000 | 0x80000;
constexpr std::uint32_t kFourCcFlag = 0x4;
constexpr std::uint32_t kTextureCaps = 0x1000;

void putWord(std::vector<std::uint8_t>& out, size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[offset + static_cast<size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> header(int width, int height, unsigned payload, const char* fourCc) {
    std::vector<std::uint8_t> out(4 + kHeaderSize, 0);
    out[0] = 'D';
    out[1] = 'D';
    out[2] = 'S';
    out[3] = ' ';
    putWord(out, 4, kHeaderSize);
    putWord(out, 8, kHeaderFlags);
    putWord(out, 12, static_cast<std::uint32_t>(height));
    putWord(out, 16, static_cast<std::uint32_t>(width));
    putWord(out, 20, payload);
    putWord(out, 28, 1);  // one mip level stored
    putWord(out, 76, kPixelFormatSize);
    putWord(out, 80, kFourCcFlag);
    for (int i = 0; i < 4; ++i) out[84 + static_cast<size_t>(i)] = static_cast<std::uint8_t>(fourCc[i]);
    putWord(out, 108, kTextureCaps);
    return out;
}

std::array<std::uint8_t, 64> blockPixels(const std::vector<std::uint8_t>& rgba, int width, int bx, int by) {
    std::array<std::uint8_t, 64> block{};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 4; ++c)
                block[static_cast<size_t>((y * 4 + x) * 4 + c)] =
                    rgba[static_cast<size_t>(((by * 4 + y) * width + bx * 4 + x) * 4 + c)];
    return block;
}

}  // namespace

unsigned DdsWriter::payloadSize(int width, int height, Format format) {
    const unsigned blocks = static_cast<unsigned>((width + 3) / 4) * static_cast<unsigned>((height + 3) / 4);
    return blocks * (format == Format::Dxt1 ? 8u : 16u);
}

bool DdsWriter::write(const Image& image, Format format, const std::string& path) {
    const bool withAlpha = format == Format::Dxt5;
    const unsigned payload = payloadSize(image.width(), image.height(), format);
    std::vector<std::uint8_t> file = header(image.width(), image.height(), payload, withAlpha ? "DXT5" : "DXT1");

    const std::vector<std::uint8_t> rgba = image.bytes(true);
    std::array<std::uint8_t, 16> compressed{};
    for (int by = 0; by < image.height() / 4; ++by)
        for (int bx = 0; bx < image.width() / 4; ++bx) {
            const std::array<std::uint8_t, 64> block = blockPixels(rgba, image.width(), bx, by);
            stb_compress_dxt_block(compressed.data(), block.data(), withAlpha ? 1 : 0, STB_DXT_HIGHQUAL);
            file.insert(file.end(), compressed.begin(), compressed.begin() + (withAlpha ? 16 : 8));
        }

    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    if (out) return true;
    std::cout << "Cannot write " << path << std::endl;
    return false;
}
