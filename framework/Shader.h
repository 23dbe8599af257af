#pragma once

#include "framework/AssetPaths.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <optional>
#include <string>
#include <unordered_map>

/// A linked GL program of a vertex and a fragment stage, with a cache of uniform
/// locations by name.
///
/// The stages come either from files under "assets/shader/" or, for the default
/// construction, from the built-in sources below. A file takes in another of that folder,
/// which the programs share, at a line `#include "name"`. Any failure to read, compile or link
/// is fatal: the message goes to standard output, the console pauses and the process
/// exits with status 1, so a constructed Shader is always complete.
/// Needs a current GL context. Shared through std::shared_ptr.
class Shader {
public:
    /// The default program: positions straight to clip space (z negated), flat colour
    /// "fragColor", red unless set.
    Shader();
    /// Builds "assets/shader/<vertexFile>" and "assets/shader/<fragmentFile>".
    Shader(const std::string& vertexFile, const std::string& fragmentFile);
    virtual ~Shader();
    Shader(const Shader&) = delete;  // owns the GL program
    Shader& operator=(const Shader&) = delete;

    /// The location GL gives for `name`, -1 included; each name is asked of GL once.
    GLint uniformLocation(const std::string& name);

    // The setters do not make the program current: the caller does.
    void setUniform(const std::string& name, const glm::mat4& value);
    void setUniform(const std::string& name, const glm::mat3& value);
    void setUniform(const std::string& name, const glm::vec3& value);
    void setUniform(const std::string& name, const glm::vec4& value);
    void setUniform(const std::string& name, float value);

    GLuint program = 0;
    std::string vertexFile;    ///< file name, or the source text when fromSource
    std::string fragmentFile;  ///< file name, or the source text when fromSource
    bool fromSource = false;

protected:
    /// Releases the program built so far without building another; used by derived
    /// classes that replace `program` with one of their own.
    void releaseProgram();

private:
    GLuint buildProgram();
    GLuint compileStage(GLenum stageType, const std::string& fileOrSource);
    std::string readStageSource(const std::string& fileOrSource) const;

    std::unordered_map<std::string, GLint> locationCache;
};

/// The text of "assets/shader/<fileName>", each line `#include "name"` in it replaced by
/// the text of that file of the same folder, one level deep (lines of the included text are
/// passed on as they are). std::nullopt when a file cannot be read; `unreadable` then holds
/// its path, and is emptied otherwise.
std::optional<std::string> readShaderSource(const std::string& fileName, std::string& unreadable);

extern const char* const builtinVertexSource;
extern const char* const builtinFragmentSource;

