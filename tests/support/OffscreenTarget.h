#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <vector>

/// A framebuffer with one RGBA8 colour buffer of its own size, bound with a matching
/// viewport, for tests that look at drawn pixels. Needs a current GL context.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    /// Binds the target, sets the viewport and clears it to `clearColor`.
    void bindAndClear(const glm::vec4& clearColor = glm::vec4(0.0f));
    /// Every pixel, row by row from the top as a window shows them: [y * width + x].
    std::vector<glm::u8vec4> pixelsTopDown() const;
    /// The pixel `x` from the left and `yFromTop` from the top.
    glm::u8vec4 pixel(int x, int yFromTop) const;
    /// How many pixels equal `rgba`.
    int countPixels(const glm::u8vec4& rgba) const;

    const int width;
    const int height;

private:
    GLuint framebuffer = 0;
    GLuint colorBuffer = 0;
};
