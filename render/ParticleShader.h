#pragma once

#include "framework/Shader.h"

#include <string>

/// A GL program for the particle effects, of stages the framework Shader does not
/// build: vertex + geometry + fragment for drawing, or a single compute stage for the
/// simulation. Sources come from files under "assets/shader/".
///
/// Unlike Shader, nothing here is fatal: a file that cannot be read, a stage that does
/// not compile or a program that does not link prints its "ERROR::SHADER::...: <path>"
/// line and the driver's log (cut at 512 bytes), and construction completes with a
/// program that may be unusable: `usable` says so. Uniforms go through the inherited
/// Shader lookup and setters.
/// Needs a current GL context to construct and to destroy. Shared through std::shared_ptr.
class ParticleShader : public Shader {
public:
    /// Three-stage program. The three files are all read or none is: if any of them
    /// cannot be opened, every source stays empty and one file message is printed.
    ParticleShader(const std::string& vertexFile, const std::string& geometryFile,
                   const std::string& fragmentFile);
    /// Two-stage program, read all or nothing like the three-stage one.
    ParticleShader(const std::string& vertexFile, const std::string& fragmentFile);
    /// Compute program; `vertexFile` and `fragmentFile` stay empty.
    explicit ParticleShader(const std::string& computeFile);

    std::string geometryFile;  ///< empty for a compute program
    std::string computeFile;   ///< empty for a three-stage program
    /// Every source was read and the program linked; nothing may run it otherwise.
    bool usable = false;
};
