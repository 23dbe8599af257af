#include "app/SceneSetup.h"

#include "app/ProgramState.h"

#include <GLFW/glfw3.h>

namespace {

void buildShaders(Scene& scene) {
    scene.textureShader = std::make_shared<Shader>("texture.vert", "texture.frag");
    scene.hudShader = std::make_shared<Shader>("HUD.vert", "HUD.frag");
    scene.postProcessingShader =
        std::make_shared<Shader>("postprocessing.vert", "postprocessing.frag");
}

void createCamera() {
    camera = std::make_shared<CustomCamera>(
        static_cast<float>(settings.width), static_cast<float>(settings.height), settings.fov,
        settings.nearPlane, settings.farPlane);
    resetCamera(*camera);
}

}  // namespace

void resetCamera(CustomCamera& cam) {
    cam.position = glm::vec3(0.0f, 2.0f, 4.0f);
    cam.worldUp = glm::vec3(0.0f, 1.0f, 0.0f);
    cam.yaw = -90.0f;
    cam.pitch = 0.0f;
    cam.target = glm::vec3(2.0f, 2.0f, 0.0f) - cam.position;
    cam.updateCameraVectors();
}

void setUpScene(Scene& scene) {
    buildShaders(scene);
    createCamera();
    scene.statsWindowStart = static_cast<float>(glfwGetTime());
}

void tearDownScene(Scene& scene) {
    scene = Scene{};
    camera.reset();
}
