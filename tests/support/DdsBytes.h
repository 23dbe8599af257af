#pragma once

#include <cstdint>
#include <string>
#include <vector>

// DDS files made by our own code, for the loader's tests and the fuzzer's seed corpus.
// Nothing here uses GL, gtest or the loader itself, so the expectations stay independent.

/// A DDS file: the magic "DDS ", a 124-byte header saying `width` x `height` pixels,
/// `linearSize` bytes and pixel format `fourCc` (the size, flags, pixel-format and caps
/// words of a real writer filled in), then `payload` as it is, whatever its length.
std::vector<std::uint8_t> makeDdsBytes(const std::string& fourCc, std::uint32_t width,
                                       std::uint32_t height, std::uint32_t linearSize,
                                       const std::vector<std::uint8_t>& payload);

/// Bytes of one top-level DXT image: 8 a 4 x 4 block for "DXT1", else 16.
std::uint32_t dxtTopLevelBytes(const std::string& fourCc, std::uint32_t width,
                               std::uint32_t height);

/// `count` bytes of a pattern that repeats only every 251 bytes, so that a shifted or
/// truncated copy never compares equal.
std::vector<std::uint8_t> patternBytes(std::size_t count);

/// A well-formed DXT file with no mip levels: the linear size is the top-level size and
/// the payload is patternBytes() of that size.
std::vector<std::uint8_t> makeDxtFile(const std::string& fourCc, std::uint32_t width,
                                      std::uint32_t height);

/// Every byte of the file at `path` (none when it cannot be read), e.g. a DDS file that
/// another tool wrote.
std::vector<std::uint8_t> readFileBytes(const std::string& path);

/// The bytes as a std::string, for TempDir::write.
std::string asText(const std::vector<std::uint8_t>& bytes);
