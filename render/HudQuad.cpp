#include "render/HudQuad.h"

HudQuad makeHudQuad(float x, float y, float w, float h, const glm::vec4& color) {
    HudQuad quad;
    quad.positions = {glm::vec2(0.0f, 0.0f), glm::vec2(0.0f, h), glm::vec2(w, 0.0f),
                      glm::vec2(w, 0.0f),    glm::vec2(0.0f, h), glm::vec2(w, h)};
    quad.textureCoordinates = {glm::vec2(0.0f, 1.0f), glm::vec2(0.0f, 0.0f), glm::vec2(1.0f, 1.0f),
                               glm::vec2(1.0f, 1.0f), glm::vec2(0.0f, 0.0f), glm::vec2(1.0f, 0.0f)};
    quad.w = w;
    quad.h = h;
    quad.x = x;
    quad.y = y;
    quad.color = color;
    return quad;
}
