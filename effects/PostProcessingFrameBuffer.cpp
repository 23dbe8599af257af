#include "effects/PostProcessingFrameBuffer.h"

#include "effects/TargetTexture.h"

#include "framework/Shader.h"

#include <algorithm>
#include <cmath>
#include <iostream>

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

int scaledSize(int windowPixels, float scale) {
    return std::max(1, static_cast<int>(std::lround(static_cast<float>(windowPixels) * scale)));
}

void reportIfIncomplete() {
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        std::cout << "ERROR::FRAMEBUFFER:: Framebuffer is not complete!" << std::endl;
}

void attach(GLuint framebuffer, GLuint color, GLuint depthStencil) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthStencil);
    reportIfIncomplete();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace

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

    glGenVertexArrays(1, &quadVao);
    glGenBuffers(1, &quadVbo);
    glBindVertexArray(quadVao);
    glBindBuffer(GL_ARRAY_BUFFER, quadVbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof(float) * quadVertices.size(), quadVertices.data(),
                 GL_STATIC_DRAW);
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
}

void PostProcessingFrameBuffer::setScale(float sceneScale) {
    scale = std::clamp(sceneScale, kSmallestScale, 1.0f);
    followWindowAndScale();
}

void PostProcessingFrameBuffer::resolve(const ResolvePrograms& programs) const {
    GLint destination = 0;
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &destination);
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    if (viewport[2] == width && viewport[3] == height) {
        grade(programs);
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, gradedFramebuffer);
    glViewport(0, 0, width, height);
    grade(programs);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(destination));
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    stretchGraded(programs.stretch);
}

void PostProcessingFrameBuffer::grade(const ResolvePrograms& programs) const {
    glBindVertexArray(quadVao);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glUseProgram(programs.gradeAndMarkEdges.program);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glDepthFunc(GL_GREATER);
    glDepthMask(GL_FALSE);
    glUseProgram(programs.smoothEdges.program);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// Covers the viewport whatever its depth holds: depth testing is off after the grade.
void PostProcessingFrameBuffer::stretchGraded(const Shader& stretch) const {
    glBindVertexArray(quadVao);
    glBindTexture(GL_TEXTURE_2D, gradedTexture);
    glUseProgram(stretch.program);
    glDrawArrays(GL_TRIANGLES, 0, 6);
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
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void PostProcessingFrameBuffer::allocateDepthStencil() {
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencilBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}
