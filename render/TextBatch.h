#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>
#include <string>

class GlyphQuads;
class Shader;
class stbTexture;

/// Draws a GlyphQuads, the HUD's text with its frames and backdrops, in one call.
///
/// The vertex buffer is made once for GlyphQuads::kCapacity quads; each draw refills the
/// used part and draws it with the font atlas on unit 0 and the text shader ("HudText.vert",
/// "HudText.frag"). Blending, depth and culling are the caller's, as for the HUD's quads.
/// An atlas that failed to load (its loader has said so) draws nothing. Owns its vertex
/// array, buffer and atlas; the shader is not owned. Needs a current GL context.
class TextBatch {
public:
    TextBatch(Shader* shader, const std::string& atlasFile = "hud_font.png");
    ~TextBatch();
    TextBatch(const TextBatch&) = delete;  // owns GL names
    TextBatch& operator=(const TextBatch&) = delete;

    /// `projection` maps window pixels (y down) to clip space, as the HUD's does.
    void draw(const GlyphQuads& quads, const glm::mat4& projection) const;

private:
    Shader* shader;
    std::unique_ptr<stbTexture> atlas;
    GLuint vao = 0;
    GLuint vertexBuffer = 0;
};
