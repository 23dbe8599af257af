#include "effects/PostProcessingFrameBuffer.h"

#include "effects/TargetTexture.h"
#include "effects/WindowRemainder.h"

#include "framework/Shader.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <type_traits>

namespace {

constexpr std::array<float, 24> kFullScreenQuad = {
    -1.0f, 1.0f,  0.0f, 1.0f,  //
    -1.0f, -1.0f, 0.0f, 0.0f,  //
    1.0f,  -1.0f, 1.0f, 0.0f,  //
    -1.0f, 1.0f,  0.0f, 1.0f,  //
    1.0f,  -1.0f, 1.0f, 0.0f,  //
    1.0f,  1.0f,  1.0f, 1.0f,
};
constexpr GLsizei kQuadStride = 4 * sizeof(float);
constexpr GLsizei kQuadVertices = 6;
constexpr GLsizei kWindowAroundVertices = 4 * kQuadVertices;  // four bands round the hole

using Corners = std::array<float, 4 * kWindowAroundVertices>;

// Writes the rectangle from (left, bottom) to (right, top) in clip space as the quad's six
// vertices at `vertex`, each with its texture coordinate.
void putRectangle(Corners& corners, int vertex, float left, float bottom, float right, float top) {
    const std::array<std::array<float, 2>, kQuadVertices> points = {
        {{left, top}, {left, bottom}, {right, bottom}, {left, top}, {right, bottom}, {right, top}}};
    for (const auto& point : points) {
        float* const out = &corners[static_cast<std::size_t>(vertex++) * 4];
        out[0] = point[0];
        out[1] = point[1];
        out[2] = point[0] * 0.5f + 0.5f;
        out[3] = point[1] * 0.5f + 0.5f;
    }
}

// At full size the target is the window's; below it, never a power of two.
int scaledSize(int windowPixels, float scale) {
    const int pixels =
        std::max(1, static_cast<int>(std::lround(static_cast<float>(windowPixels) * scale)));
    return pixels < windowPixels ? sideAwayFromPowerOfTwo(pixels) : pixels;
}

// x, y, width and height, as GL_VIEWPORT gives them.
using Viewport = std::array<GLint, 4>;
static_assert(std::is_same_v<Viewport, WindowRemainder::Box>);
static_assert(PostProcessingFrameBuffer::kMostSmoothedShares == WindowRemainder::kMostTakenOut);

Viewport boundViewport() {
    Viewport viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    return viewport;
}

void reportIfIncomplete() {
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        std::cout << "ERROR::FRAMEBUFFER:: Framebuffer is not complete!" << std::endl;
}

// A depth/stencil buffer of 0 attaches none.
void attach(GLuint framebuffer, GLuint color, GLuint depthStencil) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color, 0);
    if (depthStencil != 0)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  depthStencil);
    reportIfIncomplete();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace

bool WindowShare::operator==(const WindowShare& other) const {
    return x == other.x && y == other.y && w == other.w && h == other.h;
}

bool WindowShare::overlaps(const WindowShare& other) const {
    return x < other.x + other.w && other.x < x + w && y < other.y + other.h && other.y < y + h;
}

WindowShare WindowShare::unitedWith(const WindowShare& other) const {
    const float left = std::min(x, other.x);
    const float top = std::min(y, other.y);
    return {left, top, std::max(x + w, other.x + other.w) - left,
            std::max(y + h, other.y + other.h) - top};
}

PostProcessingFrameBuffer::PostProcessingFrameBuffer(int windowWidthPixels,
                                                     int windowHeightPixels, float sceneScale)
    : quadVertices(kFullScreenQuad),
      windowWidth(windowWidthPixels),
      windowHeight(windowHeightPixels),
      scale(std::clamp(sceneScale, kSmallestScale, 1.0f)) {
    width = scaledSize(windowWidth, scale);
    height = scaledSize(windowHeight, scale);
    glGenRenderbuffers(1, &depthStencilBuffer);
    allocateDepthStencil();

    glGenFramebuffers(1, &framebuffer);
    colorTexture = newTargetTexture();
    allocateColor(colorTexture);
    attach(framebuffer, colorTexture, depthStencilBuffer);
    glGenFramebuffers(1, &gradedFramebuffer);
    gradedTexture = newTargetTexture();
    allocateColor(gradedTexture);
    attach(gradedFramebuffer, gradedTexture, depthStencilBuffer);
    createTexelSampler();

    glGenVertexArrays(1, &quadVao);
    glGenBuffers(1, &quadVbo);
    glBindVertexArray(quadVao);
    glBindBuffer(GL_ARRAY_BUFFER, quadVbo);
    // The whole quad, then room for the window around a share left out, written again
    // whenever that share changes.
    glBufferData(GL_ARRAY_BUFFER, sizeof(float) * quadVertices.size() + sizeof(Corners),
                 nullptr, GL_DYNAMIC_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(float) * quadVertices.size(), quadVertices.data());
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, kQuadStride, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, kQuadStride,
                          reinterpret_cast<const void*>(2 * sizeof(float)));
}

void PostProcessingFrameBuffer::resize(int windowWidthPixels, int windowHeightPixels) {
    windowWidth = windowWidthPixels;
    windowHeight = windowHeightPixels;
    followWindowAndScale();
    uploadWindowAround();  // the pixel kept at each side of the hole is the window's
}

void PostProcessingFrameBuffer::setScale(float sceneScale) {
    scale = std::clamp(sceneScale, kSmallestScale, 1.0f);
    followWindowAndScale();
}

void PostProcessingFrameBuffer::resolve(const ResolvePrograms& programs) const {
    const Viewport viewport = boundViewport();
    GLint window = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &window);
    if (fills(viewport)) {
        gradeAndSmoothEdges(programs, static_cast<GLuint>(window));
        return;
    }
    // Graded at the scene's size rather than the window's: a software renderer pays for
    // every pixel a program runs on, and below full size the window has up to sixteen times
    // as many. The whole scene, since the stretch's filtered reads along the edges of a
    // share left out reach into it.
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, gradedFramebuffer);
    glViewport(0, 0, width, height);
    drawTexture(colorTexture, true, programs.grade, Vertices{});
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(window));
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    drawTexture(gradedTexture, false, programs.stretch, windowDraw);
}

void PostProcessingFrameBuffer::showAsDrawn(const Shader& stretch) const {
    drawTexture(colorTexture, fills(boundViewport()), stretch, windowDraw);
}

void PostProcessingFrameBuffer::copyPicture(GLuint picture, int left, int bottom, int pictureWidth,
                                            int pictureHeight, const Shader& stretch) const {
    const Viewport viewport = boundViewport();
    glViewport(left, bottom, pictureWidth, pictureHeight);
    drawTexture(picture, true, stretch, Vertices{});
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

void PostProcessingFrameBuffer::smoothNoEdges() { smoothedCount = 0; }

void PostProcessingFrameBuffer::smoothEdgesWithin(const WindowShare& share) {
    WindowShare joined = share;
    for (std::size_t i = 0; i < smoothedCount;) {
        if (!smoothed[i].overlaps(joined)) {
            ++i;
            continue;
        }
        joined = joined.unitedWith(smoothed[i]);
        smoothed[i] = smoothed[--smoothedCount];  // and look again: the larger share may meet more
        i = 0;
    }
    if (smoothedCount == smoothed.size()) joined = joined.unitedWith(smoothed[--smoothedCount]);
    smoothed[smoothedCount++] = joined;
}

void PostProcessingFrameBuffer::leaveOut(const std::optional<WindowShare>& covered) {
    if (covered == leftOut) return;
    leftOut = covered;
    uploadWindowAround();
}

void PostProcessingFrameBuffer::uploadWindowAround() {
    windowDraw = Vertices{};
    if (!leftOut) return;
    // In clip space, y up; a pixel in from each side, so that no rounding of the picture's
    // own edges can open a seam between it and the resolve.
    const float pixelX = 2.0f / static_cast<float>(windowWidth);
    const float pixelY = 2.0f / static_cast<float>(windowHeight);
    const float left = 2.0f * leftOut->x - 1.0f + pixelX;
    const float right = 2.0f * (leftOut->x + leftOut->w) - 1.0f - pixelX;
    const float top = 1.0f - 2.0f * leftOut->y - pixelY;
    const float bottom = 1.0f - 2.0f * (leftOut->y + leftOut->h) + pixelY;
    if (!(left < right && bottom < top)) return;
    Corners corners{};
    putRectangle(corners, 0, -1.0f, -1.0f, 1.0f, bottom);
    putRectangle(corners, kQuadVertices, -1.0f, top, 1.0f, 1.0f);
    putRectangle(corners, 2 * kQuadVertices, -1.0f, bottom, left, top);
    putRectangle(corners, 3 * kQuadVertices, right, bottom, 1.0f, top);
    glBindBuffer(GL_ARRAY_BUFFER, quadVbo);
    glBufferSubData(GL_ARRAY_BUFFER, sizeof(float) * quadVertices.size(), sizeof(corners),
                    corners.data());
    windowDraw = Vertices{kQuadVertices, kWindowAroundVertices};
}

// The grade alone goes straight into the window around the shares; each share is graded
// and smoothed into the graded target behind its own scissor, and copied over the window.
// Overlapping shares were made one, so no pixel is looked at for edges twice; and only the
// shares pass through the graded target, since a software renderer pays for every pixel a
// draw writes.
void PostProcessingFrameBuffer::gradeAndSmoothEdges(const ResolvePrograms& programs,
                                                    GLuint window) const {
    glEnable(GL_SCISSOR_TEST);
    std::array<Viewport, kMostSmoothedShares> shares{};
    for (std::size_t i = 0; i < smoothedCount; ++i) shares[i] = pixelsOf(smoothed[i]);
    for (const Viewport& box : WindowRemainder(width, height, shares, smoothedCount)) {
        scissorTo(box);
        drawTexture(colorTexture, true, programs.grade, windowDraw);
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, gradedFramebuffer);
    for (std::size_t i = 0; i < smoothedCount; ++i) {
        scissorTo(shares[i]);
        markAndSmoothEdges(programs);
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, window);
    for (std::size_t i = 0; i < smoothedCount; ++i) {
        scissorTo(shares[i]);
        drawTexture(gradedTexture, true, programs.stretch, windowDraw);
    }
    glDisable(GL_SCISSOR_TEST);
}

void PostProcessingFrameBuffer::scissorTo(const Viewport& box) {
    glScissor(box[0], box[1], box[2], box[3]);
}

// The graded target's depth buffer is the scene's, which the scene is done with by now.
void PostProcessingFrameBuffer::markAndSmoothEdges(const ResolvePrograms& programs) const {
    glBindVertexArray(quadVao);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glUseProgram(programs.gradeAndMarkEdges.program);
    glBindSampler(0, texelSampler);
    glDrawArrays(GL_TRIANGLES, windowDraw.first, windowDraw.count);
    glBindSampler(0, 0);
    glDepthFunc(GL_GREATER);
    glDepthMask(GL_FALSE);
    glUseProgram(programs.smoothEdges.program);
    glDrawArrays(GL_TRIANGLES, windowDraw.first, windowDraw.count);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glDisable(GL_DEPTH_TEST);
}

Viewport PostProcessingFrameBuffer::pixelsOf(const WindowShare& share) const {
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    const auto pixel = [](float at, float pixels, bool roundUp) {
        const float scaled = std::clamp(at, 0.0f, 1.0f) * pixels;
        return static_cast<GLint>(roundUp ? std::ceil(scaled) : std::floor(scaled));
    };
    const GLint left = pixel(share.x, w, false);
    const GLint right = pixel(share.x + share.w, w, true);
    const GLint bottom = pixel(1.0f - share.y - share.h, h, false);
    const GLint top = pixel(1.0f - share.y, h, true);
    return {left, bottom, std::max(0, right - left), std::max(0, top - bottom)};
}

// Bound, a sampler stands in for all of the texture's own sampling parameters.
void PostProcessingFrameBuffer::createTexelSampler() {
    glGenSamplers(1, &texelSampler);
    glSamplerParameteri(texelSampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glSamplerParameteri(texelSampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glSamplerParameteri(texelSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(texelSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

bool PostProcessingFrameBuffer::fills(const Viewport& viewport) const {
    return viewport[2] == width && viewport[3] == height;
}

// `vertices` of the quad drawn by `program`, which reads `texture` on unit 0 from the texel
// under each pixel or filtered between the nearest four. With the stretch, a program that a
// software renderer recognises as a copy, which it runs several times faster than any other
// draw when the bound framebuffer has no depth buffer and the texture its byte order.
void PostProcessingFrameBuffer::drawTexture(GLuint texture, bool texelForTexel,
                                            const Shader& program, Vertices vertices) const {
    glDisable(GL_DEPTH_TEST);
    glBindVertexArray(quadVao);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (texelForTexel) glBindSampler(0, texelSampler);
    glUseProgram(program.program);
    glDrawArrays(GL_TRIANGLES, vertices.first, vertices.count);
    glBindSampler(0, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void PostProcessingFrameBuffer::followWindowAndScale() {
    const int newWidth = scaledSize(windowWidth, scale);
    const int newHeight = scaledSize(windowHeight, scale);
    if (newWidth == width && newHeight == height) return;
    width = newWidth;
    height = newHeight;
    allocateColor(colorTexture);
    allocateColor(gradedTexture);
    allocateDepthStencil();
}

void PostProcessingFrameBuffer::allocateColor(GLuint texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    allocateInWindowOrder(width, height);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void PostProcessingFrameBuffer::allocateDepthStencil() {
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencilBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}
