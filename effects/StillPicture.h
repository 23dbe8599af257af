#pragma once

#include <GL/glew.h>

/// A picture that stands still on the screen, painted once for each size and copied where
/// it shows in every frame: the sky at the start of each scene pass, in place of the clear,
/// and the end picture over the window while the results show. Painting it afresh each
/// frame would sample the same picture for the same pixels again; in software that costs
/// several times the copy.
/// Needs a current GL context.
class StillPicture {
public:
    StillPicture();
    ~StillPicture();
    StillPicture(const StillPicture&) = delete;
    StillPicture& operator=(const StillPicture&) = delete;

    /// True when the picture holds no painting of `width` x `height` pixels.
    bool needsPainting(int width, int height) const;
    /// Makes the picture `width` x `height` pixels, binds it with a matching viewport and
    /// clears it; the caller then draws into it.
    void beginPainting(int width, int height);
    /// As beginPainting, but cleared to nothing, and with the blending that keeps in each
    /// pixel the colour already weighed by its alpha, and as alpha how much of what lies
    /// under it the painting hides. Things drawn into it with the usual alpha blending and
    /// the painting then laid over under useLayOverBlending blend as drawing them there
    /// would, to within a step of rounding.
    void beginPaintingToLayOver(int width, int height);
    /// The blending under which a painting begun by beginPaintingToLayOver is laid over.
    static void useLayOverBlending();
    /// Copies the painting into `framebuffer` with its lower left corner at (`left`,
    /// `bottom`), and leaves that framebuffer bound. The framebuffer takes no
    /// multisampling: a copy cannot fill a pixel's samples. Into a texture in the window's
    /// byte order the copy moves bytes; the window itself takes the painting faster as a
    /// draw of `painting()`.
    void copyInto(GLuint framebuffer, int left = 0, int bottom = 0) const;
    /// The painted texture, in the window's byte order.
    GLuint painting() const { return texture; }

private:
    void allocateAndBind(int width, int height);

    GLuint framebuffer = 0;
    GLuint texture = 0;
    int width = 0;
    int height = 0;
};
