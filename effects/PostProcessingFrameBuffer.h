#pragma once

#include <GL/glew.h>

#include <array>

/// The off-screen target the 3D scene is drawn into, and the full-screen quad that
/// resolves it to the window through the post-processing program.
///
/// Single-sample RGB8 colour with a packed depth/stencil renderbuffer, sized to the
/// window. `resize` reallocates both under the same GL names, so the framebuffer keeps
/// its attachments. A plain value: copies share the GL names, and nothing is released
/// on the GPU when it goes (the context's end takes the objects with it).
/// Needs a current GL context to construct.
class PostProcessingFrameBuffer {
public:
    PostProcessingFrameBuffer(int width, int height);

    /// New attachment storage of width x height; the caller passes positive sizes only.
    void resize(int width, int height);

    GLuint framebuffer = 0;
    GLuint quadVao = 0;
    GLuint quadVbo = 0;
    GLuint colorTexture = 0;
    GLuint depthStencilBuffer = 0;
    /// Six (x, y, u, v) vertices: two triangles over clip space, texture (0, 0) lower left.
    std::array<float, 24> quadVertices{};

private:
    void allocateColor(int width, int height);
    void allocateDepthStencil(int width, int height);
};
