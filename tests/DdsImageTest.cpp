#include "framework/DdsImage.h"

#include "support/DdsBytes.h"
#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace {

void expectEmptyRecord(const DdsImage& image) {
    EXPECT_EQ(image.data, nullptr);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_EQ(image.size, 0u);
    EXPECT_EQ(image.format, 0u);
}

std::vector<std::uint8_t> imageBytes(const DdsImage& image) {
    return std::vector<std::uint8_t>(image.data.get(), image.data.get() + image.size);
}

std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                                std::size_t count) {
    return std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

const std::string kTestDdsDir = std::string(QEX_TESTDATA_DIR) + "/dds/";

std::uint32_t wordAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{bytes[offset + i]} << (8 * i);
    return value;
}

void setWord(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Six 4 x 4 DXT1 faces, each of them a well-formed top level on its own.
std::vector<std::uint8_t> cubeMapFile() {
    std::vector<std::uint8_t> bytes = makeDdsBytes("DXT1", 4, 4, 8, patternBytes(6 * 8));
    setWord(bytes, 112, 0x200 | 0xFC00);  // DDSCAPS2_CUBEMAP and its six faces
    return bytes;
}

// Four 4 x 4 DXT1 slices.
std::vector<std::uint8_t> volumeFile() {
    std::vector<std::uint8_t> bytes = makeDdsBytes("DXT1", 4, 4, 8, patternBytes(4 * 8));
    setWord(bytes, 8, wordAt(bytes, 8) | 0x800000u);  // DDSD_DEPTH
    setWord(bytes, 24, 4);
    setWord(bytes, 112, 0x200000);  // DDSCAPS2_VOLUME
    return bytes;
}

}  // namespace

TEST(DdsParse, Dxt1Of256SquareIs32768BytesOfEightByteBlocks) {
    const DdsImage image = parseDds(makeDxtFile("DXT1", 256, 256));
    EXPECT_EQ(image.width, 256);
    EXPECT_EQ(image.height, 256);
    EXPECT_EQ(image.size, 32768u);
    EXPECT_EQ(image.format, 0x83F1u);
    EXPECT_EQ(imageBytes(image), patternBytes(32768));
}

TEST(DdsParse, Dxt3AndDxt5Of256SquareAre65536Bytes) {
    const DdsImage dxt3 = parseDds(makeDxtFile("DXT3", 256, 256));
    EXPECT_EQ(dxt3.size, 65536u);
    EXPECT_EQ(dxt3.format, 0x83F2u);
    const DdsImage dxt5 = parseDds(makeDxtFile("DXT5", 256, 256));
    EXPECT_EQ(dxt5.size, 65536u);
    EXPECT_EQ(dxt5.format, 0x83F3u);
}

TEST(DdsParse, PartialBlocksRoundUpToWholeBlocks) {
    // 5 x 3 pixels need 2 x 1 blocks.
    EXPECT_EQ(parseDds(makeDxtFile("DXT5", 5, 3)).size, 32u);
    EXPECT_EQ(parseDds(makeDxtFile("DXT3", 5, 3)).size, 32u);
    EXPECT_EQ(parseDds(makeDxtFile("DXT1", 5, 3)).size, 16u);
    EXPECT_EQ(parseDds(makeDxtFile("DXT1", 1, 1)).size, 8u);
}

TEST(DdsParse, KeepsOnlyTheTopLevelWhenMoreFollows) {
    // A mip chain (or any trailing data) after the top level is not part of the image.
    const std::vector<std::uint8_t> payload = patternBytes(32 + 16 + 16);
    const DdsImage image = parseDds(makeDdsBytes("DXT5", 5, 3, 64, payload));
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(image.size, 32u);
    EXPECT_EQ(imageBytes(image), slice(payload, 0, 32));
}

TEST(DdsParse, RejectsAnythingButTheDxtFourCcs) {
    for (const char* code : {"DX10", "DXT2", "DXT4", "ATI2", "dxt1", ""}) {
        SCOPED_TRACE(code);
        const std::uint32_t size = dxtTopLevelBytes("DXT5", 8, 8);
        expectEmptyRecord(parseDds(makeDdsBytes(code, 8, 8, size, patternBytes(size))));
    }
}

TEST(DdsParse, RejectsAMagicThatIsNotDdsSpace) {
    for (const char last : {'!', 'X', '\0', '\n'}) {
        std::vector<std::uint8_t> bytes = makeDxtFile("DXT1", 8, 8);
        bytes[3] = static_cast<std::uint8_t>(last);
        expectEmptyRecord(parseDds(bytes));
    }
    std::vector<std::uint8_t> lowerCase = makeDxtFile("DXT1", 8, 8);
    lowerCase[0] = 'd';
    expectEmptyRecord(parseDds(lowerCase));
}

TEST(DdsParse, RejectsFilesThatEndInsideTheHeader) {
    const std::vector<std::uint8_t> whole = makeDxtFile("DXT1", 4, 4);
    for (const std::size_t length : {0u, 3u, 4u, 20u, 88u, 127u})
        expectEmptyRecord(parseDds(slice(whole, 0, length)));
}

TEST(DdsParse, RejectsAPayloadShorterThanTheLinearSize) {
    // The header promises a full 256 x 256 DXT1 image; the file stops halfway.
    const std::vector<std::uint8_t> bytes =
        makeDdsBytes("DXT1", 256, 256, 32768, patternBytes(16384));
    expectEmptyRecord(parseDds(bytes));
    const std::vector<std::uint8_t> oneShort = makeDdsBytes("DXT1", 4, 4, 8, patternBytes(7));
    expectEmptyRecord(parseDds(oneShort));
}

TEST(DdsParse, RejectsALinearSizeBelowWhatTheUploadReads) {
    // Enough bytes after the header, but the header itself says fewer than GL would read.
    const std::vector<std::uint8_t> bytes = makeDdsBytes("DXT5", 256, 256, 16, patternBytes(65536));
    expectEmptyRecord(parseDds(bytes));
    expectEmptyRecord(parseDds(makeDdsBytes("DXT1", 4, 4, 0, {})));
}

TEST(DdsParse, RejectsAnAbsurdLinearSizeWithoutTrustingIt) {
    expectEmptyRecord(parseDds(makeDdsBytes("DXT1", 4, 4, 0xFFFFFFFFu, patternBytes(8))));
    expectEmptyRecord(parseDds(makeDdsBytes("DXT5", 4, 4, 0x80000000u, patternBytes(16))));
}

TEST(DdsParse, RejectsZeroOrHugeSides) {
    const std::vector<std::uint8_t> payload = patternBytes(64);
    expectEmptyRecord(parseDds(makeDdsBytes("DXT1", 0, 4, 64, payload)));
    expectEmptyRecord(parseDds(makeDdsBytes("DXT1", 4, 0, 64, payload)));
    expectEmptyRecord(parseDds(makeDdsBytes("DXT1", kLargestDdsSide + 1, 4, 64, payload)));
    expectEmptyRecord(parseDds(makeDdsBytes("DXT1", 4, 0xFFFFFFFFu, 64, payload)));
    // Sides whose block count would wrap 32-bit arithmetic back to a tiny size.
    expectEmptyRecord(parseDds(makeDdsBytes("DXT5", 0x40000000u, 0x40000000u, 64, payload)));
}

TEST(DdsParse, AcceptsTheLargestSideWhenTheBytesAreThere) {
    const std::uint32_t size = dxtTopLevelBytes("DXT1", kLargestDdsSide, 4);
    const DdsImage image =
        parseDds(makeDdsBytes("DXT1", kLargestDdsSide, 4, size, patternBytes(size)));
    EXPECT_EQ(image.width, static_cast<std::int32_t>(kLargestDdsSide));
    EXPECT_EQ(image.size, size);
}

// Only one face or slice would reach the texture, and the wrong picture would show.
TEST(DdsParse, CubeMapsAndVolumesAreTurnedDownSilentlyLikeOtherFormats) {
    TempDir dir;
    for (const auto& [name, bytes] : {std::pair{"cube.dds", cubeMapFile()},
                                      std::pair{"volume.dds", volumeFile()}}) {
        SCOPED_TRACE(name);
        expectEmptyRecord(parseDds(bytes));
        const std::string path = dir.write(name, asText(bytes));
        testing::internal::CaptureStdout();
        expectEmptyRecord(loadDds(path));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
}

// A texture the game cannot do without: whatever keeps it from loading, one line names
// the file.
TEST(DdsLoad, RequiredFileThatGivesNothingIsNamedInOneLine) {
    TempDir dir;
    std::vector<std::uint8_t> cut = makeDxtFile("DXT5", 64, 64);
    cut.resize(cut.size() / 2);
    const std::uint32_t size = dxtTopLevelBytes("DXT5", 4, 4);
    struct Case {
        const char* name;
        std::optional<std::string> contents;  // none: the file is missing
        const char* problem;
    };
    const Case cases[] = {
        {"missing.dds", std::nullopt, "FILE_NOT_READ"},
        {"empty.dds", std::string(), "FILE_NOT_READ"},
        {"text.dds", std::string("not a texture at all"), "FORMAT_UNSUPPORTED"},
        {"dx10.dds", asText(makeDdsBytes("DX10", 4, 4, size, patternBytes(size))),
         "FORMAT_UNSUPPORTED"},
        {"cube.dds", asText(cubeMapFile()), "FORMAT_UNSUPPORTED"},
        {"halved.dds", asText(cut), "FILE_MALFORMED"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path =
            c.contents ? dir.write(c.name, *c.contents) : (dir.path() / c.name).string();
        testing::internal::CaptureStdout();
        expectEmptyRecord(loadRequiredDds(path));
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  std::string("ERROR::DDS::") + c.problem + ": " + path + "\n");
    }
    const std::string good = dir.write("good.dds", asText(makeDxtFile("DXT1", 8, 8)));
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadRequiredDds(good).size, 32u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(DdsLoad, MissingFileGivesTheEmptyRecordSilently) {
    testing::internal::CaptureStdout();
    expectEmptyRecord(loadDds("no/such/texture.dds"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(DdsLoad, UnsupportedFormatIsSilent) {
    TempDir dir;
    const std::uint32_t size = dxtTopLevelBytes("DXT5", 4, 4);
    const std::string path =
        dir.write("dx10.dds", asText(makeDdsBytes("DX10", 4, 4, size, patternBytes(size))));
    testing::internal::CaptureStdout();
    expectEmptyRecord(loadDds(path));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(DdsLoad, TruncatedDxtFileIsNamedInOneLine) {
    TempDir dir;
    std::vector<std::uint8_t> bytes = makeDxtFile("DXT3", 64, 64);
    bytes.resize(bytes.size() - 1);
    const std::string path = dir.write("cut.dds", asText(bytes));
    testing::internal::CaptureStdout();
    expectEmptyRecord(loadDds(path));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::DDS::FILE_MALFORMED: " + path + "\n");
}

TEST(DdsLoad, ReadsTheFileItWasGiven) {
    TempDir dir;
    const std::string path = dir.write("tile.dds", asText(makeDxtFile("DXT1", 12, 8)));
    const DdsImage image = loadDds(path);
    EXPECT_EQ(image.width, 12);
    EXPECT_EQ(image.height, 8);
    EXPECT_EQ(imageBytes(image), patternBytes(48));
}

// Files written by other tools (see tests/data/SOURCES.md): the three DXT files load with
// their top level, the extended-header and the uncompressed ones are turned down.
TEST(DdsForeignFiles, DxtFilesLoadTheirTopLevel) {
    struct Expected {
        const char* file;
        GLenum format;
        std::int32_t side;
        std::uint32_t size;
    };
    const Expected files[] = {
        {"dxt1-rgb-4bbp-noalpha_MipMaps-1.dds", 0x83F1, 256, 32768},
        {"dxt3-argb-8bbp-explicitalpha_MipMaps-1.dds", 0x83F2, 256, 65536},
        {"dxt5-argb-8bbp-interpolatedalpha_MipMaps-1.dds", 0x83F3, 256, 65536},
        {"dxt5-colorblock-alpha-issue-4142.dds", 0x83F3, 4, 16},
    };
    for (const Expected& expected : files) {
        SCOPED_TRACE(expected.file);
        const std::string path = kTestDdsDir + expected.file;
        const DdsImage image = loadDds(path);
        EXPECT_EQ(image.format, expected.format);
        EXPECT_EQ(image.width, expected.side);
        EXPECT_EQ(image.height, expected.side);
        ASSERT_EQ(image.size, expected.size);
        EXPECT_EQ(imageBytes(image), slice(readFileBytes(path), 128, expected.size));
    }
}

TEST(DdsForeignFiles, ExtendedHeaderAndUncompressedFilesAreTurnedDownSilently) {
    for (const char* file : {"bc1.dds", "hopper.dds"}) {
        SCOPED_TRACE(file);
        testing::internal::CaptureStdout();
        expectEmptyRecord(loadDds(kTestDdsDir + file));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
}
