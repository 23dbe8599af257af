#pragma once

#include <string>
#include <vector>

/// Every picture under assets/textures/ side by side, decoded as the game decodes them
/// (stb_image for JPEG and PNG, the DDS reader and the GPU for DDS), over a checkerboard
/// where they are transparent. Needs a current GL context for the DDS files.
bool saveTextureSheet(const std::vector<std::string>& files, const std::string& path);
