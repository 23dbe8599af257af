#pragma once

#include <GL/glew.h>

/// The built-in teapot on the GPU: positions only (attribute 0, 3 floats) and a
/// triangle list of 32-bit indices, both static. All names are 0 while it is not built.
/// Nothing in the game draws it.
struct TeapotMesh {
    GLuint vertexArray = 0;
    GLuint vertexBuffer = 0;
    GLuint indexBuffer = 0;
};

/// Uploads the teapot table (TeapotTable.h) turned half a turn about y, so that the
/// spout points along -x. Needs a current GL context; leaves no vertex array and no
/// index buffer bound.
TeapotMesh buildTeapotMesh();

/// Deletes the vertex buffer, the index buffer, then the vertex array, and zeroes the
/// names. A mesh that was never built is left alone.
void deleteTeapotMesh(TeapotMesh& mesh);
