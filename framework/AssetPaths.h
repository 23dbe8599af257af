#pragma once

#include <string>

// Where the game's run-time files live, relative to the working directory.
inline const std::string kShaderDirectory = "assets/shader/";
inline const std::string kTextureDirectory = "assets/textures/";
inline const std::string kIconDirectory = "assets/icons/";
