#pragma once

#include "framework/Material.h"
#include "framework/ShapeData.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>

/// A generated mesh on the GPU, with its placement and its material.
///
/// Attributes: 0 = position (3 floats), 1 = normal (3 floats), 2 = uv (2 floats), each
/// in its own static buffer; a static index buffer of 32-bit indices is recorded in the
/// vertex array. The ShapeData is copied to the GPU and not kept. Needs a current GL
/// context to construct and to destroy; the material is shared with other shapes.
class Shape {
public:
    Shape(const glm::mat4& modelMatrix, const ShapeData& data, std::shared_ptr<Material> material);
    ~Shape();
    Shape(const Shape&) = delete;  // owns the GL buffers
    Shape& operator=(const Shape&) = delete;

    GLuint vertexArray = 0;
    GLuint positionBuffer = 0;
    GLuint normalBuffer = 0;
    GLuint uvBuffer = 0;
    GLuint indexBuffer = 0;
    GLuint elementCount = 0;  ///< number of indices
    std::shared_ptr<Material> material;
    glm::mat4 modelMatrix;  ///< placement in the world
};
