#include "render/HUD.h"

#include "app/SceneLighting.h"
#include "framework/Shader.h"
#include "render/stbTexture.h"
#include "support/GlContext.h"
#include "support/OffscreenTarget.h"
#include "support/TempFiles.h"

#include <stb_image.h>

#include <filesystem>
#include <memory>
#include <optional>

namespace fs = std::filesystem;

namespace {

const char* const kHudVertex = R"(#version 430 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texCoords;
uniform mat4 viewProjMatrix;
uniform mat4 modelMatrix;
out vec2 uv;
void main() {
    uv = texCoords;
    gl_Position = viewProjMatrix * modelMatrix * vec4(position, 0.0, 1.0);
}
)";
const char* const kHudFragment = R"(#version 430 core
in vec2 uv;
uniform vec4 myCol;
uniform int hasTextureImg;
uniform sampler2D image;
out vec4 color;
void main() { color = hasTextureImg == 1 ? texture(image, uv) : myCol; }
)";

constexpr int kWidth = 200;
constexpr int kHeight = 100;
const glm::vec4 kRed(1.0f, 0.0f, 0.0f, 1.0f);
const glm::u8vec4 kRedPixel(255, 0, 0, 255);

// Pixels are counted against a window-sized offscreen target with the shell's projection.
class HudDrawing : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        dir.write("assets/shader/hud.vert", kHudVertex);
        dir.write("assets/shader/hud.frag", kHudFragment);
        fs::create_directories(dir.path() / "assets/textures");
        fs::copy_file(fs::path(QEX_TESTDATA_DIR) / "images/basn2c08.png",
                      dir.path() / "assets/textures/basn2c08.png");
        shader = std::make_unique<Shader>("hud.vert", "hud.frag");
        target.emplace(kWidth, kHeight);
        setHudProjection(*shader, static_cast<float>(kWidth), static_cast<float>(kHeight));
    }

    std::unique_ptr<HUD> bar(float x, float y, float w, float h) {
        return std::make_unique<HUD>(makeHudQuad(x, y, w, h, kRed), shader.get(),
                                     static_cast<float>(kWidth), static_cast<float>(kHeight));
    }

    void drawAlone(const HUD& hud) {
        target->bindAndClear();
        hud.draw();
    }

    /// True when exactly the pixels of [left, right) x [top, bottom) are red.
    bool coversExactly(int left, int top, int right, int bottom) const {
        const std::vector<glm::u8vec4> pixels = target->pixelsTopDown();
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const bool inside = x >= left && x < right && y >= top && y < bottom;
                if ((pixels[static_cast<size_t>(y * kWidth + x)] == kRedPixel) != inside)
                    return false;
            }
        }
        return true;
    }

    TempDir dir;
    ScopedWorkingDirectory cwd{dir.path()};
    std::unique_ptr<Shader> shader;
    std::optional<OffscreenTarget> target;  ///< made once the context is there
};

}  // namespace

TEST_F(HudDrawing, FullWindowQuadCoversExactlyTheWindow) {
    const auto background = bar(0.0f, 0.0f, 1.0f, 1.0f);
    drawAlone(*background);
    EXPECT_TRUE(coversExactly(0, 0, kWidth, kHeight));
}

TEST_F(HudDrawing, BarCoversItsFractionOfTheWindowFromTheTopLeft) {
    const auto health = bar(0.25f, 0.5f, 0.5f, 0.25f);
    drawAlone(*health);
    EXPECT_TRUE(coversExactly(50, 50, 150, 75));
}

TEST_F(HudDrawing, FillShrinksFromTheRightAndKeepsTheLeftEdge) {
    const auto health = bar(0.25f, 0.5f, 0.5f, 0.25f);
    health->setFill(5, 10);
    drawAlone(*health);
    EXPECT_TRUE(coversExactly(50, 50, 100, 75));
    EXPECT_FLOAT_EQ(health->currentFill, 5.0f);
    EXPECT_FLOAT_EQ(health->maxFill, 10.0f);
}

TEST_F(HudDrawing, EmptyFillShowsNothingAndFullFillRestoresTheBar) {
    const auto health = bar(0.25f, 0.5f, 0.5f, 0.25f);
    health->setFill(0.0f, 10.0f);
    drawAlone(*health);
    EXPECT_EQ(target->countPixels(kRedPixel), 0);
    health->setFill(10.0f, 10.0f);
    drawAlone(*health);
    EXPECT_TRUE(coversExactly(50, 50, 150, 75));
}

TEST_F(HudDrawing, FillAboveMaximumWidensTheBar) {
    const auto ammunition = bar(0.25f, 0.5f, 0.5f, 0.25f);
    ammunition->setFill(15.0f, 10.0f);
    drawAlone(*ammunition);
    EXPECT_TRUE(coversExactly(50, 50, 200, 75));
}

// A division by zero would also draw nothing, through a matrix of NaN or infinity, so the
// matrix itself must be a sound zero-width placement.
TEST_F(HudDrawing, ZeroMaximumShowsAnEmptyBar) {
    const auto ammunition = bar(0.25f, 0.5f, 0.5f, 0.25f);
    for (float current : {0.0f, 3.0f}) {
        ammunition->setFill(current, 0.0f);
        drawAlone(*ammunition);
        EXPECT_EQ(target->countPixels(kRedPixel), 0) << current;
        EXPECT_EQ(ammunition->modelMatrix[0][0], 0.0f) << current;
        EXPECT_FLOAT_EQ(ammunition->modelMatrix[3][0], 50.0f) << current;  // left edge kept
        EXPECT_FLOAT_EQ(ammunition->modelMatrix[1][1], static_cast<float>(kHeight)) << current;
    }
}

// Position (0, 0) carries v = 1, the top row of the file: the picture shows upright.
TEST_F(HudDrawing, PictureShowsUprightAtOneTexelPerPixel) {
    const HUD picture(makeHudQuad(0.25f, 0.0f, 0.16f, 0.32f, kRed), shader.get(), "basn2c08.png",
                      static_cast<float>(kWidth), static_cast<float>(kHeight));
    ASSERT_TRUE(picture.texture->loaded);
    drawAlone(picture);

    stbi_set_flip_vertically_on_load(0);
    int w = 0, h = 0, n = 0;
    const std::string file = (fs::path(QEX_TESTDATA_DIR) / "images/basn2c08.png").string();
    unsigned char* expected = stbi_load(file.c_str(), &w, &h, &n, 3);
    ASSERT_NE(expected, nullptr);
    const std::vector<glm::u8vec4> pixels = target->pixelsTopDown();
    int mismatches = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const glm::u8vec4 drawn = pixels[static_cast<size_t>(y * kWidth + 50 + x)];
            const unsigned char* texel = expected + 3 * (y * w + x);
            for (int c = 0; c < 3; ++c) mismatches += std::abs(drawn[c] - texel[c]) > 1;
        }
    }
    stbi_image_free(expected);
    EXPECT_EQ(mismatches, 0);
}

// The level the minifying filter would pick for a picture standing at its drawn size.
TEST(HudPictureLevel, IsTheMipLevelNearestTheDrawnSize) {
    struct Case { int width, height; float drawnWidth, drawnHeight; int level; };
    const Case cases[] = {
        {1024, 640, 960.0f, 540.0f, 0},   // full HD end picture: a little smaller
        {1024, 640, 2000.0f, 1300.0f, 0}, // drawn larger
        {1024, 640, 400.0f, 400.0f, 1},   // 800 x 800: 2.56 times smaller across
        {1024, 640, 128.0f, 80.0f, 3},
        {1024, 640, 1.0f, 1.0f, 10},      // no level past the last
        {1024, 640, 0.0f, 80.0f, 0},      // no size, or no picture
        {0, 640, 128.0f, 80.0f, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mipLevelNearest(c.width, c.height, c.drawnWidth, c.drawnHeight), c.level)
            << c.width << "x" << c.height << " over " << c.drawnWidth << "x" << c.drawnHeight;
}

TEST_F(HudDrawing, PictureThatFailedToLoadDrawsTheFlatColour) {
    testing::internal::CaptureStdout();
    const HUD picture(makeHudQuad(0.0f, 0.0f, 1.0f, 1.0f, kRed), shader.get(), "YouWin01.png",
                      static_cast<float>(kWidth), static_cast<float>(kHeight));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to load texture YouWin01.png\n");
    drawAlone(picture);
    EXPECT_TRUE(coversExactly(0, 0, kWidth, kHeight));
    GLint flag = -1;
    glGetUniformiv(shader->program, glGetUniformLocation(shader->program, "hasTextureImg"), &flag);
    EXPECT_EQ(flag, 0);
}

TEST_F(HudDrawing, DestructionReleasesTheVertexArrayAndBuffers) {
    GLuint vao = 0;
    GLuint positions = 0;
    GLuint texCoords = 0;
    {
        testing::internal::CaptureStdout();
        const HUD picture(makeHudQuad(0.0f, 0.0f, 1.0f, 1.0f, kRed), shader.get(), "basn2c08.png",
                          static_cast<float>(kWidth), static_cast<float>(kHeight));
        testing::internal::GetCapturedStdout();
        vao = picture.vao;
        positions = picture.positionBuffer;
        texCoords = picture.textureCoordinateBuffer;
        ASSERT_TRUE(glIsVertexArray(vao));
        ASSERT_TRUE(glIsBuffer(texCoords));
    }
    EXPECT_FALSE(glIsVertexArray(vao));
    EXPECT_FALSE(glIsBuffer(positions));
    EXPECT_FALSE(glIsBuffer(texCoords));
}

TEST_F(HudDrawing, ColourQuadHasNoTextureCoordinates) {
    const auto health = bar(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(health->texture, nullptr);
    EXPECT_EQ(health->textureCoordinateBuffer, 0u);
    EXPECT_FLOAT_EQ(health->currentFill, 1.0f);
    EXPECT_FLOAT_EQ(health->maxFill, 1.0f);
}
