#include "tools/preview/TextureSheet.h"

#include "framework/DdsImage.h"

#include <GL/glew.h>
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <iostream>

namespace {

constexpr int kCell = 256;
constexpr int kColumns = 5;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

Picture decodeImage(const std::string& path) {
    Picture picture;
    int channels = 0;
    stbi_set_flip_vertically_on_load(0);  // the game's loader leaves it switched on
    stbi_uc* pixels = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 4);
    if (!pixels) return picture;
    picture.rgba.assign(pixels, pixels + static_cast<size_t>(picture.width) * picture.height * 4);
    stbi_image_free(pixels);
    return picture;
}

// Lets the GPU decompress the top level, as the game's upload does.
Picture decodeDds(const std::string& path) {
    Picture picture;
    const DdsImage image = loadDds(path);
    if (!image.data) return picture;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glCompressedTexImage2D(GL_TEXTURE_2D, 0, image.format, image.width, image.height, 0,
                           static_cast<GLsizei>(image.size), image.data.get());
    picture.width = image.width;
    picture.height = image.height;
    picture.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
    glDeleteTextures(1, &texture);
    return picture;
}

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void place(std::vector<std::uint8_t>& sheet, int sheetWidth, const Picture& picture, int cellX, int cellY) {
    const float scale = std::min(static_cast<float>(kCell) / static_cast<float>(picture.width),
                                 static_cast<float>(kCell) / static_cast<float>(picture.height));
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const bool light = ((x / 16) + (y / 16)) % 2 == 0;
            float rgb[3] = {light ? 0.55f : 0.35f, light ? 0.55f : 0.35f, light ? 0.55f : 0.35f};
            const int sx = static_cast<int>(static_cast<float>(x) / scale);
            const int sy = static_cast<int>(static_cast<float>(y) / scale);
            if (sx < picture.width && sy < picture.height) {
                const std::uint8_t* p = &picture.rgba[(static_cast<size_t>(sy) * picture.width + sx) * 4];
                const float a = static_cast<float>(p[3]) / 255.0f;
                for (int c = 0; c < 3; ++c) rgb[c] = rgb[c] * (1.0f - a) + static_cast<float>(p[c]) / 255.0f * a;
            }
            std::uint8_t* out = &sheet[(static_cast<size_t>(cellY * kCell + y) * sheetWidth + cellX * kCell + x) * 4];
            for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(rgb[c] * 255.0f);
            out[3] = 255;
        }
}

}  // namespace

bool saveTextureSheet(const std::vector<std::string>& files, const std::string& path) {
    const int rows = static_cast<int>((files.size() + kColumns - 1) / kColumns);
    const int width = kColumns * kCell;
    std::vector<std::uint8_t> sheet(static_cast<size_t>(width) * rows * kCell * 4, 40);
    for (size_t i = 0; i < files.size(); ++i) {
        const Picture picture = endsWith(files[i], ".dds") ? decodeDds(files[i]) : decodeImage(files[i]);
        if (picture.rgba.empty()) {
            std::cout << "Cannot decode " << files[i] << std::endl;
            continue;
        }
        place(sheet, width, picture, static_cast<int>(i) % kColumns, static_cast<int>(i) / kColumns);
    }
    stbi_flip_vertically_on_write(0);
    if (stbi_write_png(path.c_str(), width, rows * kCell, 4, sheet.data(), width * 4)) return true;
    std::cout << "Cannot write " << path << std::endl;
    return false;
}
