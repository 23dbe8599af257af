#pragma once

#include <string>

/// A texture a mesh's material names. Recorded only: the file is never opened.
struct MeshTexture {
    std::string type;  ///< "texture_diffuse" or "texture_specular"
    std::string path;  ///< from the material, backslashes turned into "/", trailing blanks cut
};
