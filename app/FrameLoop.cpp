#include "app/FrameLoop.h"

#include "app/FrameTiming.h"
#include "app/ProgramState.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iostream>

namespace {

float now() { return static_cast<float>(glfwGetTime()); }

void beginScenePass() {
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

void flyFreeCamera(float frameTime) {
    double cursorX = 0.0;
    double cursorY = 0.0;
    glfwGetCursorPos(window, &cursorX, &cursorY);
    camera->updateCameraVectors();
    camera->moveFreeCamera(window, frameTime);
    camera->mouseLook(static_cast<float>(cursorX), static_cast<float>(cursorY));
}

void updateCamera(float frameTime) {
    if (toggles.freeCameraMode)
        flyFreeCamera(frameTime);
    else if (toggles.matchRunning)
        camera->followForward(frameTime);
    else
        camera->driftForward(frameTime);
}

// Steps in the order they happen within one drawn frame.
void drawFrame(Scene&, float frameTime) {
    beginScenePass();
    updateCamera(frameTime);
}

void runOnePass(Scene& scene, FrameTiming& timing) {
    const float passStart = now();
    glfwPollEvents();  // the input callbacks run in here

    if (timing.frameDue(settings.refreshRate)) {
        drawFrame(scene, timing.accumulated);
        glfwSwapBuffers(window);
        timing.frameDrawn();
    }
    timing.passEnded(passStart, now());
    if (toggles.showFrameStats && timing.statsDue(now())) timing.printStats(std::cout);
}

}  // namespace

void runFrameLoop(Scene& scene) {
    FrameTiming timing;
    timing.statsWindowStart = scene.statsWindowStart;
    while (!glfwWindowShouldClose(window)) runOnePass(scene, timing);
}
