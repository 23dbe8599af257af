#include "app/Startup.h"

#include "app/GlDebugOutput.h"
#include "app/InputCallbacks.h"
#include "app/ProgramState.h"
#include "app/UserSettings.h"
#include "app/WindowIcon.h"
#include "framework/ConsolePause.h"
#include "framework/Framework.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace {

// The console must keep the message readable before the process ends.
bool failStartup(const std::string& what) {
    glfwTerminate();
    showFatalMessage("ERROR: " + what);
    return false;
}

void setWindowHints() {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    // The scene is drawn into a single-sample target and the window receives only the
    // resolved picture and the HUD, so samples here cost fill rate and show nothing.
    glfwWindowHint(GLFW_SAMPLES, settings.samples);
    // Neither takes a depth test, and a software renderer copies and stretches pictures
    // into a window without a depth buffer several times faster.
    glfwWindowHint(GLFW_DEPTH_BITS, 0);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    glfwWindowHintString(GLFW_X11_CLASS_NAME, kWindowClassName);
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, kWindowInstanceName);
    // Shown once it has its icon, so that no dock ever lists it without one.
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
}

// X11 wraps window sizes past 16 bits, and a window larger than the screen shows
// nothing more than one that fits.
void fitWindowToScreen() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (mode) fitToScreen(settings, mode->width, mode->height);
}

GLFWwindow* createWindow() {
    fitWindowToScreen();
    GLFWmonitor* monitor = settings.fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    return glfwCreateWindow(settings.width, settings.height, settings.title.c_str(), monitor,
                            nullptr);
}

void registerDebugOutput() {
    if (!glDebugMessageCallback) return;  // drivers without debug output just stay quiet
    glDebugMessageCallback(onGlDebugMessage, nullptr);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
}

// The render targets are reallocated whenever the automatic scale moves, some of them
// megabytes large. After the first such block is freed glibc would raise its threshold and
// serve the next ones from the heap, which they leave in pieces: the game then grew by
// some 17 MB over its first few matches. A fixed threshold keeps them mapped apart and gives
// them back whole.
// The heap's top is left alone up to kHeapTopKept: a software renderer takes and frees its
// bins' blocks, some 700 KiB, at every pass of every frame, and a heap trimmed each time
// calls the kernel up to twenty times a frame to give the pages back, map them again and
// flush them from the other cores.
void keepLargeBlocksOutOfTheHeap() {
    constexpr int kLargeBlockBytes = 128 * 1024;
    constexpr int kHeapTopKept = 2 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
    mallopt(M_TRIM_THRESHOLD, kHeapTopKept);
}

}  // namespace

void loadStartupSettings() {
    userSettings = commandLine.settingsFile
                       ? commandLine.settingsFile
                       : userSettingsFile(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    settings = loadSettings("assets/settings.ini", userSettings);
    if (commandLine.fullscreen) settings.fullscreen = *commandLine.fullscreen;
}

OptionValues optionsOf(const Settings& s) {
    OptionValues options;
    options.musicVolume = s.musicVolume;
    options.effectsVolume = s.effectsVolume;
    if (!s.autoRenderScale) options.renderScale = s.renderScale;
    options.fullscreen = s.fullscreen;
    options.screenShake = s.screenShake;
    return options;
}

bool chooseFirstScreen() {
    menus = MenuFlow(optionsOf(settings), commandLine.difficulty.value_or(Difficulty::Normal));
    if (commandLine.replayFile) {
        ReplayReading reading = loadReplay(*commandLine.replayFile, QEX_VERSION);
        if (!reading.replay) {
            std::cout << "ERROR: Cannot play the replay '" << commandLine.replayFile->string()
                      << "': " << reading.problem << "." << std::endl;
            return false;
        }
        watchedReplay = std::move(reading.replay);
        menus.startAt(watchedReplay->difficulty());
    } else if (commandLine.difficulty) {
        menus.startAt(*commandLine.difficulty);
    }
    return true;
}

void onGlfwError(int code, const char* description) {
    std::cout << "GLFW error " << code << ": " << description << std::endl;
}

bool startWindowAndContext() {
    keepLargeBlocksOutOfTheHeap();
    glfwSetErrorCallback(onGlfwError);
    if (!glfwInit()) return failStartup("Failed to init GLFW");

    setWindowHints();
    window = createWindow();
    if (!window) return failStartup("Failed to create window");
    setWindowIcon(window);
    glfwShowWindow(window);
    glfwMakeContextCurrent(window);

    glewExperimental = GL_TRUE;
    const GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK)
        return failStartup(std::string("Failed to init GLEW: ") +
                           reinterpret_cast<const char*>(glewGetErrorString(glewStatus)));
    registerDebugOutput();
    if (!initFramework()) return failStartup("Failed to init framework");

    registerInputCallbacks(window);
    glfwSwapInterval(0);  // the frame loop paces itself

    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    return true;
}

void shutDownWindowAndContext() {
    shutdownFramework();
    glfwTerminate();
    window = nullptr;
}
