#include "render/stbTexture.h"

#include <stb_image.h>

#include <cstdio>
#include <iostream>
#include <memory>

namespace {

struct PixelFormat {
    GLenum format;
    GLint swizzle[4];
};

// Indexed by channel count - 1. Grey images are spread over red, green and blue through
// the swizzle, so the upload reads exactly the bytes the decoder returned.
const PixelFormat kPixelFormats[] = {
    {GL_RED, {GL_RED, GL_RED, GL_RED, GL_ONE}},
    {GL_RG, {GL_RED, GL_RED, GL_RED, GL_GREEN}},
    {GL_RGB, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}},
    {GL_RGBA, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}},
};
constexpr int kMaxChannels = 4;
// Rows of three or fewer one-byte channels are not 4-byte aligned in general.
constexpr int kPackedRowsUpTo = 3;

struct DecodedImage {
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels{nullptr, stbi_image_free};
    int width = 0;
    int height = 0;
    int channels = 0;
};

DecodedImage decodeFlipped(const std::string& path) {
    DecodedImage image;
    stbi_set_flip_vertically_on_load(1);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return image;
    image.pixels.reset(stbi_load_from_file(file, &image.width, &image.height, &image.channels, 0));
    std::fclose(file);
    return image;
}

bool isUploadable(const DecodedImage& image) {
    return image.pixels && image.width > 0 && image.height > 0 && image.channels >= 1 &&
           image.channels <= kMaxChannels;
}

void upload(const DecodedImage& image) {
    const PixelFormat& pixelFormat = kPixelFormats[image.channels - 1];
    if (image.channels <= kPackedRowsUpTo) glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(pixelFormat.format), image.width,
                 image.height, 0, pixelFormat.format, GL_UNSIGNED_BYTE, image.pixels.get());
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, pixelFormat.swizzle);
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

}  // namespace

stbTexture::stbTexture(const std::string& fileName) {
    const DecodedImage image = decodeFlipped(kTextureDirectory + fileName);
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    if (!isUploadable(image)) {
        std::cout << "Failed to load texture " << fileName << std::endl;
        return;
    }
    upload(image);
    glBindTexture(GL_TEXTURE_2D, 0);
    loaded = true;
}

stbTexture::~stbTexture() {
    glDeleteTextures(1, &id);
}
