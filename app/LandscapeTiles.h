#pragma once

#include "render/MeshCells.h"
#include "render/Model.h"

#include <glm/glm.hpp>

#include <memory>
#include <vector>

class Shader;

/// The two landscape tiles the craft flies over. They leap-frog: each time the player
/// passes another tile length along -z, the tile behind it jumps two tile lengths ahead,
/// so the terrain never ends. Both tiles load the same file as independent models, each cut
/// into cells so that a draw leaves out what the view cannot reach. Needs a current GL
/// context.
class LandscapeTiles {
public:
    LandscapeTiles();

    /// Colours, textures and material values; done once at set-up.
    void dress();
    /// Start placement: both tiles scaled and lowered, tile 2 one tile length ahead; the
    /// leap book-keeping starts over. Done at set-up and on every restart.
    void place();
    /// Leaps the tile behind the player forward once `playerZ` has passed the next
    /// threshold; at most one leap per call.
    void followPlayer(float playerZ);
    /// Draws the parts of both tiles that the view of `viewProjection` can reach, with
    /// `shader` (made current here).
    void draw(const std::shared_ptr<Shader>& shader, const glm::mat4& viewProjection);

    Model tile1;
    Model tile2;
    float landscapeLeapCount = 1.0f;  ///< tile lengths travelled + 1
    bool landscapeToggle = false;     ///< false: tile 1 is the next to leap

private:
    std::vector<MeshCells> cells1;  ///< one per mesh of tile 1
    std::vector<MeshCells> cells2;
};

/// One tile's length along z in world units (its file spans a third of it, scaled by 3).
constexpr float kLandscapeTileLength = 3928.0f;
