#pragma once

#include "effects/ParticleSystem.h"

#include <GL/glew.h>

#include <array>
#include <cstdint>

class Shader;

/// The smoke's own targets, smaller than the scene's: the puffs are drawn into them and the
/// result is laid over the scene in one full-screen draw. Their size follows the window, not
/// the render scale: the smoke is drawn as it is with the scene at its least scale, where a
/// software renderer's end screens had always settled, so a scene drawn sharper does not
/// make the smoke dearer and lower the scale again.
///
/// The puffs blend with GL_MAX, which keeps the brighter of two values whatever their
/// order, so drawing them apart from the scene and laying the result over it with the same
/// max gives the picture they gave drawn straight onto the scene, at this target's
/// resolution (the smoke is soft; the stretch shows little). The scene's depth is copied
/// down first, so the smoke still hides behind what stands in front of it.
///
/// Seen down its length the column stacks hundreds of puffs on a pixel, and a software
/// renderer pays for every one, shaded or not. So each frame draws only one half of the
/// puffs, alternately, into a target of that half's own, and the layover takes the max of
/// both halves: this frame's, and the other one as the frame before drew it. Smoke drifts
/// a few pixels a frame at most, so a half one frame old does not show.
///
/// The stencil buffer counts the puffs each pixel has taken and turns away those past
/// kMostLayers before they are shaded. The puffs' bright middles (kMiddleShare of their
/// side) go first, and the whole puffs (kWholeShare) after them, so that the layers a pixel
/// takes are the ones that set its brightest value; past a dozen such layers in each half
/// the rest no longer change what the pixel shows, and where fewer overlap, every puff is
/// drawn whole.
/// Needs a current GL context to construct; owns its GL objects.
class SmokeTarget {
public:
    /// Of the window's width and height: half the scene target's at the least render scale.
    static constexpr float kWindowShare = 0.125f;
    static constexpr int kMostLayers = 12;  ///< puffs a pixel takes in each half; the rest are turned away
    static constexpr float kMiddleShare = 0.3f;  ///< of a puff's side: its bright middle
    /// Of a puff's side: all of the puff that shows. Beyond it, at any turn of the picture,
    /// no texel is more than a tenth opaque, and a column's edge is brighter for leaving it
    /// out: the rest of the square would only be paid for and use up the layer count, which
    /// leaves dark notches in the edge.
    static constexpr float kWholeShare = 0.6f;

    SmokeTarget();
    ~SmokeTarget();
    SmokeTarget(const SmokeTarget&) = delete;  // owns GL objects
    SmokeTarget& operator=(const SmokeTarget&) = delete;

    /// Sizes the half that drawn frame `frame` draws to kWindowShare of a window of
    /// `windowWidth` x `windowHeight` pixels, clears it, takes the scene's depth, and leaves
    /// it bound with its viewport and the layer count in force for the puffs' draw. Returns
    /// the half of the puffs to draw. The other half is laid over as frame `frame - 1` drew
    /// it, at whatever size it had then (the layover stretches each half over the scene),
    /// and cleared if that frame did not draw it, so that smoke from an earlier ending never
    /// shows.
    PuffHalf begin(GLuint sceneFramebuffer, int sceneWidth, int sceneHeight, int windowWidth,
                   int windowHeight, std::uint64_t frame);
    /// Lays both halves over the scene target with `composite` (max blending), within
    /// `reach` (where this frame's puffs can show) and the reach the other half was drawn
    /// with, and leaves the scene target bound with its viewport, the stencil test, the
    /// scissor test and blending off.
    void layOver(GLuint sceneFramebuffer, int sceneWidth, int sceneHeight,
                 const Shader& composite, const ScreenReach& reach);
    /// Pixels high, of the half the last begin() drew into.
    int drawnHeight() const { return halves[drawnHalf].height; }

    /// One half's target. Both share the depth and stencil buffer, sized for the drawn one.
    struct Half {
        GLuint framebuffer = 0;
        GLuint colorTexture = 0;
        int width = 0;  ///< pixels
        int height = 0;
    };

    std::array<Half, 2> halves{};
    GLuint depthStencilBuffer = 0;
    int depthWidth = 0;  ///< pixels
    int depthHeight = 0;
    GLuint emptyVao = 0;  ///< the full-screen triangle comes from the vertex index alone
    int drawnHalf = 0;  ///< 0 or 1: the half the last begin() drew into
    ScreenReach otherReach = ScreenReach::nowhere();  ///< of the half not drawn this frame
    std::uint64_t lastFrame = 0;  ///< the drawn frame of the last begin()

private:
    void resize(Half& half, int width, int height);
    void drawLayover(const Shader& composite) const;
    void clear(const Half& half) const;
};
