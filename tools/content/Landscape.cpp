#include "tools/content/Landscape.h"

#include "tools/content/Noise.h"

#include <glm/glm.hpp>
#include <glm/gtc/constants.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <vector>

namespace {

// Software rendering shades every vertex of both tiles each frame, and the importer gives
// each triangle its own three: these counts keep a tile near 20 000 triangles.
constexpr int kRows = 262;                // quads along z: 15 world units each
constexpr float kFineHalfWidth = 26.0f;   // file units of fine columns around the canyon walls
constexpr float kFineStep = 2.6f;
constexpr float kCoarseStep = 9.0f;
constexpr float kTextureRepeat = 10.0f;   // file units per texture repeat across
constexpr int kTextureRepeatsAlong = 131; // a whole number per tile, so the tiles join
constexpr float kTwoPi = glm::two_pi<float>();

const Noise& terrainNoise() {
    static const Noise noise(1979);
    return noise;
}

// Along-track position as a fraction of the tile: the terrain is periodic in it.
float alongFraction(float z) {
    const float f = -z / Landscape::kTileLength;
    return f - std::floor(f);
}

// The canyon's centre line winds but returns to x = 0 at both ends of the tile.
float canyonCentre(float along) {
    return 3.5f * std::sin(kTwoPi * 2.0f * along) + 2.0f * std::sin(kTwoPi * 5.0f * along + 1.3f) -
           2.0f * std::sin(1.3f);
}

float terrace(float h, float step) {
    const float level = std::floor(h / step);
    const float within = h / step - level;
    return (level + glm::smoothstep(0.35f, 0.65f, within)) * step;
}

// A smooth minimum with the ceiling: tops flatten out just below it without a crease.
float softCeiling(float h, float ceiling) {
    constexpr float kSharpness = 1.5f;
    const float below = kSharpness * (ceiling - h);
    if (below > 30.0f) return h;  // far below: exactly the height, and exp() stays finite
    return ceiling - std::log1p(std::exp(below)) / kSharpness;
}

std::vector<float> columnPositions() {
    std::vector<float> left;
    for (float x = -Landscape::kHalfWidth; x < -kFineHalfWidth - 0.5f * kCoarseStep; x += kCoarseStep) left.push_back(x);
    std::vector<float> xs = left;
    for (float x = -kFineHalfWidth; x <= kFineHalfWidth + 0.01f; x += kFineStep) xs.push_back(x);
    for (auto it = left.rbegin(); it != left.rend(); ++it) xs.push_back(-*it);
    return xs;
}

std::string fixed(float value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
    const std::string s = text;
    const bool negativeZero = s[0] == '-' && s.find_first_not_of("0.", 1) == std::string::npos;
    return negativeZero ? s.substr(1) : s;
}

}  // namespace

float Landscape::height(float x, float z) {
    const Noise& noise = terrainNoise();
    const float along = alongFraction(z);
    const float across = x / (2.0f * kHalfWidth) + 0.5f;
    const float fromCentre = std::fabs(x - canyonCentre(along));

    const float floor = 2.6f + 0.7f * noise.tiled(along * 4.0f, across, 16, 4);
    const float wallRise = glm::smoothstep(6.0f, 15.0f, fromCentre + 3.0f * noise.tiled(along, across, 32, 3));
    const float rock = 1.0f * noise.tiledRidged(along * 2.0f, across * 2.0f, 32, 4);
    const float plateau = 6.0f + 1.3f * noise.tiled(along, across * 0.5f, 8, 5) + rock;
    const float mesas = 2.0f * glm::smoothstep(0.25f, 0.45f, noise.tiled(along * 0.5f, across, 16, 3));
    const float walls = terrace(plateau + mesas, 1.4f);
    const float h = glm::mix(floor, walls, wallRise);
    return softCeiling(h, kHighest);
}

bool Landscape::write(const std::string& path) {
    const std::vector<float> xs = columnPositions();
    const int columns = static_cast<int>(xs.size());
    const float rowStep = kTileLength / static_cast<float>(kRows);
    const auto zOf = [rowStep](int row) { return -rowStep * static_cast<float>(row); };
    // The last row is the first row of the next tile: same heights, same normals.
    const auto heightAt = [&](int column, int row) { return height(xs[static_cast<size_t>(column)], zOf(row % kRows)); };

    std::ofstream out(path, std::ios::binary);
    out << "# Qex terrain tile: " << fixed(kTileLength, 4) << " units along -z, heights repeat along z\n"
        << "o Landscape\n";
    for (int row = 0; row <= kRows; ++row)
        for (int column = 0; column < columns; ++column)
            out << "v " << fixed(xs[static_cast<size_t>(column)], 3) << ' ' << fixed(heightAt(column, row), 4) << ' '
                << fixed(zOf(row), 4) << '\n';
    for (int row = 0; row <= kRows; ++row)
        for (int column = 0; column < columns; ++column) {
            const float x = xs[static_cast<size_t>(column)];
            const float z = zOf(row % kRows);
            const float e = 0.5f;
            const glm::vec3 n = glm::normalize(glm::vec3(height(x - e, z) - height(x + e, z), 2.0f * e,
                                                         height(x, z - e) - height(x, z + e)));
            out << "vn " << fixed(n.x, 4) << ' ' << fixed(n.y, 4) << ' ' << fixed(n.z, 4) << '\n';
        }
    const float vPerRow = static_cast<float>(kTextureRepeatsAlong) / static_cast<float>(kRows);
    for (int row = 0; row <= kRows; ++row)
        for (int column = 0; column < columns; ++column)
            out << "vt " << fixed(xs[static_cast<size_t>(column)] / kTextureRepeat, 4) << ' '
                << fixed(vPerRow * static_cast<float>(row), 4) << '\n';
    out << "s 1\n";
    const auto index = [columns](int column, int row) { return row * columns + column + 1; };
    const auto corner = [&](int column, int row) {
        const std::string i = std::to_string(index(column, row));
        return i + '/' + i + '/' + i;
    };
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column + 1 < columns; ++column) {
            // Counter-clockwise seen from above: x grows to the right, rows run toward -z.
            out << "f " << corner(column, row) << ' ' << corner(column + 1, row) << ' ' << corner(column + 1, row + 1)
                << '\n'
                << "f " << corner(column, row) << ' ' << corner(column + 1, row + 1) << ' ' << corner(column, row + 1)
                << '\n';
        }
    if (out) return true;
    std::cout << "Cannot write " << path << std::endl;
    return false;
}
