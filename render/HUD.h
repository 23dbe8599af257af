#pragma once

#include "render/HudQuad.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>
#include <string>

class Shader;
class stbTexture;

/// One screen-space rectangle: a flat colour or a picture, drawn over the scene with the
/// HUD shader ("HUD.vert", "HUD.frag").
///
/// Position and size are fractions of the window; the model matrix turns them into
/// pixels for the window size given at construction, for the shader's orthographic
/// "viewProjMatrix". Bars shrink with setFill(). A picture that failed to load draws the
/// flat colour. Owns its vertex array and buffers; the shader is not owned.
/// Needs a current GL context to construct. Shared through std::shared_ptr.
class HUD {
public:
    HUD(const HudQuad& quad, Shader* shader, float windowWidth, float windowHeight);
    HUD(const HudQuad& quad, Shader* shader, const std::string& pictureFile, float windowWidth,
        float windowHeight);
    ~HUD();
    HUD(const HUD&) = delete;  // owns GL names; one owner through shared_ptr
    HUD& operator=(const HUD&) = delete;

    /// Keeps the left edge and shows current/max of the full width; max 0 shows nothing.
    void setFill(float current, float max);
    void setFill(int current, int max);
    /// Reads the picture's one mip level nearest its size in the window; again after the
    /// window's size changes.
    void readOneMipLevel() const;
    /// Makes the HUD shader current and draws; depth and blending are the caller's.
    void draw() const;

    GLuint vao = 0;
    GLuint positionBuffer = 0;
    GLuint textureCoordinateBuffer = 0;  ///< 0 for a colour quad
    Shader* shader = nullptr;
    std::shared_ptr<stbTexture> texture;  ///< null for a colour quad
    glm::mat4 modelMatrix{1.0f};          ///< window fractions to window pixels
    glm::vec4 color{1.0f};                ///< RGBA, sent as "myCol"
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
    float windowWidth = 0.0f;   ///< pixels, at construction
    float windowHeight = 0.0f;  ///< pixels, at construction
    float currentFill = 1.0f;
    float maxFill = 1.0f;

private:
    HUD(const HudQuad& quad, Shader* shader, std::shared_ptr<stbTexture> picture, float windowWidth,
        float windowHeight);
    void uploadQuad(const HudQuad& quad);
};

/// The mip level (0 the picture itself, each next one half its size) nearest a picture of
/// `pictureWidth` x `pictureHeight` texels drawn over `drawnWidth` x `drawnHeight` pixels,
/// as the minifying filter would choose it; level 0 for a picture drawn larger, or for no
/// size at all.
int mipLevelNearest(int pictureWidth, int pictureHeight, float drawnWidth, float drawnHeight);
