#pragma once

struct aiMesh;
struct aiScene;

/// What the model import mends or counts itself before assimp's clean-up, so that a bad
/// value costs no more than itself. Left to assimp's FindInvalidData step, one zero-length
/// normal deletes the mesh's whole normal array (the mesh then draws unlit), and a
/// texture-coordinate set whose values are all the same (a flat-coloured mesh mapped to one
/// texel) is deleted too.
namespace import_repair {

/// Gives every zero-length or non-finite normal the direction of the triangles around its
/// vertex (area-weighted), or +y where those have none. Returns how many it mended.
unsigned repairNormals(aiMesh& mesh);

/// Sets each non-finite texture coordinate to 0. Returns how many it mended. Sets of
/// identical coordinates are kept: the import asks FindInvalidData to leave them alone.
unsigned repairTexCoords(aiMesh& mesh);

/// Faces of fewer than three corners (lines and points) in all meshes: the import drops
/// them, since everything it builds draws triangles.
unsigned countNonTriangleFaces(const aiScene& scene);

/// Meshes made of lines and points alone, which the import drops whole.
unsigned countMeshesWithoutTriangles(const aiScene& scene);

}  // namespace import_repair
