// The HUD's text as the game draws it: the generated atlas and the text shader from the
// build's assets, one batch, the shell's window-pixel projection.

#include "render/TextBatch.h"

#include "app/SceneLighting.h"
#include "effects/PostProcessingFrameBuffer.h"
#include "effects/StillPicture.h"
#include "framework/Shader.h"
#include "render/GlyphQuads.h"
#include "support/GlContext.h"
#include "support/OffscreenTarget.h"

#include <memory>
#include <optional>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;
const glm::vec4 kGrey(0.5f, 0.5f, 0.5f, 1.0f);

class TextDrawing : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        shader = std::make_unique<Shader>("HudText.vert", "HudText.frag");
        batch = std::make_unique<TextBatch>(shader.get());
        target.emplace(kWidth, kHeight);
    }

    // Blended over grey, as the HUD is drawn over the scene.
    void draw() {
        target->bindAndClear(kGrey);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        batch->draw(quads, hudProjection(static_cast<float>(kWidth), static_cast<float>(kHeight)));
        glDisable(GL_BLEND);
    }

    bool isGrey(const glm::u8vec4& p) const {
        return p.r > 120 && p.r < 136 && p.g == p.r && p.b == p.r;
    }

    // Pixels of [left, right) x [top, bottom) that differ from the grey background.
    int inkIn(int left, int top, int right, int bottom) const {
        int ink = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) ink += !isGrey(target->pixel(x, y));
        return ink;
    }

    std::unique_ptr<Shader> shader;
    std::unique_ptr<TextBatch> batch;
    std::optional<OffscreenTarget> target;
    GlyphQuads quads;
};

}  // namespace

TEST_F(TextDrawing, ARectangleCoversExactlyItsPixelsInItsColour) {
    quads.addRect({50.0f, 25.0f, 100.0f, 50.0f}, glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
    draw();
    EXPECT_EQ(target->countPixels(glm::u8vec4(255, 0, 0, 255)), 100 * 50);
    EXPECT_EQ(inkIn(0, 0, kWidth, kHeight), 100 * 50);
}

// Glyphs, not blocks and not blanks, upright, and nothing outside their cells.
TEST_F(TextDrawing, TextInksOnlyItsCellsAndStandsUpright) {
    constexpr float kCell = 56.0f;  // the atlas's own size: one texel a pixel
    constexpr int kTop = 20;
    constexpr int kBarLeft = 20;
    constexpr int kLineLeft = 120;
    constexpr int kCellWidth = 32;
    quads.addText("T", kBarLeft, kTop, kCell, glm::vec4(1.0f));
    quads.addText("_", kLineLeft, kTop, kCell, glm::vec4(1.0f));
    draw();
    const int bar = inkIn(kBarLeft, kTop, kBarLeft + kCellWidth, kTop + 56);
    const int line = inkIn(kLineLeft, kTop, kLineLeft + kCellWidth, kTop + 56);
    EXPECT_EQ(inkIn(0, 0, kWidth, kHeight), bar + line) << "ink outside the glyphs' cells";
    EXPECT_GT(bar, 150);
    EXPECT_LT(bar, kCellWidth * 56 / 2) << "a block, not a glyph";

    // A T's bar is at its top; the underscore lies at the bottom of its cell.
    EXPECT_GT(inkIn(kBarLeft, kTop, kBarLeft + kCellWidth, kTop + 28),
              2 * inkIn(kBarLeft, kTop + 28, kBarLeft + kCellWidth, kTop + 56));
    EXPECT_EQ(inkIn(kLineLeft, kTop, kLineLeft + kCellWidth, kTop + 28), 0);
    EXPECT_GT(inkIn(kLineLeft, kTop + 28, kLineLeft + kCellWidth, kTop + 56), 20);
}

// Painted apart and laid over the scene, as the text that stands still is, text over a
// translucent backdrop blends as drawn straight onto it (the window's alpha aside).
TEST_F(TextDrawing, TextPaintedToLayOverBlendsAsDrawnStraight) {
    quads.addRect({10.0f, 10.0f, 180.0f, 70.0f}, glm::vec4(0.3f, 0.0f, 0.1f, 0.6f));
    quads.addText("QEX", 20.0f, 15.0f, 56.0f, glm::vec4(1.0f, 0.8f, 0.6f, 0.9f));
    draw();
    const std::vector<glm::u8vec4> straight = target->pixelsTopDown();

    StillPicture still;
    const PostProcessingFrameBuffer copier(kWidth, kHeight);
    const Shader stretch("postprocessing.vert", "postprocessing_stretch.frag");
    glEnable(GL_BLEND);
    still.beginPaintingToLayOver(kWidth, kHeight);
    batch->draw(quads, hudProjection(static_cast<float>(kWidth), static_cast<float>(kHeight)));
    target->bindAndClear(kGrey);
    StillPicture::useLayOverBlending();
    copier.copyPicture(still.painting(), 0, 0, kWidth, kHeight, stretch);
    glDisable(GL_BLEND);

    const std::vector<glm::u8vec4> laidOver = target->pixelsTopDown();
    int mostApart = 0;
    for (std::size_t i = 0; i < straight.size(); ++i)
        for (int c = 0; c < 3; ++c) mostApart = std::max(mostApart, std::abs(int(straight[i][c]) - int(laidOver[i][c])));
    EXPECT_LE(mostApart, 2);
    EXPECT_GT(inkIn(0, 0, kWidth, kHeight), 180 * 60) << "nothing drawn to compare";
}
