#pragma once

#include "framework/Shader.h"
#include "framework/TeapotMesh.h"

#include <memory>

// The framework's start-up check and its two program-wide objects. Both live from a
// successful initFramework() to shutdownFramework(), on the thread that owns the context.

/// The built-in line program, made by initFramework() only when no program was current.
extern std::unique_ptr<Shader> defaultShader;
/// The built-in teapot, uploaded by initFramework().
extern TeapotMesh teapotMesh;

/// Checks the framework's preconditions (a current context, OpenGL 3.0 or later through
/// GLEW), makes the default program current when none is, and uploads the teapot.
/// Returns false after one line on standard output when it cannot start; nothing is
/// created then, and the caller ends the program.
bool initFramework();

/// Deletes the teapot and the default program (leaving no program current). Call once,
/// before the windowing library is terminated; does nothing if the framework never started.
void shutdownFramework();
