#pragma once

#include "render/MeshTexture.h"
#include "render/Vertex.h"
#include "render/VertexBoneData.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <vector>

class Shader;

/// One drawable piece of a model: vertex data on the GPU, its own placement and flat colour.
///
/// Copies share the GL objects (vertex array and buffers) of the mesh they were copied from;
/// the objects are deleted when the last copy goes. Needs a current GL context to construct.
class Mesh {
public:
    /// The GL names of one uploaded mesh; deleted together when the last owner goes.
    struct GlObjects {
        GlObjects();
        ~GlObjects();
        GlObjects(const GlObjects&) = delete;
        GlObjects& operator=(const GlObjects&) = delete;

        GLuint vao = 0;
        GLuint positionBuffer = 0;
        GLuint elementBuffer = 0;
        GLuint normalBuffer = 0;
        GLuint texCoordBuffer = 0;
        GLuint boneBuffer = 0;
    };

    /// Uploads the data (setupMesh). `bones` has one entry per vertex.
    Mesh(std::vector<Vertex> vertices, std::vector<std::uint32_t> indices,
         std::vector<MeshTexture> textures, std::vector<VertexBoneData> bones);

    /// modelMatrix <- m x modelMatrix, then the normal matrix follows.
    void transform(const glm::mat4& m);
    /// modelMatrix <- identity; the normal matrix is left as it was.
    void resetModelMatrix();
    /// A stretch of the index buffer: `count` indices from the `first`.
    struct IndexRun {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };

    /// Sends "model_rgbColor", "modelMatrix" and "normalMatrix" and draws the triangles.
    /// Makes the shader's program current first.
    void draw(Shader& shader) const;
    /// As draw, but only the triangles of `runs`.
    void draw(Shader& shader, const std::vector<IndexRun>& runs) const;
    /// Replaces the index buffer with `reordered`, which holds the same triangles in another
    /// order; copies that share the GL objects draw the new order too.
    void reorderTriangles(std::vector<std::uint32_t> reordered);

    std::vector<Vertex> vertices;
    /// The box round `vertices` as imported, before any bone moves them; at the origin for
    /// a mesh without vertices.
    glm::vec3 restLow{0.0f};
    glm::vec3 restHigh{0.0f};
    std::vector<std::uint32_t> indices;
    std::vector<MeshTexture> textures;
    std::shared_ptr<const GlObjects> gl;
    glm::mat4 modelMatrix{1.0f};
    glm::mat3 normalMatrix{1.0f};  ///< upper-left 3x3 of transpose(inverse(modelMatrix))
    glm::vec3 model_rgbColor{0.0f};
    std::vector<VertexBoneData> bones;

private:
    void setupMesh();
    void updateNormalMatrix();
    void bindForDraw(Shader& shader) const;
};
