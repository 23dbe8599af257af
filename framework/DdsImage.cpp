#include "framework/DdsImage.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

// Byte offsets from the start of the file; the 124-byte header follows the magic.
constexpr std::size_t kMagicBytes = 4;
constexpr std::size_t kHeaderBytes = 124;
constexpr std::size_t kPayloadOffset = kMagicBytes + kHeaderBytes;
constexpr std::size_t kFlagsOffset = 8;
constexpr std::size_t kHeightOffset = 12;
constexpr std::size_t kWidthOffset = 16;
constexpr std::size_t kLinearSizeOffset = 20;
constexpr std::size_t kDepthOffset = 24;
constexpr std::size_t kFourCcOffset = 84;
constexpr std::size_t kCaps2Offset = 112;

constexpr std::uint32_t kDepthFlag = 0x800000;   // DDSD_DEPTH: the depth word counts
constexpr std::uint32_t kCubeMapCaps = 0x200;    // DDSCAPS2_CUBEMAP
constexpr std::uint32_t kVolumeCaps = 0x200000;  // DDSCAPS2_VOLUME

constexpr std::uint32_t fourCc(const char (&code)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24;
}

struct DxtFormat {
    std::uint32_t fourCc;
    GLenum glFormat;
    std::uint32_t blockBytes;  // one 4 x 4 pixel block
};

constexpr DxtFormat kDxtFormats[] = {
    {fourCc("DXT1"), GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 8},
    {fourCc("DXT3"), GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 16},
    {fourCc("DXT5"), GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 16},
};

// Little-endian; the caller has checked that the four bytes exist.
std::uint32_t readWord(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

bool hasDdsMagic(const std::vector<std::uint8_t>& bytes) {
    return bytes.size() >= kMagicBytes && readWord(bytes, 0) == fourCc("DDS ");
}

const DxtFormat* findDxtFormat(const std::vector<std::uint8_t>& bytes) {
    const std::uint32_t code = readWord(bytes, kFourCcOffset);
    for (const DxtFormat& format : kDxtFormats)
        if (format.fourCc == code) return &format;
    return nullptr;
}

// A cube map or a volume holds several images one after the other; uploading the first
// face or slice as the texture would show the wrong picture without a word.
bool holdsOneImage(const std::vector<std::uint8_t>& bytes) {
    const bool deep = (readWord(bytes, kFlagsOffset) & kDepthFlag) != 0 &&
                      readWord(bytes, kDepthOffset) > 1;
    return !deep && (readWord(bytes, kCaps2Offset) & (kCubeMapCaps | kVolumeCaps)) == 0;
}

bool isUsableSide(std::uint32_t pixels) { return pixels >= 1 && pixels <= kLargestDdsSide; }

// Whole 4 x 4 blocks; with both sides bounded this cannot overflow 32 bits.
std::uint32_t topLevelBytes(const DxtFormat& format, std::uint32_t width, std::uint32_t height) {
    return format.blockBytes * ((width + 3) / 4) * ((height + 3) / 4);
}

// A file that says it is one DXT image but whose header does not fit what follows it (or
// that ends inside its header) is damaged, not merely unsupported, and deserves a word.
bool claimsToBeDxt(const std::vector<std::uint8_t>& bytes) {
    if (!hasDdsMagic(bytes)) return false;
    return bytes.size() < kPayloadOffset ||
           (findDxtFormat(bytes) != nullptr && holdsOneImage(bytes));
}

std::vector<std::uint8_t> readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

void reportDdsProblem(const char* problem, const std::string& path) {
    std::cout << "ERROR::DDS::" << problem << ": " << path << std::endl;
}

DdsImage loadDdsReporting(const std::string& path, bool reportEveryFailure) {
    const std::vector<std::uint8_t> bytes = readWholeFile(path);
    DdsImage image = parseDds(bytes);
    if (image.data) return image;
    if (claimsToBeDxt(bytes))
        reportDdsProblem("FILE_MALFORMED", path);
    else if (reportEveryFailure)
        reportDdsProblem(bytes.empty() ? "FILE_NOT_READ" : "FORMAT_UNSUPPORTED", path);
    return image;
}

}  // namespace

DdsImage parseDds(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < kPayloadOffset || !hasDdsMagic(bytes)) return {};
    const DxtFormat* format = findDxtFormat(bytes);
    const std::uint32_t width = readWord(bytes, kWidthOffset);
    const std::uint32_t height = readWord(bytes, kHeightOffset);
    if (format == nullptr || !holdsOneImage(bytes) || !isUsableSide(width) ||
        !isUsableSide(height))
        return {};

    // The linear size is only the header's word: trust it neither beyond the bytes that
    // are there nor below what the upload will read.
    const std::uint32_t size = topLevelBytes(*format, width, height);
    const std::uint32_t linearSize = readWord(bytes, kLinearSizeOffset);
    if (linearSize < size || linearSize > bytes.size() - kPayloadOffset) return {};

    DdsImage image;
    image.data = std::make_unique<std::uint8_t[]>(size);
    std::copy_n(bytes.begin() + kPayloadOffset, size, image.data.get());
    image.width = static_cast<std::int32_t>(width);
    image.height = static_cast<std::int32_t>(height);
    image.size = size;
    image.format = format->glFormat;
    return image;
}

DdsImage loadDds(const std::string& path) { return loadDdsReporting(path, false); }

DdsImage loadRequiredDds(const std::string& path) { return loadDdsReporting(path, true); }
