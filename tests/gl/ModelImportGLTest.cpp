#include "render/Model.h"

#include "support/ColladaDocument.h"
#include "support/GlContext.h"
#include "support/TempFiles.h"

#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <numeric>

namespace fs = std::filesystem;

namespace {

std::string shippedModel(const std::string& relative) {
    return (fs::path(QEX_TESTDATA_DIR) / "models" / relative).string();
}

size_t vertexCount(const Model& model) {
    return std::accumulate(model.meshes.begin(), model.meshes.end(), size_t{0},
                           [](size_t sum, const Mesh& m) { return sum + m.vertices.size(); });
}

size_t indexCount(const Model& model) {
    return std::accumulate(model.meshes.begin(), model.meshes.end(), size_t{0},
                           [](size_t sum, const Mesh& m) { return sum + m.indices.size(); });
}

bool indicesInRange(const Mesh& mesh) {
    return std::all_of(mesh.indices.begin(), mesh.indices.end(),
                       [&](std::uint32_t index) { return index < mesh.vertices.size(); });
}

bool boneIdsInRange(const Mesh& mesh, unsigned numBones) {
    for (const VertexBoneData& data : mesh.bones) {
        for (int slot = 0; slot < VertexBoneData::kSlots; ++slot) {
            if (data.weights[slot] != 0.0f && static_cast<unsigned>(data.boneIds[slot]) >= numBones)
                return false;
        }
    }
    return true;
}

std::string importMessage(const std::string& path, std::unique_ptr<Model>& out) {
    testing::internal::CaptureStdout();
    out = std::make_unique<Model>(path.c_str());
    return testing::internal::GetCapturedStdout();
}

void expectEmpty(const Model& model) {
    EXPECT_TRUE(model.meshes.empty());
    EXPECT_EQ(model.scene, nullptr);
    EXPECT_EQ(model.numBones, 0u);
    EXPECT_EQ(model.totalVertices, 0u);
}

class ModelImport : public GlTest {};

struct ShippedFile {
    const char* path;
    size_t meshes;
    size_t vertices;
    size_t indices;
    unsigned bones;
};

// Counts as the files hold them once identical corners are shared (see tests/data/SOURCES.md):
// a cube has 24 vertices, one per face corner, or 8 where its faces carry no normals.
const ShippedFile kShippedFiles[] = {
    {"collada/box_nested_animation.dae", 1, 24, 36, 1},
    {"collada/parent-child-child-letter-f.dae", 1, 96, 204, 3},
    {"collada/cts_skin_2_influence.dae", 1, 1071, 6000, 5},
    {"collada/anims_with_full_rotations_between_keys.DAE", 64, 1536, 2304, 0},
    {"collada/duck.dae", 1, 2399, 12636, 0},
    {"collada/cube_tristrips.dae", 1, 24, 36, 0},
    {"collada/cube_UTF8BOM.dae", 1, 24, 36, 0},
    {"obj/spider.obj", 19, 946, 4104, 0},
    {"obj/cube_usemtl.obj", 4, 28, 36, 0},
    {"obj/box_without_lineending.obj", 1, 8, 36, 0},
};

}  // namespace

TEST_F(ModelImport, ShippedFilesImportWithTheirCounts) {
    for (const ShippedFile& file : kShippedFiles) {
        const Model model(shippedModel(file.path).c_str());
        EXPECT_EQ(model.meshes.size(), file.meshes) << file.path;
        EXPECT_EQ(vertexCount(model), file.vertices) << file.path;
        EXPECT_EQ(model.totalVertices, file.vertices) << file.path;
        EXPECT_EQ(indexCount(model), file.indices) << file.path;
        EXPECT_EQ(model.numBones, file.bones) << file.path;
        EXPECT_EQ(model.boneInfo.size(), file.bones) << file.path;
        EXPECT_EQ(model.boneMapping.size(), file.bones) << file.path;
    }
}

TEST_F(ModelImport, ImportedMeshesAreConsistent) {
    for (const ShippedFile& file : kShippedFiles) {
        const Model model(shippedModel(file.path).c_str());
        for (const Mesh& mesh : model.meshes) {
            EXPECT_EQ(mesh.bones.size(), mesh.vertices.size()) << file.path;
            EXPECT_TRUE(indicesInRange(mesh)) << file.path;
            EXPECT_TRUE(boneIdsInRange(mesh, model.numBones)) << file.path;
            EXPECT_TRUE(glIsVertexArray(mesh.gl->vao)) << file.path;
            EXPECT_EQ(mesh.modelMatrix, glm::mat4(1.0f));
            EXPECT_EQ(mesh.model_rgbColor, glm::vec3(0.0f));
        }
    }
}

TEST_F(ModelImport, ImportKeepsPathDirectoryDefaultsAndTheScene) {
    const std::string path = shippedModel("collada/box_nested_animation.dae");
    const Model model(path.c_str());
    EXPECT_EQ(model.path, path);
    EXPECT_EQ(model.directory, shippedModel("collada"));
    EXPECT_EQ(model.materialCoefficients, glm::vec3(0.1f, 0.7f, 0.4f));
    EXPECT_FLOAT_EQ(model.specularAlpha, 0.6f);
    EXPECT_EQ(model.texture, nullptr);
    EXPECT_EQ(model.recordedPosition, glm::vec3(0.0f));
    ASSERT_NE(model.scene, nullptr);
    EXPECT_EQ(model.scene->mNumAnimations, 1u);
    EXPECT_EQ(model.boneMapping.count("Armature_Bone"), 1u);
}

TEST_F(ModelImport, MaterialTexturesAreRecordedVerbatim) {
    const Model duck(shippedModel("collada/duck.dae").c_str());
    ASSERT_EQ(duck.meshes[0].textures.size(), 1u);
    EXPECT_EQ(duck.meshes[0].textures[0].type, "texture_diffuse");
    EXPECT_NE(duck.meshes[0].textures[0].path.find("duckCM.tga"), std::string::npos);

    // The .mtl names its maps Windows-style; the record keeps what the material says.
    const Model spider(shippedModel("obj/spider.obj").c_str());
    bool foundWindowsPath = false;
    for (const Mesh& mesh : spider.meshes)
        for (const MeshTexture& texture : mesh.textures)
            foundWindowsPath |= texture.path.find(".\\") == 0;
    EXPECT_TRUE(foundWindowsPath);
}

TEST_F(ModelImport, UnparsableFileReportsAndLeavesAnEmptyModel) {
    std::unique_ptr<Model> model;
    const std::string message =
        importMessage(shippedModel("collada/library_animation_clips.dae"), model);
    EXPECT_EQ(message.rfind("ERROR::ASSIMP::", 0), 0u) << message;
    EXPECT_NE(message.find("Cannot parse string"), std::string::npos) << message;
    EXPECT_EQ(message.back(), '\n');
    expectEmpty(*model);
}

TEST_F(ModelImport, MissingAndGarbageFilesReportAndLeaveEmptyModels) {
    const TempDir dir;
    const std::string garbage = dir.write("garbage.dae", "<COLLADA>not really</COLL");
    for (const std::string& path : {(dir.path() / "absent.dae").string(), garbage}) {
        std::unique_ptr<Model> model;
        const std::string message = importMessage(path, model);
        EXPECT_EQ(message.rfind("ERROR::ASSIMP::", 0), 0u) << message;
        expectEmpty(*model);
    }
}

TEST_F(ModelImport, PathWithoutSlashIsItsOwnDirectory) {
    const TempDir dir;
    fs::copy_file(shippedModel("collada/cube_tristrips.dae"), dir.path() / "cube.dae");
    const ScopedWorkingDirectory cwd(dir.path());
    const Model model("cube.dae");
    EXPECT_EQ(model.directory, "cube.dae");
    EXPECT_EQ(model.meshes.size(), 1u);
}

// Scenes with the special cases no shipped file has, written by the test.
class GeneratedScene : public GlTest {
protected:
    std::unique_ptr<Model> load(const std::vector<ColladaMesh>& meshes,
                                const std::vector<std::string>& joints) {
        const std::string path = dir.write("scene.dae", colladaDocument(meshes, joints));
        return std::make_unique<Model>(path.c_str());
    }
    TempDir dir;
};

TEST_F(GeneratedScene, BoneSharedByTwoMeshesHasOneEntry) {
    ColladaMesh first = colladaTriangles("first", 1);
    first.influences.assign(3, {{1, 1.0f}});
    ColladaMesh second = colladaTriangles("second", 1);
    second.influences.assign(3, {{1, 0.5f}});
    const auto model = load({first, second}, {"unused", "shared"});
    ASSERT_EQ(model->meshes.size(), 2u);
    EXPECT_EQ(model->numBones, 1u);
    EXPECT_EQ(model->boneInfo.size(), 1u);
    EXPECT_EQ(model->boneMapping.at("shared"), 0u);
    EXPECT_EQ(model->meshes[0].bones[2].boneIds[0], 0);
    EXPECT_FLOAT_EQ(model->meshes[0].bones[2].weights[0], 1.0f);
    EXPECT_EQ(model->meshes[1].bones[2].boneIds[0], 0);
    EXPECT_FLOAT_EQ(model->meshes[1].bones[2].weights[0], 0.5f);
}

TEST_F(GeneratedScene, FifthWeightOfAVertexIsDropped) {
    ColladaMesh mesh = colladaTriangles("m", 1);
    mesh.influences = {
        {{0, 0.5f}, {1, 0.4f}, {2, 0.3f}, {3, 0.2f}, {4, 0.1f}}, {{4, 1.0f}}, {{4, 1.0f}}};
    const auto model = load({mesh}, {"j0", "j1", "j2", "j3", "j4"});
    ASSERT_EQ(model->numBones, 5u);
    const VertexBoneData& first = model->meshes[0].bones[0];
    const float expectedWeights[] = {0.5f, 0.4f, 0.3f, 0.2f};
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(first.boneIds[slot],
                  static_cast<std::int32_t>(model->boneMapping.at("j" + std::to_string(slot))));
        EXPECT_FLOAT_EQ(first.weights[slot], expectedWeights[slot]);
    }
    // The dropped bone still has its own entry: other vertices use it.
    EXPECT_EQ(model->meshes[0].bones[1].boneIds[0],
              static_cast<std::int32_t>(model->boneMapping.at("j4")));
}

TEST_F(GeneratedScene, MeshWithoutTextureCoordinatesGetsZero) {
    ColladaMesh bare = colladaTriangles("bare", 2);
    bare.withTexCoords = false;
    const auto model = load({colladaTriangles("mapped", 1), bare}, {});
    ASSERT_EQ(model->meshes.size(), 2u);
    EXPECT_EQ(model->meshes[0].vertices[1].texCoords, glm::vec2(1.0f, 1.0f));  // v flipped
    for (const Vertex& vertex : model->meshes[1].vertices)
        EXPECT_EQ(vertex.texCoords, glm::vec2(0.0f));
}

TEST_F(GeneratedScene, MoreThanAHundredBonesAllGetEntries) {
    ColladaMesh mesh = colladaTriangles("m", 40);
    std::vector<std::string> joints;
    for (int j = 0; j < 120; ++j) {
        joints.push_back("j" + std::to_string(j));
        mesh.influences.push_back({{j, 1.0f}});
    }
    const auto model = load({mesh}, joints);
    EXPECT_EQ(model->numBones, 120u);
    EXPECT_EQ(model->boneInfo.size(), 120u);
}

TEST_F(GeneratedScene, MeshWithoutNormalsGetsZeroNormals) {
    ColladaMesh flat = colladaTriangles("flat", 1);
    flat.withNormals = false;
    const auto model = load({flat}, {});
    ASSERT_EQ(model->meshes.size(), 1u);
    for (const Vertex& vertex : model->meshes[0].vertices)
        EXPECT_EQ(vertex.normal, glm::vec3(0.0f));
}

TEST_F(ModelImport, CopySharesGlObjectsSceneAndTextureButNotPlacement) {
    Model original(shippedModel("collada/box_nested_animation.dae").c_str());
    testing::internal::CaptureStdout();
    original.setTexture("missing.png");
    testing::internal::GetCapturedStdout();
    Model copy = original;
    EXPECT_EQ(copy.meshes[0].gl, original.meshes[0].gl);
    EXPECT_EQ(copy.scene, original.scene);
    EXPECT_EQ(copy.texture, original.texture);

    copy.setColor(glm::vec3(1.0f, 0.0f, 0.0f));
    copy.transform(glm::mat4(3.0f));
    copy.boneInfo[0].finalTransformation = glm::mat4(5.0f);
    EXPECT_EQ(original.meshes[0].model_rgbColor, glm::vec3(0.0f));
    EXPECT_EQ(original.meshes[0].modelMatrix, glm::mat4(1.0f));
    EXPECT_EQ(original.boneInfo[0].finalTransformation, glm::mat4(1.0f));
}

TEST_F(ModelImport, SceneAndGlObjectsGoWithTheLastModelThatUsesThem) {
    auto original =
        std::make_unique<Model>(shippedModel("collada/box_nested_animation.dae").c_str());
    const std::weak_ptr<const aiScene> scene = original->scene;
    const GLuint vao = original->meshes[0].gl->vao;
    auto copy = std::make_unique<Model>(*original);
    original.reset();
    EXPECT_FALSE(scene.expired());
    EXPECT_TRUE(glIsVertexArray(vao));
    copy->boneTransform(0.5f);  // still reads the shared scene
    copy.reset();
    EXPECT_TRUE(scene.expired());
    EXPECT_FALSE(glIsVertexArray(vao));
}

namespace {

std::string gameModel(const std::string& name) {
    return (fs::path(QEX_BUILD_DIR) / "assets/models" / name).string();
}

const char* const kGameModels[] = {
    "FlagAnimationsFINAL_mk2.dae", "BossAnimation.dae",    "Landscape.obj",   "BossShield.dae",
    "BossProjectileTest02.dae",    "PlayerProjectile.dae", "missileTest.dae", "test1dae.dae",
};

bool samePose(const Model& a, const Model& b) {
    for (size_t i = 0; i < a.boneInfo.size(); ++i) {
        const glm::mat4 difference =
            a.boneInfo[i].finalTransformation - b.boneInfo[i].finalTransformation;
        for (int c = 0; c < 4; ++c)
            if (glm::length(difference[c]) > 1e-4f) return false;
    }
    return true;
}

}  // namespace

// The game's own files, made by the content generator into the build's assets/.
TEST_F(ModelImport, GameModelsImportQuietlyAndConsistently) {
    for (const char* name : kGameModels) {
        std::unique_ptr<Model> model;
        EXPECT_EQ(importMessage(gameModel(name), model), "") << name;
        ASSERT_FALSE(model->meshes.empty()) << name;
        for (const Mesh& mesh : model->meshes) {
            EXPECT_FALSE(mesh.indices.empty()) << name;
            EXPECT_TRUE(indicesInRange(mesh)) << name;
            EXPECT_TRUE(boneIdsInRange(mesh, model->numBones)) << name;
        }
    }
}

TEST_F(ModelImport, GameCharactersAreSkinnedAndLoopTheirAnimation) {
    for (const char* name : {"FlagAnimationsFINAL_mk2.dae", "BossAnimation.dae"}) {
        Model model(gameModel(name).c_str());
        ASSERT_NE(model.scene, nullptr) << name;
        ASSERT_GE(model.scene->mNumAnimations, 1u) << name;
        EXPECT_GE(model.numBones, 1u) << name;
        EXPECT_LE(model.numBones, Model::kMaxBones) << name;
        const float period =
            static_cast<float>(model.scene->mAnimations[0]->mDuration / Model::ticksPerSecond);
        Model later = model;
        Model halfway = model;
        model.boneTransform(0.0f);
        later.boneTransform(period);
        halfway.boneTransform(period / 2.0f);
        EXPECT_TRUE(samePose(model, later)) << name;
        EXPECT_FALSE(samePose(model, halfway)) << name << " does not move";
    }
}

TEST_F(ModelImport, LandscapeLoadedTwiceGivesTwoIndependentTiles) {
    Model first(gameModel("Landscape.obj").c_str());
    const Model second(gameModel("Landscape.obj").c_str());
    ASSERT_EQ(first.meshes.size(), second.meshes.size());
    EXPECT_NE(first.meshes[0].gl->vao, second.meshes[0].gl->vao);
    first.transform(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -3928.0f)));
    EXPECT_EQ(second.meshes[0].modelMatrix, glm::mat4(1.0f));
}
