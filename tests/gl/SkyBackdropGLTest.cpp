#include "effects/PostProcessingFrameBuffer.h"
#include "effects/SkyBackdrop.h"
#include "support/GlContext.h"

#include <glm/glm.hpp>

#include <algorithm>
#include <vector>

namespace {

void paintFlat(SkyBackdrop& backdrop, const PostProcessingFrameBuffer& target, const glm::vec3& colour) {
    backdrop.beginPainting(target.width, target.height);
    glClearColor(colour.r, colour.g, colour.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Every pixel of the bound read framebuffer's `width` x `height` equals `rgb`.
bool allPixelsAre(int width, int height, const glm::u8vec3& rgb) {
    std::vector<glm::u8vec3> pixels(static_cast<std::size_t>(width * height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return std::all_of(pixels.begin(), pixels.end(), [&](const glm::u8vec3& p) { return p == rgb; });
}

}  // namespace

using SkyBackdropGL = GlTest;

// A new render scale gives the target a new size: the backdrop must be painted again at
// that size and still cover the whole target.
TEST_F(SkyBackdropGL, IsPaintedOncePerTargetSizeAndCoversTheWholeTarget) {
    PostProcessingFrameBuffer target(80, 60);
    SkyBackdrop backdrop;
    EXPECT_TRUE(backdrop.needsPainting(target.width, target.height));
    paintFlat(backdrop, target, glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_FALSE(backdrop.needsPainting(target.width, target.height));
    backdrop.copyInto(target.framebuffer);
    EXPECT_TRUE(allPixelsAre(target.width, target.height, glm::u8vec3(255, 0, 0)));

    target.setScale(0.5f);
    ASSERT_TRUE(backdrop.needsPainting(target.width, target.height));
    paintFlat(backdrop, target, glm::vec3(0.0f, 0.0f, 1.0f));
    backdrop.copyInto(target.framebuffer);
    EXPECT_TRUE(allPixelsAre(target.width, target.height, glm::u8vec3(0, 0, 255)));
}
