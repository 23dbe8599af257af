#pragma once

#include "framework/Shader.h"

#include <memory>

/// What the entry point builds before the loop and owns until teardown: the shader
/// programs and the drawable objects of the scene. Program-wide objects (camera, input
/// record, toggles) live in ProgramState instead.
struct Scene {
    std::shared_ptr<Shader> textureShader;
    std::shared_ptr<Shader> hudShader;
    std::shared_ptr<Shader> postProcessingShader;
    float statsWindowStart = 0.0f;  ///< seconds; read partway through the set-up
};
