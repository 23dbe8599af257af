#include "app/LandscapeTiles.h"

#include "framework/Shader.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

const char* const kLandscapeFile = "assets/models/Landscape.obj";
constexpr float kTileScale = 3.0f;
constexpr float kTileDepth = -30.0f;  // world y of the tiles, well below the arena floor

// Cells of about 80 x 60 world units: the view reaches 100 units, so it takes in a few
// rows of a few cells each.
constexpr int kCellColumns = 8;
constexpr int kCellRows = 64;

glm::mat4 translation(float x, float y, float z) {
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

void lowerIntoPlace(Model& tile) {
    tile.transform(glm::scale(glm::mat4(1.0f), glm::vec3(kTileScale)));
    tile.transform(translation(0.0f, kTileDepth, 0.0f));
}

std::vector<MeshCells> cutIntoCells(Model& tile) {
    std::vector<MeshCells> cells;
    cells.reserve(tile.meshes.size());
    for (Mesh& mesh : tile.meshes) cells.emplace_back(mesh, kCellColumns, kCellRows);
    return cells;
}

void drawTile(Model& tile, std::vector<MeshCells>& cells, Shader& shader,
              const glm::mat4& viewProjection) {
    tile.sendModelUniforms(shader);
    for (std::size_t i = 0; i < cells.size(); ++i) cells[i].draw(tile.meshes[i], shader, viewProjection);
}

}  // namespace

LandscapeTiles::LandscapeTiles()
    : tile1(kLandscapeFile),
      tile2(kLandscapeFile),
      cells1(cutIntoCells(tile1)),
      cells2(cutIntoCells(tile2)) {}

void LandscapeTiles::dress() {
    tile1.setColor(glm::vec3(1.0f, 1.0f, 0.4f));
    tile1.setTexture("mars_texture.jpg");
    tile2.setTexture("rocky.jpg");
    tile1.materialCoefficients = glm::vec3(0.2f, 0.8f, 0.2f);
    tile1.specularAlpha = 0.8f;
    tile2.materialCoefficients = glm::vec3(0.3f, 0.8f, 0.2f);
    tile2.specularAlpha = 0.8f;
    tile2.setColor(glm::vec3(1.0f, 0.0f, 0.4f));
}

void LandscapeTiles::place() {
    tile1.resetModelMatrix();
    tile2.resetModelMatrix();
    lowerIntoPlace(tile1);
    lowerIntoPlace(tile2);
    tile2.transform(translation(0.0f, 0.0f, -kLandscapeTileLength));
    landscapeLeapCount = 1.0f;
    landscapeToggle = false;
}

void LandscapeTiles::followPlayer(float playerZ) {
    if (playerZ > -kLandscapeTileLength * landscapeLeapCount) return;
    landscapeLeapCount += 1.0f;
    Model& behind = landscapeToggle ? tile2 : tile1;
    behind.transform(translation(0.0f, 0.0f, -2.0f * kLandscapeTileLength));
    landscapeToggle = !landscapeToggle;
}

void LandscapeTiles::draw(const std::shared_ptr<Shader>& shader, const glm::mat4& viewProjection) {
    glUseProgram(shader->program);
    drawTile(tile1, cells1, *shader, viewProjection);
    drawTile(tile2, cells2, *shader, viewProjection);
}
