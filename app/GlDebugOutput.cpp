#include "app/GlDebugOutput.h"

#include <iostream>

namespace {

// The AMD debug-output categories share the core names.
constexpr GLenum kCategoryApiErrorAmd = 0x9149;
constexpr GLenum kCategoryWindowSystemAmd = 0x914A;
constexpr GLenum kCategoryDeprecationAmd = 0x914B;
constexpr GLenum kCategoryUndefinedBehaviorAmd = 0x914C;
constexpr GLenum kCategoryPerformanceAmd = 0x914D;
constexpr GLenum kCategoryShaderCompilerAmd = 0x914E;
constexpr GLenum kCategoryApplicationAmd = 0x914F;
constexpr GLenum kCategoryOtherAmd = 0x9150;

constexpr GLuint kBufferPlacementNotice = 131185;
constexpr GLuint kShaderRecompileNotice = 131218;

const char* sourceName(GLenum source) {
    switch (source) {
        case GL_DEBUG_SOURCE_API:
        case kCategoryApiErrorAmd: return "API";
        case GL_DEBUG_SOURCE_WINDOW_SYSTEM:
        case kCategoryWindowSystemAmd: return "Window System";
        case GL_DEBUG_SOURCE_SHADER_COMPILER:
        case kCategoryShaderCompilerAmd: return "Shader Compiler";
        case GL_DEBUG_SOURCE_THIRD_PARTY: return "Third Party";
        case GL_DEBUG_SOURCE_APPLICATION:
        case kCategoryApplicationAmd: return "Application";
        case GL_DEBUG_SOURCE_OTHER:
        case kCategoryOtherAmd: return "Other";
        default: return "Unknown";
    }
}

const char* typeName(GLenum type) {
    switch (type) {
        case GL_DEBUG_TYPE_ERROR: return "Error";
        case GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR:
        case kCategoryDeprecationAmd: return "Deprecated Behavior";
        case GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR:
        case kCategoryUndefinedBehaviorAmd: return "Undefined Behavior";
        case GL_DEBUG_TYPE_PORTABILITY: return "Portability";
        case GL_DEBUG_TYPE_PERFORMANCE:
        case kCategoryPerformanceAmd: return "Performance";
        case GL_DEBUG_TYPE_OTHER:
        case kCategoryOtherAmd: return "Other";
        default: return "Unknown";
    }
}

const char* severityName(GLenum severity) {
    switch (severity) {
        case GL_DEBUG_SEVERITY_HIGH: return "High";
        case GL_DEBUG_SEVERITY_MEDIUM: return "Medium";
        case GL_DEBUG_SEVERITY_LOW: return "Low";
        default: return "Unknown";
    }
}

}  // namespace

bool isIgnoredGlDebugMessage(GLuint id) {
    return id == kBufferPlacementNotice || id == kShaderRecompileNotice;
}

std::string formatGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                                 const char* message) {
    return std::string("OpenGL Error: ") + message + " [Source = " + sourceName(source) +
           ", Type = " + typeName(type) + ", Severity = " + severityName(severity) +
           ", ID = " + std::to_string(id) + "]";
}

void GLAPIENTRY onGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                                 GLsizei, const GLchar* message, const void*) {
    if (isIgnoredGlDebugMessage(id)) return;
    std::cout << formatGlDebugMessage(source, type, id, severity, message) << std::endl;
}
