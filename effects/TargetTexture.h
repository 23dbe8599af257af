#pragma once

#include <GL/glew.h>

/// A new 2D texture for an off-screen target to draw into: linear filters, and edges
/// clamped, since the passes that read it sample neighbours of the border pixels, which
/// must not wrap round to the far side. Its storage is the caller's to allocate.
inline GLuint newTargetTexture() {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

/// Storage of `width` x `height` pixels for the bound 2D texture: 8 bits a channel, asked
/// for in the order an X window keeps its pixels (blue, green, red, alpha), so that a
/// software renderer stores it so too. Then a plain copy or stretch of it into the window
/// runs along that renderer's fast path, and a copy between two such textures moves bytes.
inline void allocateInWindowOrder(int width, int height) {
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
}

/// `pixels`, or one fewer where that is a power of two above 2. A software renderer builds
/// other code to read a texture with such a side, and the frame that first reads one stalls
/// while it does: a target whose size follows the render scale keeps to the other kind, so
/// the code built before the first frame serves every size it takes.
inline int sideAwayFromPowerOfTwo(int pixels) {
    const bool powerOfTwo = pixels > 2 && (pixels & (pixels - 1)) == 0;
    return powerOfTwo ? pixels - 1 : pixels;
}
