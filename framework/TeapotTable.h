#pragma once

#include <glm/glm.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

/// The built-in teapot as constant data: the 32 bicubic patches of the classic teapot,
/// each sampled on a 4 x 4 grid (parameters 0, 1/3, 2/3, 1), patch after patch and row
/// after row within a patch.
///
/// Positions are in the framework's teapot frame: the classic data (z up) scaled by
/// 0.280019 and shifted so that +y is up and the model spans about -0.85 .. 0.95 in x,
/// -0.48 .. 0.40 in y and -0.56 .. 0.56 in z. The GPU copy is turned half a turn about
/// y on upload (TeapotMesh), this table is not.
constexpr std::size_t kTeapotPatchCount = 32;
constexpr std::size_t kTeapotSamplesPerPatch = 16;
constexpr std::size_t kTeapotPositionCount = kTeapotPatchCount * kTeapotSamplesPerPatch;  // 512
constexpr std::size_t kTeapotIndicesPerPatch = 18 * 3;  // 3 x 3 grid cells, two triangles each
constexpr std::size_t kTeapotIndexCount = kTeapotPatchCount * kTeapotIndicesPerPatch;   // 1728

/// The 512 sampled positions, computed from the patch data on each call.
std::vector<glm::vec3> teapotPositions();

/// The 1728 triangle indices into teapotPositions().
std::vector<std::uint32_t> teapotIndices();
