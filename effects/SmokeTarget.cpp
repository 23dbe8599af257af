#include "effects/SmokeTarget.h"

#include "effects/TargetTexture.h"
#include "framework/Shader.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

int shareOf(int scenePixels) {
    const float pixels = static_cast<float>(scenePixels) * SmokeTarget::kShare;
    return std::max(1, static_cast<int>(std::lround(pixels)));
}

}  // namespace

SmokeTarget::SmokeTarget() {
    glGenFramebuffers(2, framebuffers.data());
    for (GLuint& texture : colorTextures) texture = newTargetTexture();
    glGenRenderbuffers(1, &depthStencilBuffer);
    glGenVertexArrays(1, &emptyVao);
    resize(1, 1);
    for (int half = 0; half < 2; ++half) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[half]);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                               colorTextures[half], 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  depthStencilBuffer);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
            std::cout << "ERROR::FRAMEBUFFER:: the smoke's target is not complete" << std::endl;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

SmokeTarget::~SmokeTarget() {
    glDeleteVertexArrays(1, &emptyVao);
    glDeleteFramebuffers(2, framebuffers.data());
    glDeleteRenderbuffers(1, &depthStencilBuffer);
    glDeleteTextures(2, colorTextures.data());
}

// Same names, new storage: the framebuffers keep their attachments.
void SmokeTarget::resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    for (GLuint texture : colorTextures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     nullptr);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencilBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

// Black is no smoke: the max blending leaves the scene as it is there.
void SmokeTarget::clearHalf(int half) const {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[half]);
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

PuffHalf SmokeTarget::begin(GLuint sceneFramebuffer, int sceneWidth, int sceneHeight,
                            std::uint64_t frame) {
    bool otherHalfCurrent = frame == lastFrame + 1;
    if (shareOf(sceneWidth) != width || shareOf(sceneHeight) != height) {
        resize(shareOf(sceneWidth), shareOf(sceneHeight));
        otherHalfCurrent = false;
    }
    lastFrame = frame;
    drawnHalf = static_cast<int>(frame % 2);
    if (!otherHalfCurrent) clearHalf(1 - drawnHalf);
    clearHalf(drawnHalf);
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);
    // Depth can only be copied without filtering; the nearest scene depth is close enough
    // for a picture this soft.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, sceneFramebuffer);
    glBlitFramebuffer(0, 0, sceneWidth, sceneHeight, 0, 0, width, height, GL_DEPTH_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[drawnHalf]);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_GREATER, kMostLayers, 0xFF);  // passes while the count is below the most
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    return drawnHalf == 0 ? PuffHalf::First : PuffHalf::Second;
}

void SmokeTarget::layOver(GLuint sceneFramebuffer, int sceneWidth, int sceneHeight,
                          const Shader& composite) const {
    glDisable(GL_STENCIL_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer);
    glViewport(0, 0, sceneWidth, sceneHeight);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendEquation(GL_MAX);
    glUseProgram(composite.program);
    glBindVertexArray(emptyVao);
    for (GLuint unit = 0; unit < 2; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, colorTextures[unit]);
    }
    glDrawArrays(GL_TRIANGLES, 0, 3);
    for (GLuint unit = 2; unit-- > 0;) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glBindVertexArray(0);
    glBlendEquation(GL_FUNC_ADD);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
