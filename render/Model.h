#pragma once

#include "render/BoneInfo.h"
#include "render/Mesh.h"

#include <glm/glm.hpp>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Shader;
class stbTexture;
struct aiAnimation;
struct aiMesh;
struct aiNode;
struct aiNodeAnim;
struct aiScene;

/// A scene file imported with assimp: drawable meshes, per-vertex skinning data, a
/// model-wide bone table and the imported scene itself, kept for the animation.
///
/// Every problem prints one "ERROR::ASSIMP::<problem>: <path>" line. A file that cannot be
/// imported, or fails assimp's structural check, leaves an empty model that draws nothing;
/// a mesh with a non-finite position or bone weight, or a position more than a million
/// units out, is left out; a model with nothing to draw says so. Each vertex keeps its four
/// largest bone weights, renormalised, and only the first kMaxBones bones move it.
///
/// Models are copyable: a copy has its own meshes (matrices, colours) and bone table, and
/// shares the texture, the imported scene and the meshes' GL objects. The scene and the
/// GL objects go with the last model that uses them.
/// Needs a current GL context to construct, draw and destroy.
class Model {
public:
    /// The bone matrix array "bones" of the model shader has this many slots.
    static constexpr unsigned kMaxBones = 100;
    /// The file's own tick rate is ignored: every animation plays at this rate.
    static constexpr double ticksPerSecond = 800.0;

    /// An empty model, as a failed import leaves it.
    Model() = default;
    /// Imports `path` (the full relative path, e.g. "assets/models/Landscape.obj").
    explicit Model(const char* path);

    /// Draws every mesh with `shader`, made current here; an animated model is posed at
    /// the GLFW time first.
    void draw(const std::shared_ptr<Shader>& shader);
    /// The model-wide part of draw: material, texture and bones go to `shader`, whose
    /// program the caller has made current. Each mesh then draws itself.
    void sendModelUniforms(Shader& shader);
    /// Every mesh: modelMatrix <- m x modelMatrix (accumulates).
    void transform(const glm::mat4& m);
    /// Every mesh: modelMatrix <- m (replaces).
    void setModelMatrix(const glm::mat4& m);
    /// Every mesh: modelMatrix <- identity; the normal matrices are left as they were.
    void resetModelMatrix();
    /// Every mesh gets the flat colour `rgb` ("model_rgbColor").
    void setColor(const glm::vec3& rgb);
    /// Replaces the texture with the image `fileName` under "assets/textures/".
    void setTexture(const std::string& fileName);

    /// Poses the bones for the first animation at `seconds` of the application clock,
    /// looped. Without an animation the final transforms are left as they are.
    void boneTransform(float seconds);
    /// The first channel of `animation` that animates `nodeName` (exact match), or null.
    static const aiNodeAnim* findNodeAnim(const aiAnimation& animation, std::string_view nodeName);

    std::vector<Mesh> meshes;
    std::string directory;  ///< `path` up to its last "/", or the whole path without one
    glm::vec3 materialCoefficients{0.1f, 0.7f, 0.4f};
    float specularAlpha = 0.6f;
    /// A threat's own light ("glowColor"): black for everything that is merely lit. A
    /// glowing model shows its texture in this colour and barely fades into the haze.
    glm::vec3 glowColor{0.0f};
    /// The outline of a glowing model ("rimColor"), strongest where its surface turns away.
    glm::vec3 rimColor{0.0f};
    std::shared_ptr<stbTexture> texture;
    std::string path;
    /// The physics origin the game last moved this model to; the model never reads it.
    glm::vec3 recordedPosition{0.0f};
    /// Where the skeletal animation stands, in seconds; the owner moves it on (the game by
    /// its match clock), and a draw poses the bones for it.
    float animationSeconds = 0.0f;
    std::shared_ptr<const aiScene> scene;  ///< null after a failed import
    glm::mat4 rootTransform{1.0f};         ///< the root node's transformation as imported
    /// Bone name -> bone index; looked up by std::string_view so that posing allocates nothing.
    std::map<std::string, unsigned, std::less<>> boneMapping;
    std::vector<BoneInfo> boneInfo;  ///< indexed by bone index
    unsigned numBones = 0;
    unsigned totalVertices = 0;  ///< over all meshes of the scene

private:
    void loadModel(const std::string& file);
    void processNode(const aiNode& node);
    Mesh processMesh(const aiMesh& mesh);
    void addBones(const aiMesh& mesh, std::vector<VertexBoneData>& bones);
    unsigned boneIndexFor(const std::string& boneName);
    void reportWhatCannotBeDrawn() const;

    void readNodeHierarchy(float animationTime, const aiNode& node, glm::mat4 parentTransform);
    void uploadBones(Shader& shader) const;
};
