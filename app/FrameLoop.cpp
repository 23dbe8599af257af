#include "app/FrameLoop.h"

#include "app/FrameTiming.h"
#include "feedback/ImpactSparks.h"
#include "app/InputCallbacks.h"
#include "feedback/MatchSounds.h"
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

void drawIntoWindow() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, settings.width, settings.height);
}

void loadHudProjection(Shader& hudShader) {
    hudProjectionMatrix = setHudProjection(hudShader, windowWidth(), windowHeight());
}

// The sky picture fills the target's whole viewport, like a picture over the window.
void paintSky(Scene& scene) {
    loadHudProjection(*scene.hudShader);
    skyPicture->draw();
}

// The scene goes into the off-screen target at the render scale, starting from the sky
// backdrop (painted again whenever the target's size changes). Wireframe mode draws it
// straight to the window, without the resolve pass, and the sky after the geometry.
void beginScenePass(Scene& scene) {
    if (toggles.wireframeMode) {
        drawIntoWindow();
        glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    } else {
        SkyBackdrop& backdrop = *scene.skyBackdrop;
        if (backdrop.needsPainting(postProcessing->width, postProcessing->height)) {
            backdrop.beginPainting(postProcessing->width, postProcessing->height);
            glDisable(GL_DEPTH_TEST);
            paintSky(scene);
        }
        backdrop.copyInto(postProcessing->framebuffer);
        glViewport(0, 0, postProcessing->width, postProcessing->height);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

// In wireframe mode the sky goes in after the solid geometry, pinned to the far plane, so
// that the depth test keeps it behind the lines.
void drawSkyBehindWireframe(Scene& scene) {
    glDepthMask(GL_FALSE);
    glDepthFunc(GL_LEQUAL);
    glDepthRange(1.0, 1.0);
    paintSky(scene);
    glDepthRange(0.0, 1.0);
    glDepthFunc(GL_LESS);
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

// The player is looked at first: when both fall in one frame, the player has lost.
const GameObject* fallenSide() {
    if (game.player->getHealth() <= 0) return game.player;
    if (game.boss->getHealth() <= 0) return game.boss;
    return nullptr;
}

// Into the smoke's own smaller target, laid over the scene afterwards; wireframe mode draws
// the puffs straight into the window.
void drawSmoke(Scene& scene, const GameObject& fallen, float frameTime) {
    glDisable(GL_CULL_FACE);
    scene.smoke->update(frameTime);
    const PostProcessingFrameBuffer& target = *postProcessing;
    if (toggles.wireframeMode) {
        scene.smoke->draw(smokeAnchor(fallen));
    } else {
        scene.smokeTarget->begin(target.framebuffer, target.width, target.height);
        scene.smoke->draw(smokeAnchor(fallen), SmokeTarget::kMiddleShare);
        scene.smoke->draw(smokeAnchor(fallen));
        scene.smokeTarget->layOver(target.framebuffer, target.width, target.height,
                                   *scene.smokeCompositeShader);
    }
    toggles.matchRunning = false;
}

// Over the resolved scene, at the window's own resolution like the HUD.
void drawEndPicture(Scene& scene, const GameObject& fallen) {
    glDisable(GL_CULL_FACE);
    loadHudProjection(*scene.hudShader);
    (&fallen == game.player ? losePicture : winPicture)->draw();
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

// The scene, drawn at the render scale, stretched over the whole window. The resolve
// covers the window, so it needs no clear.
void resolveToWindow(Scene& scene) {
    if (toggles.wireframeMode) return;
    drawIntoWindow();
    postProcessing->resolve({*scene.postProcessingShader, *scene.postProcessingEdgesShader,
                             *scene.postProcessingStretchShader});
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
    scene.hudText->draw(game, toggles.hudVisible, toggles.freeCameraMode, windowWidth(),
                        windowHeight(), hudProjectionMatrix);
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
    camera->moveFreeCamera(heldFlightKeys(window), frameTime);
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

void enter(LoopState& state, FramePass pass) {
    if (state.probe) state.probe->enter(pass);
}

// The 3D scene through the shaken view: the sky, the objects (flashing where hit), the
// landscape, the sparks (after the wireframe's sky: they write no depth, so the sky would
// paint over them) and, once a match is decided, the smoke.
void drawWorld(Scene& scene, LoopState& state, const GameObject* fallen, float frameTime) {
    const ShakenView shaken(*camera, scene.screenShake);
    enter(state, FramePass::Sky);
    beginScenePass(scene);
    enter(state, FramePass::Objects);
    loadFrameUniforms(scene);
    renderObjects(scene, frameTime);
    enter(state, FramePass::Landscape);
    scene.landscape->draw(scene.textureShader, camera->viewProjection);
    if (toggles.wireframeMode) drawSkyBehindWireframe(scene);
    enter(state, FramePass::Sparks);
    scene.sparkRenderer->draw(scene.sparks, camera->view, camera->projection);
    enter(state, FramePass::Ending);
    if (fallen) drawSmoke(scene, *fallen, frameTime);
}

// Steps in the order they happen within one drawn frame: the shaken world (sky backdrop,
// uniforms, objects, landscape, sparks, end-of-match smoke), held fire, update, flashes, shake
// and sparks, sounds, match record, resolve, end-of-match picture, HUD, camera.
void drawFrame(Scene& scene, LoopState& state) {
    const float frameTime = state.timing.frameTime();
    const GameObject* const fallen = fallenSide();
    drawWorld(scene, state, fallen, frameTime);
    enter(state, FramePass::Update);
    loadFrameUniforms(scene);
    if (!buttons->paused) heldFire.advance(frameTime, *buttons);  // game time stops in a pause
    game.update(frameTime);
    feelMatchEvents(scene, frameTime);
    playSounds(scene);
    scene.hudText->recordFrame(game.events, frameTime, buttons->paused);
    scene.bossGlow.hoverAbove(lastPhysicsPosition(*game.boss));
    scene.landscape->followPlayer(lastPhysicsPosition(*game.player).z);
    enter(state, FramePass::Resolve);
    resolveToWindow(scene);
    enter(state, FramePass::Hud);
    if (fallen) drawEndPicture(scene, *fallen);
    placeThreatMarkers(scene);
    drawHud(scene);
    enter(state, FramePass::Camera);
    updateCamera(frameTime);
    game.events.clear();  // everything above has had its look at this frame's events
}

// The next frame's scene size follows what this one cost against the frame budget.
void followFrameBudget(LoopState& state, float frameCost) {
    const float budget = FrameTiming::frameBudget(settings.refreshRate);
    postProcessing->setScale(state.renderScale.frameDrawn(frameCost, budget, now()));
}

}  // namespace

LoopState startLoop(const Scene& scene) {
    LoopState state{FrameTiming(now, sleepFor),
                    RenderScaleController(settings.autoRenderScale, settings.renderScale)};
    state.timing.statsWindowStart = scene.statsWindowStart;
    postProcessing->setScale(state.renderScale.scale());
    return state;
}

void runOnePass(Scene& scene, LoopState& state) {
    FrameTiming& timing = state.timing;
    if (toggles.restartRequested) {
        restartMatch(scene);
        timing.accumulated = 0.0f;
    }
    const float passStart = now();

    enter(state, FramePass::Physics);
    game.stepPhysics(toggles.freeCameraMode ? 0.0f : timing.lastPass);
    enter(state, FramePass::Events);
    glfwPollEvents();  // the input callbacks run in here
    pollGamepad();

    if (state.uncapped || timing.frameDue(settings.refreshRate)) {
        drawFrame(scene, state);
        enter(state, FramePass::Swap);
        glfwSwapBuffers(window);
        timing.frameDrawn();
        followFrameBudget(state, now() - passStart);
    }
    enter(state, FramePass::Idle);
    if (state.uncapped)
        timing.passEnded(passStart, now());
    else
        timing.endPass(passStart, settings.refreshRate);  // may sleep first
    timing.reportStats(toggles.showFrameStats, now(), std::cout);
}

void runFrameLoop(Scene& scene) {
    LoopState state = startLoop(scene);
    while (!glfwWindowShouldClose(window)) runOnePass(scene, state);
}
