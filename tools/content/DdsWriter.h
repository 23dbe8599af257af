#pragma once

#include "tools/content/Image.h"

#include <string>

/// Writes an image as a block-compressed DirectDraw Surface: the "DDS " magic, the
/// 124-byte header (height at file offset 12, width at 16, linear size at 20, FourCC at
/// 84) and the top level only from offset 128; the game builds the mip chain itself.
/// Width and height must be multiples of 4.
class DdsWriter {
public:
    enum class Format { Dxt1, Dxt5 };

    /// Prints a line and returns false when the file cannot be written.
    static bool write(const Image& image, Format format, const std::string& path);
    /// The payload of the top level: 8 (DXT1) or 16 (DXT5) bytes per 4 x 4 block.
    static unsigned payloadSize(int width, int height, Format format);
};
