#pragma once

#include "framework/AssetPaths.h"

#include <GL/glew.h>

#include <string>

/// A block-compressed 2D texture made from a DXT1/3/5 DDS file, with mipmaps that the
/// GPU generates from the top level. Repeats in s, t and r; trilinear minification.
///
/// A file that cannot be used is named in one "ERROR::DDS::" line and leaves it unloaded:
/// no GL texture exists, `handle` is 0, and the materials skip binding it. Needs a current GL context to construct and to
/// destroy. Shared through std::shared_ptr.
class Texture {
public:
    /// Loads "assets/textures/<fileName>". A successful load leaves the texture bound
    /// to GL_TEXTURE_2D.
    explicit Texture(const std::string& fileName);
    ~Texture();
    Texture(const Texture&) = delete;  // owns the GL texture
    Texture& operator=(const Texture&) = delete;

    GLuint handle = 0;  ///< valid only when `loaded`
    bool loaded = false;
};
