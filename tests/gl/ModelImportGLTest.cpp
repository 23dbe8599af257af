#include "render/Model.h"

#include "support/ColladaDocument.h"
#include "support/GlContext.h"
#include "support/TempFiles.h"

#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <numeric>
#include <optional>

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
    {"obj/spider.obj", 19, 946, 4104, 0},  // 108 corners' zero normal mended, not 5 meshes' deleted
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

TEST_F(ModelImport, MaterialTexturePathsNameFilesBesideTheModel) {
    const Model duck(shippedModel("collada/duck.dae").c_str());
    ASSERT_EQ(duck.meshes[0].textures.size(), 1u);
    EXPECT_EQ(duck.meshes[0].textures[0].type, "texture_diffuse");
    EXPECT_NE(duck.meshes[0].textures[0].path.find("duckCM.tga"), std::string::npos);

    // The spider's material names its maps Windows-style, ".\\wal67ar_small.jpg".
    const Model spider(shippedModel("obj/spider.obj").c_str());
    int found = 0;
    for (const Mesh& mesh : spider.meshes) {
        for (const MeshTexture& texture : mesh.textures) {
            EXPECT_TRUE(fs::is_regular_file(fs::path(spider.directory) / texture.path))
                << texture.path;
            ++found;
        }
    }
    EXPECT_GT(found, 0);

    const TempDir dir;
    dir.write("maps/diffuse texture.png", "");
    dir.write("blank.mtl", "newmtl paint\nmap_Kd maps\\diffuse texture.png  \t\n");
    const std::string obj = dir.write(
        "blank.obj", "mtllib blank.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl paint\nf 1 2 3\n");
    const Model blank(obj.c_str());
    ASSERT_EQ(blank.meshes.size(), 1u);
    ASSERT_EQ(blank.meshes[0].textures.size(), 1u);
    EXPECT_EQ(blank.meshes[0].textures[0].path, "maps/diffuse texture.png");
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

// A mesh mapped wholly to one texel keeps that texel.
TEST_F(GeneratedScene, MeshWithoutTextureCoordinatesGetsZeroAndOneTexelIsKept) {
    ColladaMesh bare = colladaTriangles("bare", 2);
    bare.withTexCoords = false;
    ColladaMesh oneTexel = colladaTriangles("one-texel", 1);
    oneTexel.texCoords.assign(3, glm::vec2(0.25f, 0.75f));
    const auto model = load({colladaTriangles("mapped", 1), bare, oneTexel}, {});
    ASSERT_EQ(model->meshes.size(), 3u);
    EXPECT_EQ(model->meshes[0].vertices[1].texCoords, glm::vec2(1.0f, 1.0f));  // v flipped
    for (const Vertex& vertex : model->meshes[1].vertices)
        EXPECT_EQ(vertex.texCoords, glm::vec2(0.0f));
    for (const Vertex& vertex : model->meshes[2].vertices)
        EXPECT_EQ(vertex.texCoords, glm::vec2(0.25f, 0.25f));
}

TEST_F(GeneratedScene, MeshWithoutNormalsGetsZeroNormals) {
    ColladaMesh flat = colladaTriangles("flat", 1);
    flat.withNormals = false;
    const auto model = load({flat}, {});
    ASSERT_EQ(model->meshes.size(), 1u);
    for (const Vertex& vertex : model->meshes[0].vertices)
        EXPECT_EQ(vertex.normal, glm::vec3(0.0f));
}

namespace {

std::vector<std::string> jointNames(int count) {
    std::vector<std::string> names;
    for (int j = 0; j < count; ++j) names.push_back("j" + std::to_string(j));
    return names;
}

// The weight that vertex `v` of the first mesh gives bone `name`; 0 when no slot holds it.
float weightOf(const Model& model, size_t v, const std::string& name) {
    const std::int32_t bone = static_cast<std::int32_t>(model.boneMapping.at(name));
    const VertexBoneData& data = model.meshes.at(0).bones.at(v);
    float weight = 0.0f;
    for (int slot = 0; slot < VertexBoneData::kSlots; ++slot)
        if (data.weights[slot] != 0.0f && data.boneIds[slot] == bone) weight += data.weights[slot];
    return weight;
}

float weightSum(const VertexBoneData& data) {
    return std::accumulate(std::begin(data.weights), std::end(data.weights), 0.0f);
}

// Identical corners are joined on import, so a vertex is found by its weights, not its index.
bool someVertexWeighs(const Model& model, const std::string& name, float weight) {
    for (size_t v = 0; v < model.meshes.at(0).bones.size(); ++v)
        if (std::abs(weightOf(model, v, name) - weight) < 1e-5f) return true;
    return false;
}

// Four of eight influences survive: the largest, scaled to add up to 1 again.
std::string eightWeightsOnAVertex() {
    ColladaMesh mesh = colladaTriangles("m", 1);
    mesh.influences = {{{0, 0.05f}, {1, 0.3f}, {2, 0.11f}, {3, 0.2f}, {4, 0.02f}, {5, 0.15f},
                        {6, 0.08f}, {7, 0.09f}},
                       {{0, 1.0f}},
                       {{0, 1.0f}}};
    return colladaDocument({mesh}, jointNames(8));
}

void expectFourLargestRenormalised(const Model& model) {
    ASSERT_EQ(model.meshes.size(), 1u);
    constexpr float kKept = 0.3f + 0.2f + 0.15f + 0.11f;
    EXPECT_NEAR(weightOf(model, 0, "j1"), 0.3f / kKept, 1e-5f);
    EXPECT_NEAR(weightOf(model, 0, "j3"), 0.2f / kKept, 1e-5f);
    EXPECT_NEAR(weightOf(model, 0, "j5"), 0.15f / kKept, 1e-5f);
    EXPECT_NEAR(weightOf(model, 0, "j2"), 0.11f / kKept, 1e-5f);
    EXPECT_NEAR(weightSum(model.meshes[0].bones[0]), 1.0f, 1e-5f);
}

// Vertex 0 shares itself between bones 0 and 110, vertex 120 belongs to bone 110 alone,
// and vertex j < 120 otherwise to bone j.
std::string hundredAndTwentyBones() {
    ColladaMesh mesh = colladaTriangles("m", 41);
    for (int j = 0; j < 120; ++j) mesh.influences.push_back({{j, 1.0f}});
    mesh.influences[0] = {{0, 0.5f}, {110, 0.5f}};
    mesh.influences.push_back({{110, 1.0f}});
    mesh.influences.push_back({{1, 1.0f}});
    mesh.influences.push_back({{1, 1.0f}});
    return colladaDocument({mesh}, jointNames(120));
}

void expectOnlyTheFirstHundredBonesHoldVertices(const Model& model) {
    EXPECT_EQ(model.numBones, 120u);
    EXPECT_EQ(model.boneInfo.size(), 120u);
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_TRUE(boneIdsInRange(model.meshes[0], Model::kMaxBones));
    EXPECT_TRUE(someVertexWeighs(model, "j0", 1.0f));  // its half on j110 is gone
    const std::vector<VertexBoneData>& bones = model.meshes[0].bones;
    EXPECT_TRUE(std::any_of(bones.begin(), bones.end(),
                            [](const VertexBoneData& data) { return weightSum(data) == 0.0f; }));
    EXPECT_TRUE(someVertexWeighs(model, "j99", 1.0f));
}

std::string goodMeshAndOneWith(const std::function<void(ColladaMesh&)>& damage) {
    ColladaMesh bad = colladaTriangles("bad", 2);
    bad.influences.assign(6, {{0, 1.0f}});
    damage(bad);
    ColladaMesh good = colladaTriangles("good", 1);
    good.influences.assign(3, {{0, 1.0f}});
    return colladaDocument({bad, good}, {"j0"});
}

void expectOnlyTheGoodMesh(const Model& model) {
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].vertices.size(), 3u);
}

void expectNothing(const Model& model) { expectEmpty(model); }

// Two triangles facing +z; the file gives the first corner a zero normal.
std::string oneZeroNormal() {
    ColladaMesh mesh = colladaTriangles("m", 2);
    mesh.normals.assign(6, glm::vec3(0.0f, 0.0f, 1.0f));
    mesh.normals[0] = glm::vec3(0.0f);
    return colladaDocument({mesh}, {});
}

// Every normal is kept (the mesh still draws lit), and the bad one faces its triangle's way.
void expectEveryNormalFacingOut(const Model& model) {
    ASSERT_EQ(model.meshes.size(), 1u);
    for (const Vertex& vertex : model.meshes[0].vertices)
        EXPECT_NEAR(glm::distance(vertex.normal, glm::vec3(0.0f, 0.0f, 1.0f)), 0.0f, 1e-5f);
}

struct DamagedFile {
    const char* name;
    std::optional<std::string> contents;  ///< none: the file is missing
    const char* problem;                  ///< what the one line says before the path
    void (*expect)(const Model&);
};

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

// Whatever is wrong with a model file, the player sees one line that names the file,
// and the game gets a model it can draw.
TEST_F(ModelImport, DamagedFilesSayWhatIsWrongInOneLineNamingTheFile) {
    const std::string intact = colladaDocument({colladaTriangles("m", 4)}, {});
    const char randomBytes[] = "\x13\xff\x00\x80garbage\x7f\x01";
    const DamagedFile cases[] = {
        {"eight-weights.dae", eightWeightsOnAVertex(), "Kept the 4 largest bone weights",
         expectFourLargestRenormalised},
        {"120-bones.dae", hundredAndTwentyBones(), "Model has 120 bones; only the first 100 move",
         expectOnlyTheFirstHundredBonesHoldVertices},
        {"nan-position.dae",
         goodMeshAndOneWith([](ColladaMesh& m) { m.positions[4].y = std::nanf(""); }),
         "Left out 1 mesh(es) with invalid positions", expectOnlyTheGoodMesh},
        {"infinite-position.dae",
         goodMeshAndOneWith([](ColladaMesh& m) { m.positions[0].x = INFINITY; }),
         "Left out 1 mesh(es) with invalid positions", expectOnlyTheGoodMesh},
        {"far-flung-position.dae",
         goodMeshAndOneWith([](ColladaMesh& m) { m.positions[1].z = -1e20f; }),
         "Left out mesh \"bad-mesh\" with a position more than 1000000 units out", expectOnlyTheGoodMesh},
        {"infinite-weight.dae",
         goodMeshAndOneWith([](ColladaMesh& m) { m.influences[2] = {{0, INFINITY}}; }),
         "Left out mesh \"bad-mesh\" with a non-finite position or weight", expectOnlyTheGoodMesh},
        {"zero-normal.dae", oneZeroNormal(), "Mended 1 zero or non-finite normal(s)",
         expectEveryNormalFacingOut},
        {"lines-and-points.obj", std::string("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nl 1 2\np 3\n"),
         "Left out 2 line or point face(s)", expectOnlyTheGoodMesh},
        {"cut-in-half.dae", intact.substr(0, intact.size() / 2), "", expectNothing},
        {"vertices-only.obj", std::string("v 0 0 0\nv 1 0 0\nv 0 1 0\n"), "", expectNothing},
        {"empty.dae", std::string(), "", expectNothing},
        {"no-geometry.dae", colladaDocument({}, {"j0"}), "", expectNothing},
        {"random-bytes.obj", std::string(randomBytes, sizeof randomBytes - 1), "", expectNothing},
        {"missing.dae", std::nullopt, "", expectNothing},
    };
    const TempDir dir;
    for (const DamagedFile& file : cases) {
        SCOPED_TRACE(file.name);
        const std::string path = file.contents ? dir.write(file.name, *file.contents)
                                               : (dir.path() / file.name).string();
        std::unique_ptr<Model> model;
        const std::string printed = importMessage(path, model);
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
        EXPECT_EQ(printed.rfind(std::string("ERROR::ASSIMP::") + file.problem, 0), 0u) << printed;
        EXPECT_TRUE(endsWith(printed, ": " + path + "\n")) << printed;
        file.expect(*model);
    }
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
