#include "effects/PostProcessingFrameBuffer.h"

#include "framework/Shader.h"
#include "support/GlContext.h"

#include <array>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::array<GLint, 2> textureSize(GLuint texture) {
    std::array<GLint, 2> size{};
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size[0]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size[1]);
    glBindTexture(GL_TEXTURE_2D, 0);
    return size;
}

std::array<GLint, 2> renderbufferSize(GLuint renderbuffer) {
    std::array<GLint, 2> size{};
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &size[0]);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &size[1]);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return size;
}

GLint attachedName(GLenum attachment) {
    GLint name = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    return name;
}

}  // namespace

TEST_F(GlTest, TargetIsCompleteWithWindowSizedAttachments) {
    testing::internal::CaptureStdout();
    const PostProcessingFrameBuffer target(320, 240);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // no incomplete-framebuffer line

    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GL_FRAMEBUFFER_COMPLETE);
    EXPECT_EQ(attachedName(GL_COLOR_ATTACHMENT0), static_cast<GLint>(target.colorTexture));
    EXPECT_EQ(attachedName(GL_DEPTH_STENCIL_ATTACHMENT),
              static_cast<GLint>(target.depthStencilBuffer));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    EXPECT_EQ(textureSize(target.colorTexture), (std::array<GLint, 2>{320, 240}));
    EXPECT_EQ(renderbufferSize(target.depthStencilBuffer), (std::array<GLint, 2>{320, 240}));
    GLint format = 0;
    glBindRenderbuffer(GL_RENDERBUFFER, target.depthStencilBuffer);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_INTERNAL_FORMAT, &format);
    EXPECT_EQ(format, GL_DEPTH24_STENCIL8);
}

TEST_F(GlTest, ResizeKeepsTheNamesAndChangesTheSize) {
    PostProcessingFrameBuffer target(320, 240);
    const PostProcessingFrameBuffer copy = target;  // a copy sees the same GL objects
    target.resize(1024, 768);

    EXPECT_EQ(textureSize(copy.colorTexture), (std::array<GLint, 2>{1024, 768}));
    EXPECT_EQ(renderbufferSize(copy.depthStencilBuffer), (std::array<GLint, 2>{1024, 768}));
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    EXPECT_EQ(attachedName(GL_COLOR_ATTACHMENT0), static_cast<GLint>(target.colorTexture));
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GL_FRAMEBUFFER_COMPLETE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(GlTest, QuadCoversClipSpaceWithTextureOriginLowerLeft) {
    const PostProcessingFrameBuffer target(64, 64);
    const std::array<float, 24> expected = {-1, 1, 0, 1, -1, -1, 0, 0, 1, -1, 1, 0,
                                            -1, 1, 0, 1, 1,  -1, 1, 0, 1, 1,  1, 1};
    EXPECT_EQ(target.quadVertices, expected);

    std::array<float, 24> uploaded{};
    glBindBuffer(GL_ARRAY_BUFFER, target.quadVbo);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(uploaded), uploaded.data());
    EXPECT_EQ(uploaded, expected);

    GLint stride = 0;
    GLint offset = 0;
    glBindVertexArray(target.quadVao);
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
    EXPECT_EQ(stride, 16);
    void* pointer = nullptr;
    glGetVertexAttribPointerv(1, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
    offset = static_cast<GLint>(reinterpret_cast<std::intptr_t>(pointer));
    EXPECT_EQ(offset, 8);
}

// A window resize keeps the scale, and the scale keeps within its range. Below full size no
// side is a power of two.
TEST_F(GlTest, TargetIsTheWindowTimesTheRenderScale) {
    PostProcessingFrameBuffer target(320, 240, 0.5f);
    const auto expectSize = [&](std::array<GLint, 2> size, const char* step) {
        EXPECT_EQ((std::array<GLint, 2>{target.width, target.height}), size) << step;
        EXPECT_EQ(textureSize(target.colorTexture), size) << step;
        EXPECT_EQ(renderbufferSize(target.depthStencilBuffer), size) << step;
    };
    expectSize({160, 120}, "built at half size");
    target.resize(1000, 500);
    expectSize({500, 250}, "window resized");
    target.setScale(0.1f);
    expectSize({250, 125}, "scale below the least");
    target.setScale(1.0f);
    expectSize({1000, 500}, "full size");
    target.resize(1024, 720);
    expectSize({1024, 720}, "full size, a side a power of two");
    target.setScale(0.5f);
    expectSize({511, 360}, "half size, a side kept off a power of two");
}

// A window of `samples` samples and no depth buffer, as the game opens it.
struct WindowLike {
    explicit WindowLike(int size, int samples) {
        glGenFramebuffers(1, &framebuffer);
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGB8, size, size);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    }
    ~WindowLike() {
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &colour);
    }
    GLuint framebuffer = 0;
    GLuint colour = 0;
};

// The picture in `window`, through a same-size blit when it is multisampled.
std::vector<unsigned char> readBack(GLuint window, int size) {
    const PostProcessingFrameBuffer plain(size, size);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, window);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, plain.framebuffer);
    glBlitFramebuffer(0, 0, size, size, 0, 0, size, size, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, plain.framebuffer);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(size * size * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return pixels;
}

// The resolve pass as the frame loop runs it: what lands in the window is the scene
// drawn into the target, stretched over the window at any render scale and into a window
// of any multisampling the settings allow, give or take the gentle look the
// post-processing applies (the same at every scale), and without a GL error. A share left
// out for a picture keeps what the window held, and only that share.
TEST_F(GlTest, ResolvedFrameMatchesTheSceneDrawnIntoTheTarget) {
    constexpr int kSize = 64;
    const Shader resolve("postprocessing.vert", "postprocessing.frag");  // the game's, from the build
    const Shader edges("postprocessing.vert", "postprocessing_edges.frag");
    const Shader grade("postprocessing.vert", "postprocessing_grade.frag");
    const Shader stretch("postprocessing.vert", "postprocessing_stretch.frag");
    const WindowShare picture{0.25f, 0.25f, 0.5f, 0.5f};  // pixels 16 to 48 each way
    const std::array<int, 3> windowBefore = {0, 255, 0};
    GLint mostSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &mostSamples);
    std::array<int, 6> gradedAtFullSize{};  // a pixel of each half, away from every edge
    for (const bool pictureOver : {false, true})
    for (const int samples : {0, 4, std::min(16, int(mostSamples))})
    for (const float scale : {1.0f, 0.7f, 0.5f}) {
        PostProcessingFrameBuffer target(kSize, kSize, scale);
        target.leaveOut(pictureOver ? std::optional(picture) : std::nullopt);

        // Scene: left half dark blue, right half warm orange, drawn with scissored clears.
        glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
        glViewport(0, 0, target.width, target.height);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, target.width / 2, target.height);
        glClearColor(0.1f, 0.2f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(target.width / 2, 0, target.width - target.width / 2, target.height);
        glClearColor(0.9f, 0.5f, 0.1f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        const std::array<std::array<int, 3>, 2> halves = {{{26, 51, 153}, {230, 128, 26}}};

        const WindowLike window(kSize, samples);
        glBindFramebuffer(GL_FRAMEBUFFER, window.framebuffer);
        glViewport(0, 0, kSize, kSize);
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        while (glGetError() != GL_NO_ERROR) continue;
        target.resolve({resolve, edges, grade, stretch});
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << samples << " samples, scale " << scale;
        const std::vector<unsigned char> pixels = readBack(window.framebuffer, kSize);

        const auto inPicture = [&](int x, int y, int margin) {
            return pictureOver && std::min({x - 16, 47 - x, y - 16, 47 - y}) >= margin;
        };
        int worst = 0;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                const bool underPicture = inPicture(x, y, 2);
                // Anti-aliasing may soften the scene's edge; the picture's own edge is its.
                if (std::abs(x - kSize / 2) < 4 && !underPicture) continue;
                if (inPicture(x, y, -2) && !underPicture) continue;
                const std::array<int, 3>& expected =
                    underPicture ? windowBefore : halves[x < kSize / 2 ? 0 : 1];
                for (int c = 0; c < 3; ++c) {
                    const size_t i = static_cast<size_t>((y * kSize + x) * 3 + c);
                    worst = std::max(worst, std::abs(int(pixels[i]) - expected[static_cast<size_t>(c)]));
                }
            }
        }
        for (std::size_t i = 0; i < gradedAtFullSize.size(); ++i) {
            const int graded = pixels[static_cast<std::size_t>((8 * kSize + 8 + 48 * int(i / 3)) * 3) + i % 3];
            if (scale == 1.0f) gradedAtFullSize[i] = graded;
            EXPECT_NEAR(graded, gradedAtFullSize[i], 3) << samples << " samples, scale " << scale;
        }
        EXPECT_LE(worst, 48) << samples << " samples, scale " << scale
                             << (pictureOver ? ", picture over" : "")
                             << ": the resolve changed the scene beyond a colour grade";
    }
}
