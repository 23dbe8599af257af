#include "tools/content/Image.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

int wrapIndex(int i, int n) { return ((i % n) + n) % n; }

std::uint8_t toByte(float value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

// One pass of a running-sum box filter over a line of `count` values `stride` apart.
void boxLine(glm::vec4* line, int count, int stride, int radius, bool wrap,
             std::vector<glm::vec4>& scratch) {
    scratch.resize(static_cast<size_t>(count));
    const auto fetch = [&](int i) {
        const int index = wrap ? wrapIndex(i, count) : std::clamp(i, 0, count - 1);
        return line[static_cast<ptrdiff_t>(index) * stride];
    };
    glm::vec4 sum(0.0f);
    for (int i = -radius; i <= radius; ++i) sum += fetch(i);
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int i = 0; i < count; ++i) {
        scratch[static_cast<size_t>(i)] = sum * scale;
        sum += fetch(i + radius + 1) - fetch(i - radius);
    }
    for (int i = 0; i < count; ++i) line[static_cast<ptrdiff_t>(i) * stride] = scratch[static_cast<size_t>(i)];
}

}  // namespace

Image::Image(int width, int height, const glm::vec4& fill)
    : w(width), h(height), pixels(static_cast<size_t>(width) * height, fill) {}

void Image::paint(const std::function<glm::vec4(float u, float v)>& shade) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            at(x, y) = shade((static_cast<float>(x) + 0.5f) / static_cast<float>(w),
                             (static_cast<float>(y) + 0.5f) / static_cast<float>(h));
}

void Image::blend(int x, int y, const glm::vec3& colour, float amount) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    glm::vec4& p = at(x, y);
    const float a = std::clamp(amount, 0.0f, 1.0f);
    p = glm::vec4(glm::mix(glm::vec3(p), colour, a), p.a + (1.0f - p.a) * a);
}

void Image::addLight(int x, int y, const glm::vec3& colour, float amount) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    glm::vec4& p = at(x, y);
    p = glm::vec4(glm::vec3(p) + colour * amount, p.a);
}

void Image::blur(int radius, bool wrap) {
    if (radius < 1) return;
    std::vector<glm::vec4> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) boxLine(&at(0, y), w, 1, radius, wrap, scratch);
        for (int x = 0; x < w; ++x) boxLine(&at(x, 0), h, w, radius, wrap, scratch);
    }
}

std::vector<std::uint8_t> Image::bytes(bool alpha) const {
    const int channels = alpha ? 4 : 3;
    std::vector<std::uint8_t> out(pixels.size() * static_cast<size_t>(channels));
    size_t i = 0;
    for (const glm::vec4& p : pixels)
        for (int c = 0; c < channels; ++c) out[i++] = toByte(p[c]);
    return out;
}

bool Image::writePng(const std::string& path, bool alpha) const {
    const int channels = alpha ? 4 : 3;
    const std::vector<std::uint8_t> data = bytes(alpha);
    if (stbi_write_png(path.c_str(), w, h, channels, data.data(), w * channels)) return true;
    std::cout << "Cannot write " << path << std::endl;
    return false;
}

bool Image::writeJpeg(const std::string& path, int quality) const {
    const std::vector<std::uint8_t> data = bytes(false);
    if (stbi_write_jpg(path.c_str(), w, h, 3, data.data(), quality)) return true;
    std::cout << "Cannot write " << path << std::endl;
    return false;
}
