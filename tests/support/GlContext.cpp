#include "support/GlContext.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// A busy X server now and then refuses a connection; a moment later it takes it.
constexpr int kConnectAttempts = 5;

bool initGlfwPatiently() {
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        if (glfwInit()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200 * (attempt + 1)));
    }
    return false;
}

}  // namespace

GlContext::GlContext(int width, int height) {
    if (!initGlfwPatiently()) return;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window = glfwCreateWindow(width, height, "qex test", nullptr, nullptr);
    if (!window) return;
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        glfwDestroyWindow(window);
        window = nullptr;
    }
}

GlContext::~GlContext() {
    if (window) glfwDestroyWindow(window);
    glfwTerminate();
}

void redirectForDeathTest() {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (!std::freopen("/dev/null", "r", stdin)) std::perror("stdin");
}
