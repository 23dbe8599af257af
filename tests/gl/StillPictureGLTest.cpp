#include "effects/PostProcessingFrameBuffer.h"
#include "effects/StillPicture.h"
#include "framework/Shader.h"
#include "support/GlContext.h"

#include <glm/glm.hpp>

#include <algorithm>
#include <vector>

namespace {

void paintFlat(StillPicture& picture, int width, int height, const glm::vec3& colour) {
    picture.beginPainting(width, height);
    glClearColor(colour.r, colour.g, colour.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

// How many pixels of the bound read framebuffer's `width` x `height` equal `rgb`.
long pixelsAlike(int width, int height, const glm::u8vec3& rgb) {
    std::vector<glm::u8vec3> pixels(static_cast<std::size_t>(width * height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return std::count(pixels.begin(), pixels.end(), rgb);
}

}  // namespace

using StillPictureGL = GlTest;

// A new render scale gives the target a new size: the sky must be painted again at that
// size and still cover the whole target. A smaller picture lands where it is copied to,
// texel for texel, whether copied or drawn as the window takes it.
TEST_F(StillPictureGL, IsPaintedOncePerSizeAndCopiedWhereAsked) {
    PostProcessingFrameBuffer target(80, 60);
    const int area = target.width * target.height;
    StillPicture picture;
    EXPECT_TRUE(picture.needsPainting(target.width, target.height));
    paintFlat(picture, target.width, target.height, glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_FALSE(picture.needsPainting(target.width, target.height));
    picture.copyInto(target.framebuffer);
    EXPECT_EQ(pixelsAlike(target.width, target.height, glm::u8vec3(255, 0, 0)), area);

    target.setScale(0.5f);
    ASSERT_TRUE(picture.needsPainting(target.width, target.height));
    paintFlat(picture, target.width, target.height, glm::vec3(0.0f, 0.0f, 1.0f));
    picture.copyInto(target.framebuffer);
    EXPECT_EQ(pixelsAlike(target.width, target.height, glm::u8vec3(0, 0, 255)), area / 4);

    // A green picture with a red left column, by a copy and by the window's draw alike.
    paintFlat(picture, 4, 3, glm::vec3(0.0f, 1.0f, 0.0f));
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 3);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    const Shader stretch("postprocessing.vert", "postprocessing_stretch.frag");
    for (const bool drawn : {false, true}) {
        if (drawn) {
            glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            target.copyPicture(picture.painting(), 30, 20, 4, 3, stretch);
        } else {
            picture.copyInto(target.framebuffer, 30, 20);
        }
        EXPECT_EQ(pixelsAlike(target.width, target.height, glm::u8vec3(0, 255, 0)), 9) << drawn;
        EXPECT_EQ(pixelsAlike(target.width, target.height, glm::u8vec3(255, 0, 0)), 3) << drawn;
        glm::u8vec3 corners[2];
        glReadPixels(30, 20, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, &corners[0]);
        glReadPixels(33, 22, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, &corners[1]);
        EXPECT_EQ(corners[0], glm::u8vec3(255, 0, 0)) << drawn;
        EXPECT_EQ(corners[1], glm::u8vec3(0, 255, 0)) << drawn;
    }
}
