#pragma once

#include <glm/glm.hpp>

/// One mesh vertex as the model shaders read it: 32 bytes, attributes 0-2 of "texture.vert".
struct Vertex {
    glm::vec3 position{0.0f};   ///< byte 0
    glm::vec3 normal{0.0f};     ///< byte 12
    glm::vec2 texCoords{0.0f};  ///< byte 24
};

static_assert(sizeof(Vertex) == 32, "the vertex attribute offsets assume a 32-byte vertex");
