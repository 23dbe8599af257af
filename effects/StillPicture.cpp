#include "effects/StillPicture.h"

#include "effects/TargetTexture.h"

StillPicture::StillPicture() {
    glGenFramebuffers(1, &framebuffer);
    glGenTextures(1, &texture);
}

StillPicture::~StillPicture() {
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
}

bool StillPicture::needsPainting(int paintedWidth, int paintedHeight) const {
    return paintedWidth != width || paintedHeight != height;
}

void StillPicture::beginPainting(int paintedWidth, int paintedHeight) {
    allocateAndBind(paintedWidth, paintedHeight);
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void StillPicture::beginPaintingToLayOver(int paintedWidth, int paintedHeight) {
    allocateAndBind(paintedWidth, paintedHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

void StillPicture::useLayOverBlending() { glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); }

// The same format as the scene target's colour, so the sky's copy is a plain copy of bytes.
void StillPicture::allocateAndBind(int paintedWidth, int paintedHeight) {
    width = paintedWidth;
    height = paintedHeight;
    glBindTexture(GL_TEXTURE_2D, texture);
    allocateInWindowOrder(width, height);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glViewport(0, 0, width, height);
}

void StillPicture::copyInto(GLuint target, int left, int bottom) const {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
    glBlitFramebuffer(0, 0, width, height, left, bottom, left + width, bottom + height,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, target);
}
