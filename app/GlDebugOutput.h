#pragma once

#include <GL/glew.h>

#include <string>

/// The driver's debug messages as one line each, "OpenGL Error: " first whatever their
/// severity. Two known driver notices (buffer placement, shader recompilation) are
/// dropped.
void GLAPIENTRY onGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                                 GLsizei length, const GLchar* message, const void* userParam);

/// The text of the line, without the newline.
std::string formatGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                                 const char* message);

/// True for the notices that are never printed.
bool isIgnoredGlDebugMessage(GLuint id);
