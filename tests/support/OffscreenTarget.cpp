#include "support/OffscreenTarget.h"

#include <algorithm>

OffscreenTarget::OffscreenTarget(int w, int h) : width(w), height(h) {
    glGenRenderbuffers(1, &colorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer);
}

OffscreenTarget::~OffscreenTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &colorBuffer);
}

void OffscreenTarget::bindAndClear(const glm::vec4& clearColor) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    glClearColor(clearColor.r, clearColor.g, clearColor.b, clearColor.a);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<glm::u8vec4> OffscreenTarget::pixelsTopDown() const {
    const size_t rowLength = static_cast<size_t>(width);
    std::vector<glm::u8vec4> bottomUp(rowLength * static_cast<size_t>(height));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    // GL rows start at the bottom.
    std::vector<glm::u8vec4> topDown(bottomUp.size());
    for (int row = 0; row < height; ++row)
        std::copy_n(bottomUp.begin() + static_cast<long>((height - 1 - row) * rowLength), rowLength,
                    topDown.begin() + static_cast<long>(row * rowLength));
    return topDown;
}

glm::u8vec4 OffscreenTarget::pixel(int x, int yFromTop) const {
    return pixelsTopDown()[static_cast<size_t>(yFromTop * width + x)];
}

int OffscreenTarget::countPixels(const glm::u8vec4& rgba) const {
    const std::vector<glm::u8vec4> pixels = pixelsTopDown();
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), rgba));
}
