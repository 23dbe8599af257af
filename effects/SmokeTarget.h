#pragma once

#include "effects/ParticleSystem.h"

#include <GL/glew.h>

#include <array>
#include <cstdint>

class Shader;

/// The smoke's own target, smaller than the scene's: the puffs are drawn into it and the
/// result is laid over the scene in one full-screen draw. Its size follows the window, not
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
/// renderer pays for every one, shaded or not. So each frame draws only one quarter of the
/// puffs, in turn, into a colour channel of its own (the smoke is one shade of grey, tinted:
/// one channel holds it), and the layover takes the max of the four: this frame's quarter,
/// and the others as the three frames before drew them. Smoke drifts a few of the window's
/// pixels a frame at most, and each of this target's spans eight of them, so a quarter three
/// frames old does not show.
///
/// The stencil buffer counts the puffs each pixel has taken and turns away those past
/// kMostLayers before they are shaded. The puffs' bright middles (kMiddleShare of their
/// side) go first, and the whole puffs (kWholeShare) after them, so that the layers a pixel
/// takes are the ones that set its brightest value; past two dozen such layers over the
/// four quarters the rest no longer change what the pixel shows, and where fewer overlap,
/// every puff is drawn whole.
/// Needs a current GL context to construct; owns its GL objects.
class SmokeTarget {
public:
    /// Of the window's width and height: half the scene target's at the least render scale.
    static constexpr float kWindowShare = 0.125f;
    static constexpr int kQuarters = 4;  ///< one a frame, each in its own channel
    static constexpr int kMostLayers = 6;  ///< puffs a pixel takes of each quarter; the rest are turned away
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

    /// Sizes the target to kWindowShare of a window of `windowWidth` x `windowHeight`
    /// pixels, clears the channel of the quarter that drawn frame `frame` draws, takes the
    /// scene's depth, and leaves the target bound with its viewport and the layer count in
    /// force for the puffs' draw. Returns the quarter of the puffs to draw, which the puffs'
    /// programs write into that channel alone. The other quarters stay as the three frames
    /// before drew them; after a gap in the frames, or a new size, they are cleared, so that
    /// smoke from an earlier ending never shows.
    PuffPart begin(GLuint sceneFramebuffer, int sceneWidth, int sceneHeight, int windowWidth,
                   int windowHeight, std::uint64_t frame);
    /// Lays the quarters over the scene target with `composite` (max blending), within
    /// `reach` (where this frame's puffs can show) and the reaches the other quarters were
    /// drawn with, and leaves the scene target bound with its viewport, and the stencil
    /// test, the scissor test and blending off.
    void layOver(GLuint sceneFramebuffer, int sceneWidth, int sceneHeight,
                 const Shader& composite, const ScreenReach& reach);
    /// Pixels high.
    int drawnHeight() const { return height; }

    GLuint framebuffer = 0;
    GLuint colorTexture = 0;  ///< a quarter of the puffs in each of red, green, blue and alpha
    GLuint depthStencilBuffer = 0;
    int width = 0;  ///< pixels
    int height = 0;
    GLuint emptyVao = 0;  ///< the full-screen triangle comes from the vertex index alone
    int drawnQuarter = 0;  ///< 0 to 3: the quarter the last begin() drew, and its channel
    std::array<ScreenReach, kQuarters> reaches{};  ///< where each quarter, as last drawn, can show
    std::uint64_t lastFrame = 0;  ///< the drawn frame of the last begin()

private:
    void resize(int newWidth, int newHeight);
    void forgetEveryQuarter();
    void drawLayover(const Shader& composite) const;
};
