#pragma once

#include "framework/AssetPaths.h"

#include <GL/glew.h>

#include <string>

/// One image file under "assets/textures/" as a mipmapped OpenGL 2D texture.
///
/// JPEG and PNG, decoded with stb_image and flipped so that v = 1 is the top row of the
/// file. A file that cannot be read or decoded prints "Failed to load texture <name>" and
/// leaves `loaded` false with an empty but valid texture object. Owns the texture object.
/// Needs a current GL context. Shared through std::shared_ptr.
class stbTexture {
public:
    /// `fileName` is relative to "assets/textures/", extension included.
    explicit stbTexture(const std::string& fileName);
    ~stbTexture();
    stbTexture(const stbTexture&) = delete;  // owns the texture object
    stbTexture& operator=(const stbTexture&) = delete;

    GLuint id = 0;
    bool loaded = false;  ///< the image was decoded and uploaded
};

