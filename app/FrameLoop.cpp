#include "app/FrameLoop.h"

#include "app/FrameTiming.h"
#include "app/ImpactSparks.h"
#include "app/InputCallbacks.h"
#include "app/MatchSounds.h"
#include "app/ProgramState.h"
#include "app/SceneSetup.h"
#include "game/Enemy.h"
#include "game/Player.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <chrono>
#include <iostream>
#include <thread>

namespace {

float now() { return static_cast<float>(glfwGetTime()); }
void sleepFor(float seconds) { std::this_thread::sleep_for(std::chrono::duration<float>(seconds)); }
float windowWidth() { return static_cast<float>(settings.width); }
float windowHeight() { return static_cast<float>(settings.height); }

// Wireframe mode draws straight to the window, without the resolve pass.
void beginScenePass() {
    if (!toggles.wireframeMode) glBindFramebuffer(GL_FRAMEBUFFER, postProcessing->framebuffer);
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

void loadHudProjection(Shader& hudShader) {
    hudProjectionMatrix = setHudProjection(hudShader, windowWidth(), windowHeight());
}

// The sky is a picture behind everything: drawn first, without depth.
void drawSky(Scene& scene) {
    glDepthMask(GL_FALSE);
    loadHudProjection(*scene.hudShader);
    skyPicture->draw();
    glDepthMask(GL_TRUE);
}

void loadFrameUniforms(Scene& scene) {
    setFrameUniforms(*scene.textureShader, *camera, scene.sun, scene.bossGlow);
}

FlashPaint flashPaint(const Scene& scene, GameObject* object, FlashTarget target) {
    return FlashPaint(object ? object->getModel() : nullptr, target,
                      scene.hitFlashes.strength(target));
}

// A flash lasts the objects' draw: each flashing model gets its own colour back after it.
void renderObjects(Scene& scene, float frameTime) {
    const FlashPaint boss = flashPaint(scene, game.boss, FlashTarget::Boss);
    const FlashPaint craft = flashPaint(scene, game.player, FlashTarget::Craft);
    const FlashPaint shield = flashPaint(scene, game.boss->shieldObject, FlashTarget::Shield);
    game.render(frameTime);
}

// Only the position of the defeated vehicle reaches the smoke, not its turn or scale.
glm::mat4 smokeAnchor(const GameObject& fallen) {
    glm::mat4 anchor(1.0f);
    const Model* model = fallen.getModel();
    if (model && !model->meshes.empty()) anchor[3] = model->meshes.front().modelMatrix[3];
    return anchor;
}

void showEnding(Scene& scene, const GameObject& fallen, HUD& picture, float frameTime) {
    glDisable(GL_CULL_FACE);
    scene.smoke->update(frameTime);
    scene.smoke->draw(smokeAnchor(fallen));
    loadHudProjection(*scene.hudShader);
    picture.draw();
    toggles.matchRunning = false;
}

// The player is looked at first: when both fall in one frame, the player has lost.
void drawEndOfMatch(Scene& scene, float frameTime) {
    if (game.player->getHealth() <= 0)
        showEnding(scene, *game.player, *losePicture, frameTime);
    else if (game.boss->getHealth() <= 0)
        showEnding(scene, *game.boss, *winPicture, frameTime);
}

// The 3D scene, through the shaken view; sparks after everything solid, which hides them.
void drawWorld(Scene& scene, float frameTime) {
    const ShakenView shaken(*camera, scene.screenShake);
    loadFrameUniforms(scene);
    renderObjects(scene, frameTime);
    scene.landscape->draw(scene.textureShader);
    scene.sparkRenderer->draw(scene.sparks, camera->view, camera->projection);
    drawEndOfMatch(scene, frameTime);
}

glm::vec3 sceneDrift() { return glm::vec3(0.0f, 0.0f, -game.scrollSpeed); }

// Flashes, shake and sparks age by this frame, then this frame's events start new ones,
// seen from the next frame on.
void feelMatchEvents(Scene& scene, float frameTime) {
    scene.hitFlashes.update(frameTime);
    scene.screenShake.update(frameTime);
    scene.sparks.update(frameTime);
    scene.hitFlashes.react(game.events);
    scene.screenShake.react(game.events);
    burstSparksAtImpacts(scene.sparks, game.events, sceneDrift());
}

// Where the game's update last moved the object's model to.
glm::vec3 lastPhysicsPosition(const GameObject& object) {
    const Model* model = object.getModel();
    return model ? model->recordedPosition : glm::vec3(0.0f);
}

void resolveToWindow(Scene& scene) {
    if (toggles.wireframeMode) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(scene.postProcessingShader->program);
    glDisable(GL_DEPTH_TEST);
    glBindVertexArray(postProcessing->quadVao);
    glBindTexture(GL_TEXTURE_2D, postProcessing->colorTexture);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// Primary shots fly straight down the track: they cross the boss's distance in line with
// the craft.
glm::vec3 aimPoint() {
    const glm::vec3 craft = lastPhysicsPosition(*game.player);
    return glm::vec3(craft.x, craft.y, lastPhysicsPosition(*game.boss).z);
}

void drawAimCue() {
    if (!toggles.matchRunning || toggles.freeCameraMode) return;
    aimReticle->aimAt(aimPoint(), camera->viewProjection);
    aimReticle->draw();
}

// The pause label and the results show even while F2 hides the bars.
void drawHud(Scene& scene) {
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    // The smoke leaves max blending behind; the bars need ordinary alpha blending.
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    loadHudProjection(*scene.hudShader);
    if (toggles.hudVisible) {
        for (const std::shared_ptr<HUD>& element : game.hudElements) element->draw();
        drawAimCue();
        scene.threatMarkers->draw();
    }
    scene.hudText->draw(game, toggles, windowWidth(), windowHeight(), hudProjectionMatrix);
    glDisable(GL_BLEND);
}

// With the steady view of this frame: the shake is over by now.
void placeThreatMarkers(Scene& scene) {
    scene.threatMarkers->place(game.bossBehaviour.homingMissiles,
                               camera->projection * camera->view, windowWidth(), windowHeight());
}

void flyFreeCamera(float frameTime) {
    double cursorX = 0.0;
    double cursorY = 0.0;
    glfwGetCursorPos(window, &cursorX, &cursorY);
    camera->updateCameraVectors();
    camera->moveFreeCamera(window, frameTime);
    camera->mouseLook(static_cast<float>(cursorX), static_cast<float>(cursorY));
}

// Without even the silent output the game plays on without effects.
void playSounds(Scene& scene) {
    if (scene.soundEngine) playMatchSounds(game, *scene.soundEngine);
}

void updateCamera(float frameTime) {
    if (toggles.freeCameraMode)
        flyFreeCamera(frameTime);
    else if (toggles.matchRunning)
        camera->followForward(frameTime);
    else
        camera->driftForward(frameTime);
}

// Steps in the order they happen within one drawn frame: sky, the shaken world (uniforms,
// objects, landscape, sparks, end-of-match screen), held fire, update, flashes, shake and
// sparks, sounds, match record, resolve, HUD, camera.
void drawFrame(Scene& scene, float frameTime) {
    beginScenePass();
    drawSky(scene);
    drawWorld(scene, frameTime);
    loadFrameUniforms(scene);
    if (!buttons->paused) heldFire.advance(frameTime, *buttons);  // game time stops in a pause
    game.update(frameTime);
    feelMatchEvents(scene, frameTime);
    playSounds(scene);
    scene.hudText->recordFrame(game.events, frameTime, buttons->paused);
    scene.bossGlow.hoverAbove(lastPhysicsPosition(*game.boss));
    scene.landscape->followPlayer(lastPhysicsPosition(*game.player).z);
    resolveToWindow(scene);
    placeThreatMarkers(scene);
    drawHud(scene);
    updateCamera(frameTime);
    game.events.clear();  // everything above has had its look at this frame's events
}

void runOnePass(Scene& scene, FrameTiming& timing) {
    if (toggles.restartRequested) {
        restartMatch(scene);
        timing.accumulated = 0.0f;
    }
    const float passStart = now();

    game.stepPhysics(toggles.freeCameraMode ? 0.0f : timing.lastPass);
    glfwPollEvents();  // the input callbacks run in here
    pollGamepad();

    if (timing.frameDue(settings.refreshRate)) {
        drawFrame(scene, timing.frameTime());
        glfwSwapBuffers(window);
        timing.frameDrawn();
    }
    timing.endPass(passStart, settings.refreshRate);  // may sleep first
    timing.reportStats(toggles.showFrameStats, now(), std::cout);
}

}  // namespace

void runFrameLoop(Scene& scene) {
    FrameTiming timing(now, sleepFor);
    timing.statsWindowStart = scene.statsWindowStart;
    while (!glfwWindowShouldClose(window)) runOnePass(scene, timing);
}
