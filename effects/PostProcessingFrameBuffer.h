#pragma once

#include <GL/glew.h>

#include <array>
#include <optional>

class Shader;

/// The resolve's four programs: at full size, grade and mark the edges, then smooth the
/// marked edges; smaller, grade the scene at its own size, then stretch it over the window.
struct ResolvePrograms {
    const Shader& gradeAndMarkEdges;  ///< "postprocessing.frag"
    const Shader& smoothEdges;  ///< "postprocessing_edges.frag"
    const Shader& grade;        ///< "postprocessing_grade.frag"
    const Shader& stretch;      ///< "postprocessing_stretch.frag"
};

/// A share of the window, in fractions of its size, y growing downwards (as the HUD places
/// its pictures).
struct WindowShare {
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
    bool operator==(const WindowShare& other) const;
    bool overlaps(const WindowShare& other) const;
    /// The least share holding both.
    WindowShare unitedWith(const WindowShare& other) const;
};

/// The off-screen target the 3D scene is drawn into, and the full-screen quad that
/// resolves it to the window through the post-processing program.
///
/// Single-sample 8-bit colour in the window's byte order, with a packed depth/stencil
/// renderbuffer, sized to the window times the render scale: the scene may be drawn smaller
/// than the window. A second colour target of the same size, which shares the depth
/// buffer, takes the graded picture where the resolve needs it off-screen first: the shares
/// whose edges are smoothed at full size, the whole scene below it.
/// Reading past the border clamps to the edge.
/// `resize` and `setScale` reallocate the attachments under the same GL names, so the
/// framebuffer keeps them. A plain value: copies share the GL names,
/// and nothing is released on the GPU when it goes (the context's end takes the objects
/// with it).
/// Needs a current GL context to construct.
class PostProcessingFrameBuffer {
public:
    static constexpr float kSmallestScale = 0.25f;
    static constexpr std::size_t kMostSmoothedShares = 4;

    /// A target for a window of `windowWidth` x `windowHeight` pixels, at `scale` of it.
    PostProcessingFrameBuffer(int windowWidth, int windowHeight, float scale = 1.0f);

    /// The window's new size; the target follows at the same scale. Positive sizes only.
    void resize(int windowWidth, int windowHeight);
    /// Draws the scene at `scale` (kept within [0.25, 1]) of the window's size from now on.
    /// Reallocates only when that changes the target's size in pixels.
    void setScale(float scale);
    float currentScale() const { return scale; }

    /// The resolve: the target's picture, graded, over the bound framebuffer's viewport.
    /// At full size the scene is graded straight into the viewport
    /// ("postprocessing_grade.frag") around the shares asked for (smoothEdgesWithin). Each
    /// share is graded with its edges smoothed in the graded target, behind a scissor, in
    /// two draws: the first ("postprocessing.frag") writes every pixel of the share and marks
    /// those on an edge in the depth buffer (0 on an edge, 1 elsewhere); the second
    /// ("postprocessing_edges.frag"), whose quad lies at depth 0.5, smooths the marked
    /// pixels alone. Each share is then copied over the viewport. At any smaller size the
    /// scene is graded into the graded target at its own size, and stretched from there
    /// over the viewport with a filtered read ("postprocessing_stretch.frag", which also
    /// copies the shares texel for texel): a draw, since a multisampled window takes no
    /// blit. The bound framebuffer needs no depth buffer, and the draws into it are
    /// cheapest without one; it takes no clear: the draws cover it.
    /// Leaves the bound framebuffer and viewport as they were, depth testing off and unit 0
    /// without a texture.
    void resolve(const ResolvePrograms& programs) const;
    /// The target's picture as it was drawn, neither graded nor smoothed, over the bound
    /// framebuffer's viewport with `stretch` as the resolve's last draw: for the wireframe
    /// view. Leaves the same state as the resolve.
    void showAsDrawn(const Shader& stretch) const;
    /// Copies `picture`, a texture of `width` x `height` texels, texel for texel into the
    /// bound framebuffer with its lower left corner at (`left`, `bottom`), in one draw with
    /// `stretch`: in a window without a depth buffer a software renderer copies a texture
    /// in its byte order several times faster that way than a blit does. Leaves the
    /// viewport as it was, depth testing off and unit 0 without a texture.
    void copyPicture(GLuint picture, int left, int bottom, int width, int height,
                     const Shader& stretch) const;
    /// At full size the resolve smooths edges within the shares of the window given by
    /// smoothEdgesWithin since the last call here alone; the whole window until the first
    /// call. For the shares where the models stand: the rest of the scene is the still sky
    /// picture, which smoothing only blurs, and the landscape, whose texture it only blurs
    /// and whose outline the haze softens, while a software renderer pays for every pixel
    /// it looks at for edges.
    void smoothNoEdges();
    /// Adds `share` to where edges are smoothed; shares that overlap become one, and
    /// beyond kMostSmoothedShares the last one grows to take it in.
    void smoothEdgesWithin(const WindowShare& share);
    /// Leaves `covered` out of what the resolve writes into the window from now on, less a
    /// pixel at each side; nothing: std::nullopt. For a share that an opaque picture drawn
    /// after the resolve hides anyway: a software renderer pays for every pixel it writes,
    /// and the stretch is the dearest draw of a frame at full HD. The window keeps whatever
    /// it held there. Uploads the draws' corners only when the share changes.
    void leaveOut(const std::optional<WindowShare>& covered);

    GLuint framebuffer = 0;
    GLuint quadVao = 0;
    GLuint quadVbo = 0;
    GLuint colorTexture = 0;
    GLuint depthStencilBuffer = 0;
    GLuint gradedFramebuffer = 0;  ///< the scene graded, where the resolve's last draw reads it
    GLuint gradedTexture = 0;
    GLuint texelSampler = 0;  ///< reads the texel under each pixel, unfiltered
    /// Six (x, y, u, v) vertices: two triangles over clip space, texture (0, 0) lower left.
    std::array<float, 24> quadVertices{};
    int width = 0;   ///< pixels of the attachments: the scene pass's viewport
    int height = 0;

private:
    /// Consecutive vertices of the quad's buffer: the whole quad, or the window around a
    /// share left out.
    struct Vertices {
        GLint first = 0;
        GLsizei count = 6;
    };

    void followWindowAndScale();
    void uploadWindowAround();
    void allocateColor(GLuint texture);
    void gradeAndSmoothEdges(const ResolvePrograms& programs, GLuint window) const;
    static void scissorTo(const std::array<GLint, 4>& box);
    void markAndSmoothEdges(const ResolvePrograms& programs) const;
    /// `share` of the target, in whole pixels (x, y, width, height; y up) that hold all of it.
    std::array<GLint, 4> pixelsOf(const WindowShare& share) const;
    /// True when `viewport` (x, y, width, height) is the target's size: a full-size resolve.
    bool fills(const std::array<GLint, 4>& viewport) const;
    void drawTexture(GLuint texture, bool texelForTexel, const Shader& program,
                     Vertices vertices) const;
    void allocateDepthStencil();
    void createTexelSampler();

    int windowWidth = 0;
    int windowHeight = 0;
    float scale = 1.0f;
    std::optional<WindowShare> leftOut;
    std::array<WindowShare, kMostSmoothedShares> smoothed{WindowShare{0.0f, 0.0f, 1.0f, 1.0f}};
    std::size_t smoothedCount = 1;
    Vertices windowDraw;  ///< what the draws into the window cover
};
