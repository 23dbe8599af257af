#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

// Geometry that is uploaded once and never changes (GL_STATIC_DRAW). Each helper binds
// the new buffer; the vertex array that should record it must be bound by the caller.

/// A new GL_ARRAY_BUFFER holding `values`, with vertex attribute `attribute` enabled
/// and pointed at it: 3 floats a vertex, tightly packed, not normalised.
GLuint makeAttributeBuffer(GLuint attribute, const std::vector<glm::vec3>& values);

/// The same for 2 floats a vertex.
GLuint makeAttributeBuffer(GLuint attribute, const std::vector<glm::vec2>& values);

/// A new GL_ELEMENT_ARRAY_BUFFER of 32-bit indices, left bound so that the current
/// vertex array keeps it.
GLuint makeIndexBuffer(const std::vector<std::uint32_t>& indices);
