#pragma once

#include <GL/glew.h>

/// The sky picture as the scene target shows it, painted once for each size of the target
/// and copied into it at the start of every scene pass, in place of the clear. The picture
/// stays put on screen while the world moves in front of it, so painting it afresh each
/// frame would sample the same picture for the same pixels again; in software that costs
/// several times the copy.
/// Needs a current GL context.
class SkyBackdrop {
public:
    SkyBackdrop();
    ~SkyBackdrop();
    SkyBackdrop(const SkyBackdrop&) = delete;
    SkyBackdrop& operator=(const SkyBackdrop&) = delete;

    /// True when the backdrop holds no painting for a target of `width` x `height`.
    bool needsPainting(int width, int height) const;
    /// Makes the backdrop `width` x `height` pixels, binds it with a matching viewport and
    /// clears it; the caller then draws the sky into it.
    void beginPainting(int width, int height);
    /// Copies the painting into `framebuffer` (of the same size), which is left bound.
    void copyInto(GLuint framebuffer) const;

private:
    GLuint framebuffer = 0;
    GLuint texture = 0;
    int width = 0;
    int height = 0;
};
