#pragma once

#include "render/Mesh.h"

#include <glm/glm.hpp>

#include <vector>

class Shader;

/// A long mesh (a landscape tile) cut into a grid of cells across its x and z extent, so
/// that a draw sends the renderer only the triangles of the cells the view can reach. In
/// software the vertex stage runs on the main thread for every triangle sent, seen or not,
/// and a tile reaches some forty times farther than the far plane.
///
/// The mesh's triangles are regrouped cell by cell (row by row along z, column by column
/// within a row), so the cells in view make a few runs of the index buffer. A triangle
/// belongs to the cell of its centre; a cell's bounds hold every corner of its triangles.
/// Every index triple is one triangle: the model import drops lines and points
/// (render/Model.cpp), so no mesh it builds holds anything else.
class MeshCells {
public:
    /// Regroups the triangles of `mesh` into `columns` across x and `rows` along z. Needs a
    /// current GL context: the mesh's index buffer is uploaded again.
    MeshCells(Mesh& mesh, int columns, int rows);

    /// The index runs of the cells whose bounds meet the view volume of `clipFromModel`
    /// (projection x view x the mesh's model matrix); neighbouring cells make one run.
    /// Valid until the next call.
    const std::vector<Mesh::IndexRun>& runsInView(const glm::mat4& clipFromModel);
    /// Draws the triangles of `mesh` (the one regrouped) that the view of `viewProjection`
    /// can reach, with its own model matrix.
    void draw(const Mesh& mesh, Shader& shader, const glm::mat4& viewProjection);

private:
    struct Cell {
        glm::vec3 low;
        glm::vec3 high;
        Mesh::IndexRun triangles;
    };

    std::vector<Cell> cells;            ///< non-empty cells, in index-buffer order
    std::vector<Mesh::IndexRun> runs;   ///< reused by every draw, so drawing allocates nothing
};
