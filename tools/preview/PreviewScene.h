#pragma once

#include "render/CustomCamera.h"
#include "app/SceneLighting.h"
#include "effects/ParticleSystem.h"
#include "effects/PostProcessingFrameBuffer.h"
#include "framework/Shader.h"
#include "render/HUD.h"
#include "render/Model.h"
#include "render/ParticleShader.h"
#include "tools/preview/SheetCanvas.h"

#include <glm/glm.hpp>

#include <memory>
#include <vector>

/// A model placed for one picture: its model matrix and the clock time it is posed at.
struct Placement {
    Model* model;
    glm::mat4 matrix;
};

/// What one game picture shows.
struct Moment {
    float playerZ = 0.0f;          ///< the craft's position along the track; the camera follows
    float seconds = 0.0f;          ///< clock time for the animations
    std::vector<Placement> extras; ///< shots and missiles in flight
    bool bossDefeated = false;     ///< the boss falls, smoke rises, the win picture shows
    bool playerDefeated = false;   ///< smoke at the craft and the lose picture
    bool showEndPicture = true;    ///< off to look at the smoke behind the picture
};

/// The game's scene, built the way the game builds it (the same files, colours,
/// materials, lights and camera), drawn with the game's own parts: models, HUD quads,
/// the post-processing target and the smoke. For looking at the content, not for play.
/// Needs a current GL context; run in a folder that holds assets/.
class PreviewScene {
public:
    PreviewScene(int width, int height);

    /// Draws one frame of the game into `target` as the frame loop does.
    void drawGameFrame(const Moment& moment, const SheetCanvas& target);
    /// Draws `model` alone in the current viewport, seen from `eye` toward `centre`, under
    /// the game's lights, on a dark backdrop.
    void drawStudioShot(Model& model, const glm::mat4& matrix, const glm::vec3& eye, const glm::vec3& centre,
                        float seconds, float aspect);

    std::shared_ptr<Shader> modelShader;
    std::shared_ptr<Shader> hudShader;
    std::shared_ptr<Shader> resolveShader;
    std::shared_ptr<Shader> edgeShader;
    std::shared_ptr<Shader> gradeShader;
    std::shared_ptr<Shader> stretchShader;
    Model craft;
    Model boss;
    Model shield;
    Model tile1;
    Model tile2;
    Model bossShot;
    Model playerShot;
    Model heavyShot;
    Model missile;

private:
    void placeCamera(float playerZ, bool followWreck, const glm::vec3& wreck);
    void drawWorld(const Moment& moment);
    void drawHud();

    int width;
    int height;
    std::shared_ptr<CustomCamera> camera;
    DirectionalLight sun;
    PointLight glow;
    PostProcessingFrameBuffer sceneTarget;
    ParticleSystem smoke;
    std::unique_ptr<HUD> sky;
    std::unique_ptr<HUD> winPicture;
    std::unique_ptr<HUD> losePicture;
    std::vector<std::unique_ptr<HUD>> bars;
};
