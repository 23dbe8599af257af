// libFuzzer entry for the DDS parser (built and run by tools/fuzz-dds.sh). Besides the
// sanitizers' own checks, every accepted image must be consistent with the bytes it
// came from.
#include "framework/DdsImage.h"

#include <cstdlib>
#include <cstring>

namespace {

std::uint32_t wordAt(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

void require(bool holds) {
    if (!holds) std::abort();
}

void checkAccepted(const DdsImage& image, const std::uint8_t* bytes, std::size_t length) {
    constexpr std::size_t kPayloadOffset = 128;
    require(length >= kPayloadOffset);
    require(image.width >= 1 && image.height >= 1);
    const std::uint32_t blockBytes = image.format == GL_COMPRESSED_RGBA_S3TC_DXT1_EXT ? 8 : 16;
    const std::uint32_t blocks = ((static_cast<std::uint32_t>(image.width) + 3) / 4) *
                                 ((static_cast<std::uint32_t>(image.height) + 3) / 4);
    require(image.size == blockBytes * blocks);
    require(image.size <= wordAt(bytes, 20));
    require(image.size <= length - kPayloadOffset);
    require(std::memcmp(image.data.get(), bytes + kPayloadOffset, image.size) == 0);
}

void checkEmpty(const DdsImage& image) {
    require(image.width == 0 && image.height == 0 && image.size == 0 && image.format == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t length) {
    const DdsImage image = parseDds(std::vector<std::uint8_t>(bytes, bytes + length));
    if (image.data)
        checkAccepted(image, bytes, length);
    else
        checkEmpty(image);
    return 0;
}
