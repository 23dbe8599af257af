#pragma once

#include <glm/glm.hpp>

#include <functional>
#include <string>
#include <vector>

/// An RGB picture, top row first, as a window shows it: a screenshot of a window or a
/// decoded PNG. Regions are given as fractions of the picture (0..1 from the top left),
/// so the same region fits any window size. Empty when the picture could not be read.
class Screenshot {
public:
    /// A rectangle in fractions of the picture: [x0, x1) across, [y0, y1) down.
    struct Region {
        float x0;
        float y0;
        float x1;
        float y1;
    };

    /// Per-channel mean and standard deviation over a region, in 0..255.
    struct ColourStats {
        glm::vec3 mean{0.0f};
        glm::vec3 deviation{0.0f};
    };

    using PixelTest = std::function<bool(const glm::u8vec3&)>;

    /// Decodes a PNG, JPEG or PPM file without flipping it.
    static Screenshot fromFile(const std::string& path);

    bool empty() const { return pixels.empty(); }
    int width() const { return columns; }
    int height() const { return rows; }
    /// The pixel `x` from the left and `y` from the top; both must lie inside.
    glm::u8vec3 at(int x, int y) const;

    ColourStats statsOf(const Region& region) const;
    /// The share of the region's pixels that pass `test`; 0 for an empty region.
    float fractionOf(const Region& region, const PixelTest& test) const;
    /// The share of the region's pixels that pass `test` here but did not in `before`,
    /// a picture of the same size taken earlier; 0 when the sizes differ.
    float fractionNewlyPassing(const Screenshot& before, const Region& region,
                               const PixelTest& test) const;
    /// For each pixel column of the picture, how many of its pixels inside the region
    /// pass `test` (0 for the columns outside it).
    std::vector<int> columnCounts(const Region& region, const PixelTest& test) const;
    /// The mean step in luminance (0..255) from each pixel of the region to its right-hand
    /// neighbour: fine detail such as a texture's, which smooth shading and haze lack.
    float roughnessOf(const Region& region) const;
    /// The mean colour of a region (the cells of a coarse grid, for comparing pictures
    /// drawn at different sizes).
    glm::vec3 meanOf(const Region& region) const;

    /// Writes the picture as a PNG named `name` into the working directory (the build
    /// directory under CTest) and says where, for a failure message to point at.
    std::string keptAs(const std::string& name) const;

private:
    struct PixelBox {
        int x0;
        int y0;
        int x1;
        int y1;
        int area() const { return (x1 - x0) * (y1 - y0); }
    };
    PixelBox boxOf(const Region& region) const;

    int columns = 0;
    int rows = 0;
    std::vector<glm::u8vec3> pixels;  // tightly packed RGB, as stb_image_write takes them
};

/// "(r, g, b)" for failure messages.
std::string describeColour(const glm::vec3& colour);
