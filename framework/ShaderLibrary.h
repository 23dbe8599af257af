#pragma once

#include <string>
#include <unordered_map>
#include <utility>

/// The two texts kept for one shading technique: its vertex part and its fragment part.
using ShaderTexts = std::pair<std::string, std::string>;

/// The framework's catalogue of shading techniques, by name: "color", "cookTorrance",
/// "environmentMap", "pbr", "phongGouraud", "phongGouraudBonus", "phongPhong",
/// "phongPhongBonus", "specularMap", "texture" and "textureBonus". Built before main()
/// runs and never changed. The game builds its programs from assets/shader/ instead, so
/// nothing reads the texts; each is a one-line description of the stage.
extern const std::unordered_map<std::string, ShaderTexts> shaderLibrary;
