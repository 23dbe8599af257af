#pragma once

#include "tools/content/ColladaWriter.h"
#include "tools/content/MeshBuilder.h"
#include "tools/content/Skeleton.h"

#include <glm/glm.hpp>

#include <memory>
#include <string>

/// A model made by the generator, ready to be written as Collada.
struct GeneratedModel {
    std::string name;
    MeshBuilder mesh;
    std::unique_ptr<Skeleton> skeleton;  ///< null for a rigid model
    glm::vec3 diffuse{0.8f};

    ColladaModel collada() const { return {name, &mesh, skeleton.get(), diffuse}; }
};

/// The craft and the boss are drawn without a texture; the model shader then reads their
/// texture coordinates as a paint map (see "texture.frag"): u below 16 is painted hull with
/// a panel seam at every whole coordinate, u from 32 to 48 glows, u from 64 up is dark
/// glass. `panels` is the number of plates across a part (at most 16).
inline UvRect hullZone(float panelsAcross, float panelsAlong) { return {{0.0f, 0.0f}, {panelsAcross, panelsAlong}}; }
inline UvRect glowZone() { return {{32.0f, 0.0f}, {1.0f, 1.0f}}; }
inline UvRect glassZone() { return {{64.0f, 0.0f}, {1.0f, 1.0f}}; }
