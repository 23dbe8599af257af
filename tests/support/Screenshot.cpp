#include "support/Screenshot.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

static_assert(sizeof(glm::u8vec3) == 3, "pixels are written out as packed RGB");

Screenshot Screenshot::fromFile(const std::string& path) {
    Screenshot picture;
    int w = 0;
    int h = 0;
    int channels = 0;
    stbi_set_flip_vertically_on_load(0);
    const std::unique_ptr<stbi_uc, void (*)(void*)> decoded{
        stbi_load(path.c_str(), &w, &h, &channels, 3), stbi_image_free};
    if (!decoded || w <= 0 || h <= 0) return picture;
    picture.columns = w;
    picture.rows = h;
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    picture.pixels.resize(count);
    const stbi_uc* bytes = decoded.get();
    for (size_t i = 0; i < count; ++i)
        picture.pixels[i] = glm::u8vec3(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]);
    return picture;
}

glm::u8vec3 Screenshot::at(int x, int y) const {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(columns) + static_cast<size_t>(x)];
}

Screenshot::PixelBox Screenshot::boxOf(const Region& region) const {
    const auto scaled = [](float fraction, int size) {
        const int edge = static_cast<int>(std::lround(fraction * static_cast<float>(size)));
        return std::clamp(edge, 0, size);
    };
    PixelBox box{scaled(region.x0, columns), scaled(region.y0, rows), scaled(region.x1, columns),
                 scaled(region.y1, rows)};
    box.x1 = std::max(box.x0, box.x1);
    box.y1 = std::max(box.y0, box.y1);
    return box;
}

Screenshot::ColourStats Screenshot::statsOf(const Region& region) const {
    ColourStats stats;
    const PixelBox box = boxOf(region);
    if (box.area() == 0) return stats;
    glm::dvec3 sum(0.0);
    glm::dvec3 sumOfSquares(0.0);
    for (int y = box.y0; y < box.y1; ++y) {
        for (int x = box.x0; x < box.x1; ++x) {
            const glm::dvec3 value(at(x, y));
            sum += value;
            sumOfSquares += value * value;
        }
    }
    const glm::dvec3 mean = sum / static_cast<double>(box.area());
    const glm::dvec3 variance = sumOfSquares / static_cast<double>(box.area()) - mean * mean;
    stats.mean = glm::vec3(mean);
    stats.deviation = glm::vec3(glm::sqrt(glm::max(variance, glm::dvec3(0.0))));
    return stats;
}

float Screenshot::roughnessOf(const Region& region) const {
    const PixelBox box = boxOf(region);
    const auto luminance = [this](int x, int y) {
        return glm::dot(glm::vec3(at(x, y)), glm::vec3(0.299f, 0.587f, 0.114f));
    };
    double steps = 0.0;
    int count = 0;
    for (int y = box.y0; y < box.y1; ++y) {
        for (int x = box.x0; x + 1 < box.x1; ++x) {
            steps += std::fabs(luminance(x + 1, y) - luminance(x, y));
            ++count;
        }
    }
    return count == 0 ? 0.0f : static_cast<float>(steps / count);
}

glm::vec3 Screenshot::meanOf(const Region& region) const { return statsOf(region).mean; }

float Screenshot::fractionOf(const Region& region, const PixelTest& test) const {
    const PixelBox box = boxOf(region);
    if (box.area() == 0) return 0.0f;
    int passing = 0;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x)
            if (test(at(x, y))) ++passing;
    return static_cast<float>(passing) / static_cast<float>(box.area());
}

float Screenshot::fractionNewlyPassing(const Screenshot& before, const Region& region,
                                       const PixelTest& test) const {
    const PixelBox box = boxOf(region);
    if (box.area() == 0 || before.width() != width() || before.height() != height()) return 0.0f;
    int passing = 0;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x)
            if (test(at(x, y)) && !test(before.at(x, y))) ++passing;
    return static_cast<float>(passing) / static_cast<float>(box.area());
}

std::vector<int> Screenshot::columnCounts(const Region& region, const PixelTest& test) const {
    std::vector<int> counts(static_cast<size_t>(columns), 0);
    const PixelBox box = boxOf(region);
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x)
            if (test(at(x, y))) ++counts[static_cast<size_t>(x)];
    return counts;
}

std::string Screenshot::keptAs(const std::string& name) const {
    const std::string path = (std::filesystem::current_path() / name).string();
    const bool saved =
        !empty() && stbi_write_png(path.c_str(), columns, rows, 3, pixels.data(), columns * 3) != 0;
    return saved ? "screenshot kept as " + path : "no screenshot to keep";
}

std::string describeColour(const glm::vec3& colour) {
    return "(" + std::to_string(colour.r) + ", " + std::to_string(colour.g) + ", " +
           std::to_string(colour.b) + ")";
}
