#pragma once

#include "tools/preview/SheetCanvas.h"
#include "tools/preview/PreviewScene.h"

#include <string>

/// How to look at one model: the distance of the camera and, for an animated model, the
/// length of its loop in the game (seconds).
struct ModelLook {
    Model* model;
    std::string name;
    float distance;
    float loopSeconds;  ///< 0 for a rigid model
};

/// One sheet per model: four views around it (from behind and above as the game's camera
/// sees the craft, from the side, from the front, three-quarter) and, for animated
/// models, a second row of four moments across the loop.
bool saveModelSheet(PreviewScene& scene, const ModelLook& look, const std::string& path);
