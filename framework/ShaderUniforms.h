#pragma once

#include "framework/Shader.h"

#include <glm/glm.hpp>

#include <string>

// Setters the framework shader lacks. Like its own, they skip a uniform the program does
// not declare and leave making the program current to the caller.

inline void setUniformFlag(Shader& shader, const std::string& name, bool value) {
    const GLint location = shader.uniformLocation(name);
    if (location != -1) glUniform1i(location, value ? 1 : 0);
}

inline void setUniformInt(Shader& shader, const std::string& name, int value) {
    const GLint location = shader.uniformLocation(name);
    if (location != -1) glUniform1i(location, value);
}

inline void setUniformUnsigned(Shader& shader, const std::string& name, GLuint value) {
    const GLint location = shader.uniformLocation(name);
    if (location != -1) glUniform1ui(location, value);
}

inline void setUniformFloat(Shader& shader, const std::string& name, float value) {
    const GLint location = shader.uniformLocation(name);
    if (location != -1) glUniform1f(location, value);
}

inline void setUniformVec4(Shader& shader, const std::string& name, const glm::vec4& value) {
    const GLint location = shader.uniformLocation(name);
    if (location != -1) glUniform4f(location, value.x, value.y, value.z, value.w);
}
