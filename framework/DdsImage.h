#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// The top-level image of a DXT1, DXT3 or DXT5 DirectDraw Surface file, still
/// block-compressed, ready for glCompressedTexImage2D.
///
/// The empty record (null data, every number zero) stands for anything that could not
/// be used; it is safe to pass around unchecked.
struct DdsImage {
    std::unique_ptr<std::uint8_t[]> data;  ///< exactly `size` bytes; null when nothing was read
    std::int32_t width = 0;                ///< pixels
    std::int32_t height = 0;               ///< pixels
    std::uint32_t size = 0;                ///< bytes of the top-level image as GL expects it
    GLenum format = 0;                     ///< GL_COMPRESSED_RGBA_S3TC_DXT1/3/5_EXT
};

/// The largest side accepted, in pixels: the usual GL_MAX_TEXTURE_SIZE. It also keeps a
/// header from claiming sizes whose block arithmetic would overflow.
constexpr std::uint32_t kLargestDdsSide = 16384;

/// Reads the file at `path` (used as given) and parses it. A missing file, a file that
/// is not a DDS, or one in another format (an extended "DX10" header, uncompressed
/// pixels, a cube map or a volume) gives the empty record silently; a DXT file whose
/// header does not fit its contents gives the empty record after one
/// "ERROR::DDS::FILE_MALFORMED: <path>" line.
DdsImage loadDds(const std::string& path);

/// loadDds for the game's textures, where every refusal must be traceable: anything that
/// gives the empty record prints one line naming the file, "ERROR::DDS::FILE_NOT_READ:
/// <path>" for a missing or empty file, "ERROR::DDS::FORMAT_UNSUPPORTED: <path>" for
/// another format, and the malformed line above.
DdsImage loadRequiredDds(const std::string& path);

/// Returns the empty record for anything malformed; never reads beyond `bytes`.
/// Takes bytes, not a file, so tests and the fuzzer can call it directly.
///
/// Accepted: the magic "DDS ", a 124-byte header with FourCC "DXT1", "DXT3" or "DXT5" for
/// one 2D image (neither a cube map nor a volume), a width and height of 1 to
/// kLargestDdsSide pixels, and a linear size that covers the computed top-level size and
/// fits in the bytes after the header. Mip levels and any other trailing bytes are ignored.
DdsImage parseDds(const std::vector<std::uint8_t>& bytes);
