#include "framework/Framework.h"

#include <GLFW/glfw3.h>

#include <iostream>
#include <string>

std::unique_ptr<Shader> defaultShader;
TeapotMesh teapotMesh;

namespace {

// The caller ends the program right after a false start, so the line must be out first.
bool refuseStart(const std::string& reason) {
    std::cout << reason << std::endl;
    return false;
}

GLuint currentProgram() {
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return static_cast<GLuint>(program);
}

void makeDefaultShaderCurrentIfNoneIs() {
    if (currentProgram() != 0) return;
    defaultShader = std::make_unique<Shader>();
    glUseProgram(defaultShader->program);
}

}  // namespace

bool initFramework() {
    if (glfwGetCurrentContext() == nullptr) return refuseStart("No context available. Exiting.");
    if (!GLEW_VERSION_3_0) return refuseStart("GLEW not available. Exiting.");
    makeDefaultShaderCurrentIfNoneIs();
    deleteTeapotMesh(teapotMesh);  // a second start must not strand the first upload
    teapotMesh = buildTeapotMesh();
    return true;
}

void shutdownFramework() {
    deleteTeapotMesh(teapotMesh);
    defaultShader.reset();  // empties the global before the program is deleted
}
