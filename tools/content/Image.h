#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/// A picture being painted: RGBA in floats (0..1 per channel, not clamped while painting),
/// row 0 at the top as in the files written from it.
class Image {
public:
    Image(int width, int height, const glm::vec4& fill = glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));

    int width() const { return w; }
    int height() const { return h; }

    glm::vec4& at(int x, int y) { return pixels[static_cast<size_t>(y) * w + x]; }
    const glm::vec4& at(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x]; }
    /// Every pixel from `shade(u, v)` with u, v the pixel centre in [0, 1).
    void paint(const std::function<glm::vec4(float u, float v)>& shade);
    /// Composites `colour` over the pixel with coverage `amount` (0..1).
    void blend(int x, int y, const glm::vec3& colour, float amount);
    /// Adds light: colour x amount onto the pixel's colour.
    void addLight(int x, int y, const glm::vec3& colour, float amount);
    /// Separable box blur repeated three times (close to a Gaussian), wrapping or clamping.
    void blur(int radius, bool wrap);

    /// RGBA bytes, clamped and rounded; with `alpha` false, RGB only.
    std::vector<std::uint8_t> bytes(bool alpha) const;
    /// Writes the file; prints a line and returns false when it cannot.
    bool writePng(const std::string& path, bool alpha) const;
    bool writeJpeg(const std::string& path, int quality) const;

private:
    int w;
    int h;
    std::vector<glm::vec4> pixels;
};
