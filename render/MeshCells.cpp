#include "render/MeshCells.h"

#include <algorithm>
#include <cstddef>
#include <cassert>
#include <cstdint>
#include <iterator>
#include <limits>

namespace {

constexpr std::size_t kCorners = 3;

// Which of the view volume's six sides `clip` lies beyond, one bit each.
unsigned outsideSides(const glm::vec4& clip) {
    return (clip.x < -clip.w ? 1u : 0u) | (clip.x > clip.w ? 2u : 0u) |
           (clip.y < -clip.w ? 4u : 0u) | (clip.y > clip.w ? 8u : 0u) |
           (clip.z < -clip.w ? 16u : 0u) | (clip.z > clip.w ? 32u : 0u);
}

// A box is out of view only when all its corners lie beyond the same side; a box that
// crosses a corner of the view volume is kept, which costs a few triangles, never one seen.
bool mayBeSeen(const glm::vec3& low, const glm::vec3& high, const glm::mat4& clipFromModel) {
    unsigned beyondAll = 63u;
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec4 point((corner & 1) ? high.x : low.x, (corner & 2) ? high.y : low.y,
                              (corner & 4) ? high.z : low.z, 1.0f);
        beyondAll &= outsideSides(clipFromModel * point);
        if (beyondAll == 0u) return true;
    }
    return false;
}

int slot(float value, float low, float extent, int slots) {
    const int index = static_cast<int>((value - low) / extent * static_cast<float>(slots));
    return std::clamp(index, 0, slots - 1);
}

}  // namespace

MeshCells::MeshCells(Mesh& mesh, int columns, int rows) {
    const std::vector<Vertex>& vertices = mesh.vertices;
    const std::vector<std::uint32_t>& indices = mesh.indices;
    const std::size_t triangles = indices.size() / kCorners;
    assert(columns >= 1 && rows >= 1 && "a grid has at least one cell");
    assert(indices.size() % kCorners == 0 && "the model import leaves triangles only");
    if (triangles == 0) return;

    const glm::vec3 low = mesh.restLow;
    const glm::vec3 extent = glm::max(mesh.restHigh - low, glm::vec3(1e-6f));

    const auto cellCount = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    std::vector<std::size_t> cellOf(triangles);
    std::vector<std::size_t> fill(cellCount + 1, 0);
    for (std::size_t t = 0; t < triangles; ++t) {
        glm::vec3 centre(0.0f);
        for (std::size_t c = 0; c < kCorners; ++c) centre += vertices[indices[t * kCorners + c]].position;
        centre /= static_cast<float>(kCorners);
        const int column = slot(centre.x, low.x, extent.x, columns);
        const int row = slot(centre.z, low.z, extent.z, rows);
        cellOf[t] = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                    static_cast<std::size_t>(column);
        ++fill[cellOf[t] + 1];
    }
    for (std::size_t cell = 0; cell < cellCount; ++cell) fill[cell + 1] += fill[cell];

    std::vector<Cell> grid(cellCount);
    for (std::size_t cell = 0; cell < cellCount; ++cell) {
        grid[cell] = Cell{glm::vec3(std::numeric_limits<float>::max()),
                          glm::vec3(std::numeric_limits<float>::lowest()),
                          Mesh::IndexRun{static_cast<std::uint32_t>(fill[cell] * kCorners), 0}};
    }
    std::vector<std::uint32_t> regrouped(triangles * kCorners);
    for (std::size_t t = 0; t < triangles; ++t) {
        Cell& cell = grid[cellOf[t]];
        std::size_t at = cell.triangles.first + cell.triangles.count;
        for (std::size_t c = 0; c < kCorners; ++c) {
            const std::uint32_t index = indices[t * kCorners + c];
            regrouped[at++] = index;
            cell.low = glm::min(cell.low, vertices[index].position);
            cell.high = glm::max(cell.high, vertices[index].position);
        }
        cell.triangles.count += static_cast<std::uint32_t>(kCorners);
    }

    std::copy_if(grid.begin(), grid.end(), std::back_inserter(cells),
                 [](const Cell& cell) { return cell.triangles.count > 0; });
    runs.reserve(cells.size());
    mesh.reorderTriangles(std::move(regrouped));
}

const std::vector<Mesh::IndexRun>& MeshCells::runsInView(const glm::mat4& clipFromModel) {
    runs.clear();
    for (const Cell& cell : cells) {
        if (!mayBeSeen(cell.low, cell.high, clipFromModel)) continue;
        if (!runs.empty() && runs.back().first + runs.back().count == cell.triangles.first)
            runs.back().count += cell.triangles.count;
        else
            runs.push_back(cell.triangles);
    }
    return runs;
}

void MeshCells::draw(const Mesh& mesh, Shader& shader, const glm::mat4& viewProjection) {
    mesh.draw(shader, runsInView(viewProjection * mesh.modelMatrix));
}
