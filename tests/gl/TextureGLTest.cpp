#include "framework/Texture.h"

#include "support/DdsBytes.h"
#include "support/GlContext.h"
#include "support/TempFiles.h"

#include <filesystem>

namespace {

GLint levelParameter(GLint level, GLenum name) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

std::vector<std::uint8_t> compressedTopLevel(const Texture& texture) {
    glBindTexture(GL_TEXTURE_2D, texture.handle);
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(levelParameter(0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE)));
    glGetCompressedTexImage(GL_TEXTURE_2D, 0, bytes.data());
    return bytes;
}

// Texture files live in a temporary working directory, as assets/textures/ does for the game.
class TextureFiles : public GlTest {
protected:
    void writeTexture(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        dir.write("assets/textures/" + name, asText(bytes));
    }
    TempDir dir;
    ScopedWorkingDirectory cwd{dir.path()};
};

}  // namespace

TEST_F(TextureFiles, CompressedLevelReadsBackEqualToThePayload) {
    for (const char* code : {"DXT1", "DXT3", "DXT5"}) {
        SCOPED_TRACE(code);
        writeTexture("round.dds", makeDxtFile(code, 64, 32));
        const Texture texture("round.dds");
        ASSERT_TRUE(texture.loaded);
        EXPECT_EQ(compressedTopLevel(texture), patternBytes(dxtTopLevelBytes(code, 64, 32)));
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 64);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 32);
    }
}

TEST_F(TextureFiles, UploadUsesTheFileFormatAndGeneratesMipmaps) {
    writeTexture("tiles.dds", makeDxtFile("DXT5", 16, 16));
    const Texture texture("tiles.dds");
    ASSERT_TRUE(texture.loaded);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(texture.handle));  // left bound after loading
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_COMPRESSED_RGBA_S3TC_DXT5_EXT);
    EXPECT_EQ(levelParameter(4, GL_TEXTURE_WIDTH), 1);  // 16, 8, 4, 2, 1
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureFiles, OddSizedImageUploadsItsPartialBlocks) {
    writeTexture("odd.dds", makeDxtFile("DXT5", 5, 3));
    const Texture texture("odd.dds");
    ASSERT_TRUE(texture.loaded);
    EXPECT_EQ(compressedTopLevel(texture), patternBytes(32));
}

TEST_F(TextureFiles, MissingFileIsNamedAndLeavesItUnloaded) {
    testing::internal::CaptureStdout();
    const Texture texture("missing.dds");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR::DDS::FILE_NOT_READ: assets/textures/missing.dds\n");
    EXPECT_FALSE(texture.loaded);
    EXPECT_EQ(texture.handle, 0u);
}

TEST_F(TextureFiles, TruncatedFileLeavesItUnloaded) {
    std::vector<std::uint8_t> bytes = makeDxtFile("DXT1", 256, 256);
    bytes.resize(bytes.size() / 2);
    writeTexture("cut.dds", bytes);
    testing::internal::CaptureStdout();
    const Texture texture("cut.dds");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR::DDS::FILE_MALFORMED: assets/textures/cut.dds\n");
    EXPECT_FALSE(texture.loaded);
}

TEST_F(TextureFiles, DestructionDeletesTheGlTexture) {
    writeTexture("gone.dds", makeDxtFile("DXT3", 4, 4));
    GLuint handle = 0;
    {
        const Texture texture("gone.dds");
        ASSERT_TRUE(texture.loaded);
        handle = texture.handle;
        EXPECT_TRUE(glIsTexture(handle));
    }
    EXPECT_FALSE(glIsTexture(handle));
}

// Files written by other tools (tests/data/SOURCES.md), uploaded as the game would.
TEST_F(TextureFiles, ForeignDxtFilesUploadTheirTopLevel) {
    const std::filesystem::path source = std::filesystem::path(QEX_TESTDATA_DIR) / "dds";
    const struct {
        const char* file;
        GLenum format;
        std::size_t size;
    } files[] = {
        {"dxt1-rgb-4bbp-noalpha_MipMaps-1.dds", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 32768},
        {"dxt3-argb-8bbp-explicitalpha_MipMaps-1.dds", GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 65536},
        {"dxt5-argb-8bbp-interpolatedalpha_MipMaps-1.dds", GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 65536},
        {"dxt5-colorblock-alpha-issue-4142.dds", GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 16},
    };
    for (const auto& expected : files) {
        SCOPED_TRACE(expected.file);
        const std::vector<std::uint8_t> bytes = readFileBytes(source / expected.file);
        writeTexture(expected.file, bytes);
        const Texture texture(expected.file);
        ASSERT_TRUE(texture.loaded);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT),
                  static_cast<GLint>(expected.format));
        const auto payloadStart = bytes.begin() + 128;
        const std::vector<std::uint8_t> payload(
            payloadStart, payloadStart + static_cast<std::ptrdiff_t>(expected.size));
        EXPECT_EQ(compressedTopLevel(texture), payload);
    }
}

TEST_F(TextureFiles, ForeignNonDxtFilesStayUnloaded) {
    const std::filesystem::path source = std::filesystem::path(QEX_TESTDATA_DIR) / "dds";
    for (const char* file : {"bc1.dds", "hopper.dds"}) {
        SCOPED_TRACE(file);
        writeTexture(file, readFileBytes(source / file));
        const Texture texture(file);
        EXPECT_FALSE(texture.loaded);
        EXPECT_EQ(texture.handle, 0u);
    }
}
