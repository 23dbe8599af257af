#include "framework/TeapotMesh.h"

#include "framework/StaticBuffers.h"
#include "framework/TeapotTable.h"

#include <vector>

namespace {

std::vector<glm::vec3> halfTurnAboutY(std::vector<glm::vec3> positions) {
    for (glm::vec3& p : positions) p = glm::vec3(-p.x, p.y, -p.z);
    return positions;
}

}  // namespace

TeapotMesh buildTeapotMesh() {
    TeapotMesh mesh;
    glGenVertexArrays(1, &mesh.vertexArray);
    glBindVertexArray(mesh.vertexArray);
    mesh.vertexBuffer = makeAttributeBuffer(0, halfTurnAboutY(teapotPositions()));
    mesh.indexBuffer = makeIndexBuffer(teapotIndices());
    // Vertex array first: unbinding the index buffer while it is bound would drop it.
    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return mesh;
}

void deleteTeapotMesh(TeapotMesh& mesh) {
    if (mesh.vertexArray == 0) return;
    glDeleteBuffers(1, &mesh.vertexBuffer);
    glDeleteBuffers(1, &mesh.indexBuffer);
    glDeleteVertexArrays(1, &mesh.vertexArray);
    mesh = TeapotMesh{};
}
