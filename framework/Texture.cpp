#include "framework/Texture.h"

#include "framework/DdsImage.h"

namespace {

void setRepeatingTrilinearSampling() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    // GL_TEXTURE_WRAP_T starts as GL_REPEAT already.
}

}  // namespace

Texture::Texture(const std::string& fileName) {
    const DdsImage image = loadRequiredDds(kTextureDirectory + fileName);
    if (!image.data) return;

    glGenTextures(1, &handle);
    glBindTexture(GL_TEXTURE_2D, handle);
    glCompressedTexImage2D(GL_TEXTURE_2D, 0, image.format, image.width, image.height, 0,
                           static_cast<GLsizei>(image.size), image.data.get());
    glGenerateMipmap(GL_TEXTURE_2D);
    setRepeatingTrilinearSampling();
    loaded = true;
}

Texture::~Texture() {
    if (loaded) glDeleteTextures(1, &handle);
}
