#include "render/stbTexture.h"

#include "support/GlContext.h"
#include "support/TempFiles.h"

#include <stb_image.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Decoded {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<unsigned char> bytes;  ///< rows in file order, top first
};

// The images under test sit in assets/textures/ of a temporary working directory.
class ImageTextures : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        fs::create_directories(dir.path() / "assets/textures");
        for (const auto& entry : fs::directory_iterator(imageSource()))
            fs::copy_file(entry.path(), dir.path() / "assets/textures" / entry.path().filename());
    }

    static fs::path imageSource() { return fs::path(QEX_TESTDATA_DIR) / "images"; }

    static Decoded decodeUnflipped(const std::string& name) {
        Decoded image;
        stbi_set_flip_vertically_on_load(0);
        const std::string file = (imageSource() / name).string();
        unsigned char* pixels =
            stbi_load(file.c_str(), &image.width, &image.height, &image.channels, 0);
        if (!pixels) return image;
        image.bytes.assign(pixels, pixels + image.width * image.height * image.channels);
        stbi_image_free(pixels);
        return image;
    }

    static GLint levelParameter(GLuint id, GLint level, GLenum parameter) {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, id);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
        return value;
    }

    static GLint parameter(GLuint id, GLenum name) {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, id);
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }

    static GLint unpackAlignment() {
        GLint value = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
        return value;
    }

    static std::vector<unsigned char> readBack(GLuint id, GLenum format, int channels) {
        const int width = levelParameter(id, 0, GL_TEXTURE_WIDTH);
        const int height = levelParameter(id, 0, GL_TEXTURE_HEIGHT);
        std::vector<unsigned char> bytes(static_cast<size_t>(width * height * channels));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, bytes.data());
        return bytes;
    }

    /// The decoded file with its rows in reverse order, as the texture should hold them.
    static std::vector<unsigned char> flippedRows(const Decoded& image) {
        const size_t row = static_cast<size_t>(image.width * image.channels);
        std::vector<unsigned char> flipped;
        for (int y = image.height - 1; y >= 0; --y)
            flipped.insert(flipped.end(), image.bytes.begin() + static_cast<long>(y * row),
                           image.bytes.begin() + static_cast<long>((y + 1) * row));
        return flipped;
    }

    static std::string messageOfLoading(const std::string& name, std::unique_ptr<stbTexture>& out) {
        testing::internal::CaptureStdout();
        out = std::make_unique<stbTexture>(name);
        return testing::internal::GetCapturedStdout();
    }

    TempDir dir;
    ScopedWorkingDirectory cwd{dir.path()};
};

}  // namespace

TEST_F(ImageTextures, RgbaPngUploadsAsRgbaAndLeavesTheUnpackAlignment) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const stbTexture texture("basn6a08.png");
    ASSERT_TRUE(texture.loaded);
    EXPECT_EQ(levelParameter(texture.id, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(unpackAlignment(), 4);
    EXPECT_EQ(readBack(texture.id, GL_RGBA, 4), flippedRows(decodeUnflipped("basn6a08.png")));
}

TEST_F(ImageTextures, RgbJpegUploadsAsRgbWithByteAlignedRows) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const stbTexture texture("progressive_test_32x23.jpg");
    ASSERT_TRUE(texture.loaded);
    EXPECT_EQ(levelParameter(texture.id, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    EXPECT_EQ(levelParameter(texture.id, 0, GL_TEXTURE_WIDTH), 32);
    EXPECT_EQ(levelParameter(texture.id, 0, GL_TEXTURE_HEIGHT), 23);
    EXPECT_EQ(unpackAlignment(), 1);
}

// v = 1 must address the top row of the file: the texture's last row is the file's first.
TEST_F(ImageTextures, RowsAreFlippedVertically) {
    const Decoded file = decodeUnflipped("basn2c08.png");
    const std::vector<unsigned char> flipped = flippedRows(file);
    ASSERT_NE(flipped, file.bytes) << "the image must not be symmetric for this test";
    const stbTexture texture("basn2c08.png");
    EXPECT_EQ(readBack(texture.id, GL_RGB, 3), flipped);
}

TEST_F(ImageTextures, GreyImagesUploadTheirOwnBytesAndShowAsGrey) {
    const stbTexture grey("basn0g08.png");
    ASSERT_TRUE(grey.loaded);
    EXPECT_EQ(readBack(grey.id, GL_RED, 1), flippedRows(decodeUnflipped("basn0g08.png")));
    EXPECT_EQ(parameter(grey.id, GL_TEXTURE_SWIZZLE_G), GL_RED);
    EXPECT_EQ(parameter(grey.id, GL_TEXTURE_SWIZZLE_A), GL_ONE);

    const stbTexture greyAlpha("basn4a08.png");
    ASSERT_TRUE(greyAlpha.loaded);
    EXPECT_EQ(readBack(greyAlpha.id, GL_RG, 2), flippedRows(decodeUnflipped("basn4a08.png")));
    EXPECT_EQ(parameter(greyAlpha.id, GL_TEXTURE_SWIZZLE_B), GL_RED);
    EXPECT_EQ(parameter(greyAlpha.id, GL_TEXTURE_SWIZZLE_A), GL_GREEN);

    const stbTexture greyJpeg("hopper_gray.jpg");
    EXPECT_TRUE(greyJpeg.loaded);
    EXPECT_EQ(levelParameter(greyJpeg.id, 0, GL_TEXTURE_WIDTH), 128);
}

TEST_F(ImageTextures, UnusualButValidFilesLoad) {
    const stbTexture interlaced("basi6a08.png");
    const stbTexture plain("basn6a08.png");
    EXPECT_EQ(readBack(interlaced.id, GL_RGBA, 4), readBack(plain.id, GL_RGBA, 4));

    const stbTexture sixteenBit("basn6a16.png");
    EXPECT_TRUE(sixteenBit.loaded);
    EXPECT_EQ(levelParameter(sixteenBit.id, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);

    const stbTexture cmyk("pil_sample_cmyk.jpg");
    EXPECT_TRUE(cmyk.loaded);
    EXPECT_EQ(levelParameter(cmyk.id, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
}

TEST_F(ImageTextures, LoadedTextureHasAMipmapChainAndRepeats) {
    const stbTexture texture("basn2c08.png");
    EXPECT_EQ(levelParameter(texture.id, 5, GL_TEXTURE_WIDTH), 1);  // 32 -> 1 in five halvings
    EXPECT_EQ(parameter(texture.id, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(parameter(texture.id, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(texture.id, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(texture.id, GL_TEXTURE_WRAP_T), GL_REPEAT);
}

TEST_F(ImageTextures, LoadingLeavesNoTextureBound) {
    const stbTexture texture("basn2c08.png");
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(ImageTextures, MissingFileNamesTheBareFileAndKeepsAnEmptyTexture) {
    std::unique_ptr<stbTexture> texture;
    EXPECT_EQ(messageOfLoading("nowhere.png", texture), "Failed to load texture nowhere.png\n");
    EXPECT_FALSE(texture->loaded);
    EXPECT_NE(texture->id, 0u);
    EXPECT_TRUE(glIsTexture(texture->id));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture->id);  // the empty texture stays bound
}

TEST_F(ImageTextures, CorruptFilesReportAndStayEmpty) {
    for (const std::string name : {"xs1n0g01.png", "xdtn0g01.png"}) {
        std::unique_ptr<stbTexture> texture;
        EXPECT_EQ(messageOfLoading(name, texture), "Failed to load texture " + name + "\n");
        EXPECT_FALSE(texture->loaded) << name;
        EXPECT_NE(texture->id, 0u) << name;
    }
}

// The decoder may or may not accept a progressive JPEG cut off mid-scan; either way the
// texture is usable and a failure is reported.
TEST_F(ImageTextures, TruncatedJpegIsReportedOrLoaded) {
    std::unique_ptr<stbTexture> texture;
    const std::string message = messageOfLoading("truncated_jpeg.jpg", texture);
    EXPECT_EQ(message.empty(), texture->loaded);
    EXPECT_TRUE(glIsTexture(texture->id));
}

TEST_F(ImageTextures, DestructionDeletesTheTextureObject) {
    GLuint id = 0;
    {
        const stbTexture texture("basn2c08.png");
        id = texture.id;
        ASSERT_TRUE(glIsTexture(id));
    }
    EXPECT_FALSE(glIsTexture(id));
}

// The game's own pictures, made by the content generator into the build's assets/.
TEST_F(ImageTextures, GameImagesAllLoad) {
    const ScopedWorkingDirectory inBuild(QEX_BUILD_DIR);
    for (const char* name :
         {"mars_texture.jpg", "rocky.jpg", "sky.jpg", "YouWin01.png", "YouLose01.png", "shield.jpg",
          "enemyBullet.jpg", "playerBullet.jpg", "missile.jpg", "Heavy_Rounds_modded.png"}) {
        const stbTexture texture(name);
        EXPECT_TRUE(texture.loaded) << name;
    }
}
