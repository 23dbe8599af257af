#include "effects/SmokeTarget.h"

#include "effects/TargetTexture.h"
#include "framework/Shader.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

int shareOf(int windowPixels) {
    const float pixels = static_cast<float>(windowPixels) * SmokeTarget::kWindowShare;
    return sideAwayFromPowerOfTwo(std::max(1, static_cast<int>(std::lround(pixels))));
}

}  // namespace

SmokeTarget::SmokeTarget() {
    glGenRenderbuffers(1, &depthStencilBuffer);
    glGenVertexArrays(1, &emptyVao);
    glGenFramebuffers(1, &framebuffer);
    colorTexture = newTargetTexture();
    resize(1, 1);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthStencilBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        std::cout << "ERROR::FRAMEBUFFER:: the smoke's target is not complete" << std::endl;
    forgetEveryQuarter();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

SmokeTarget::~SmokeTarget() {
    glDeleteVertexArrays(1, &emptyVao);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colorTexture);
    glDeleteRenderbuffers(1, &depthStencilBuffer);
}

// Same names, new storage: the framebuffer keeps its attachments.
void SmokeTarget::resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencilBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

// Black is no smoke: the max blending leaves the scene as it is there.
void SmokeTarget::forgetEveryQuarter() {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    reaches.fill(ScreenReach::nowhere());
}

PuffPart SmokeTarget::begin(GLuint sceneFramebuffer, int sceneWidth, int sceneHeight,
                            int windowWidth, int windowHeight, std::uint64_t frame) {
    const bool othersCurrent = frame == lastFrame + 1;
    lastFrame = frame;
    drawnQuarter = static_cast<int>(frame % kQuarters);
    const bool resized = shareOf(windowWidth) != width || shareOf(windowHeight) != height;
    if (resized) resize(shareOf(windowWidth), shareOf(windowHeight));
    if (resized || !othersCurrent) forgetEveryQuarter();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    glColorMask(drawnQuarter == 0, drawnQuarter == 1, drawnQuarter == 2, drawnQuarter == 3);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    // Depth can only be copied without filtering; the nearest scene depth is close enough
    // for a picture this soft.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, sceneFramebuffer);
    glBlitFramebuffer(0, 0, sceneWidth, sceneHeight, 0, 0, width, height, GL_DEPTH_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_GREATER, kMostLayers, 0xFF);  // passes while the count is below the most
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    return static_cast<PuffPart>(static_cast<GLint>(PuffPart::First) + drawnQuarter);
}

// Outside the reaches every quarter is black, which the max blending leaves as the scene is:
// the layover is kept to the rectangle of scene pixels the reaches touch, which spares a
// software renderer most of a full-screen draw when the column stands far off.
void SmokeTarget::layOver(GLuint sceneFramebuffer, int sceneWidth, int sceneHeight,
                          const Shader& composite, const ScreenReach& reach) {
    glDisable(GL_STENCIL_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer);
    glViewport(0, 0, sceneWidth, sceneHeight);
    reaches[static_cast<std::size_t>(drawnQuarter)] = reach;
    ScreenReach covered = ScreenReach::nowhere();
    for (const ScreenReach& quarter : reaches) covered = covered.unitedWith(quarter);
    if (covered.empty()) return;
    const glm::vec2 scene(static_cast<float>(sceneWidth), static_cast<float>(sceneHeight));
    const glm::ivec2 low(glm::floor((covered.least + 1.0f) * 0.5f * scene));
    const glm::ivec2 high(glm::ceil((covered.most + 1.0f) * 0.5f * scene));
    glEnable(GL_SCISSOR_TEST);
    glScissor(low.x, low.y, high.x - low.x, high.y - low.y);
    drawLayover(composite);
    glDisable(GL_SCISSOR_TEST);
}

void SmokeTarget::drawLayover(const Shader& composite) const {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendEquation(GL_MAX);
    glUseProgram(composite.program);
    glBindVertexArray(emptyVao);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(0);
    glBlendEquation(GL_FUNC_ADD);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
