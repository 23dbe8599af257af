#include "app/FrameLoop.h"

#include "app/FrameTiming.h"
#include "app/InputCallbacks.h"
#include "app/MenuText.h"
#include "app/ProgramState.h"
#include "app/SceneSetup.h"
#include "app/ScreenCover.h"
#include "feedback/ImpactSparks.h"
#include "feedback/MatchSounds.h"
#include "game/ControlFrame.h"
#include "game/Enemy.h"
#include "game/Player.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <chrono>
#include <cmath>
#include <iostream>
#include <thread>
#include <utility>

namespace {

const std::string kTextureLodBiasUniform = "textureLodBias";

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
// backdrop (painted again whenever the target's size changes). Wireframe mode draws it in
// lines from a plain clear, and the sky after the geometry: the window has no depth buffer
// to draw it straight into. The stencil is cleared with the depth though the scene uses
// none: a software renderer clears a packed depth and stencil buffer whole several times
// faster than the depth alone, which it has to pick out of every pixel.
void beginScenePass(Scene& scene) {
    if (toggles.wireframeMode) {
        glBindFramebuffer(GL_FRAMEBUFFER, postProcessing->framebuffer);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);  // the last frame filled the window's draws
        glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    } else {
        StillPicture& backdrop = *scene.skyBackdrop;
        if (backdrop.needsPainting(postProcessing->width, postProcessing->height)) {
            backdrop.beginPainting(postProcessing->width, postProcessing->height);
            glDisable(GL_DEPTH_TEST);
            paintSky(scene);
        }
        backdrop.copyInto(postProcessing->framebuffer);
    }
    glViewport(0, 0, postProcessing->width, postProcessing->height);
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
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

// Drawn smaller than the window, the scene reads its textures from the mip level that the
// window's own size would pick, not a coarser one: the stretch over the window softens the
// picture enough, and the landscape's texture is most of it.
void loadFrameUniforms(Scene& scene) {
    const float lodBias = std::log2(postProcessing->currentScale());
    for (Shader* lit : {scene.textureShader.get(), scene.landscapeShader.get()}) {
        setFrameUniforms(*lit, *camera, scene.sun, scene.bossGlow);
        lit->setUniform(kTextureLodBiasUniform, lodBias);
    }
}

FlashPaint flashPaint(const Scene& scene, GameObject* object, FlashTarget target) {
    return FlashPaint(object ? object->getModel() : nullptr, target,
                      scene.hitFlashes.strength(target));
}

// A flash lasts the objects' draw: each flashing model gets its own colour back after it.
void renderObjects(Scene& scene, float alpha) {
    const FlashPaint boss = flashPaint(scene, game.boss, FlashTarget::Boss);
    const FlashPaint craft = flashPaint(scene, game.player, FlashTarget::Craft);
    const FlashPaint shield = flashPaint(scene, game.boss->shieldObject, FlashTarget::Shield);
    game.render(alpha);
}

// Where `model` stands on screen in `viewProjection`. Its meshes' boxes are taken round
// their rest pose and widened by kRoomToMove of their size each way, for what bones move.
std::optional<WindowShare> shareOnScreen(const Model& model, const glm::mat4& viewProjection) {
    constexpr float kRoomToMove = 0.25f;
    ScreenCover cover(viewProjection);
    for (const Mesh& mesh : model.meshes) {
        if (mesh.vertices.empty()) continue;
        const glm::vec3 room = (mesh.restHigh - mesh.restLow) * kRoomToMove;
        cover.add(mesh.modelMatrix, mesh.restLow - room, mesh.restHigh + room);
    }
    return cover.share();
}

// The resolve smooths edges where the craft, the boss and its shield stand, in the view
// they are drawn in, and nowhere else.
void smoothEdgesOfVehicles() {
    postProcessing->smoothNoEdges();
    const glm::mat4 viewProjection = camera->projection * camera->view;
    for (GameObject* object : game.objects) {
        const Model* model = object->getModel();
        if (!model) continue;
        if (const auto share = shareOnScreen(*model, viewProjection))
            postProcessing->smoothEdgesWithin(*share);
    }
}

// Only the position of the defeated vehicle reaches the smoke, not its turn or scale.
glm::mat4 smokeAnchor(const GameObject& fallen) {
    glm::mat4 anchor(1.0f);
    const Model* model = fallen.getModel();
    if (model && !model->meshes.empty()) anchor[3] = model->meshes.front().modelMatrix[3];
    return anchor;
}

// Into the smoke's own smaller target, one quarter of the puffs a frame, laid over the scene.
void drawSmokeThroughItsTarget(Scene& scene, const glm::mat4& anchor, std::uint64_t frame) {
    const PostProcessingFrameBuffer& target = *postProcessing;
    const PuffPart quarter =
        scene.smokeTarget->begin(target.framebuffer, target.width, target.height,
                                 settings.width, settings.height, frame);
    const int height = scene.smokeTarget->drawnHeight();
    const ScreenReach reach =
        scene.smoke->gatherPart(anchor, height, SmokeTarget::kWholeShare, quarter);
    scene.smoke->draw(anchor, height, SmokeTarget::kMiddleShare, quarter);
    scene.smoke->draw(anchor, height, SmokeTarget::kWholeShare, quarter);
    scene.smokeTarget->layOver(target.framebuffer, target.width, target.height,
                               *scene.smokeCompositeShader, reach);
}

// The smoke over a decided match, through its target; wireframe mode draws every puff
// straight into the window.
void drawSmoke(Scene& scene, const GameObject& fallen, float matchSeconds, std::uint64_t frame) {
    glDisable(GL_CULL_FACE);
    scene.smoke->update(matchSeconds);
    if (toggles.wireframeMode)
        scene.smoke->draw(smokeAnchor(fallen), postProcessing->height);
    else
        drawSmokeThroughItsTarget(scene, smokeAnchor(fallen), frame);
    toggles.matchRunning = false;
}

// The picture over a decided match while its results show; null otherwise.
const HUD* endPicture(const GameObject* fallen) {
    if (!fallen || menus.screen() != Screen::Results) return nullptr;
    return (fallen == game.player ? losePicture : winPicture).get();
}

// The pixels from `from` to `to` along one side of the window whose centres lie strictly
// between them: those a draw covers whatever the rasteriser's rule for a centre on an edge.
std::pair<int, int> pixelsStrictlyWithin(float from, float to) {
    const int first = static_cast<int>(std::floor(from - 0.5f)) + 1;
    return {first, static_cast<int>(std::ceil(to - 0.5f)) - first};
}

// Over the resolved scene, at the window's own resolution like the HUD. The picture stands
// still while the results show, so it is painted once for the window's size and copied in
// every frame after: a copy costs a software renderer a fraction of the filtered draw. The
// resolve covers the picture's rim, which the copy leaves out.
void drawEndPicture(Scene& scene, const HUD& picture) {
    glDisable(GL_CULL_FACE);
    loadHudProjection(*scene.hudShader);
    const float pictureBottom = 1.0f - picture.y - picture.h;  // the window's y grows upwards
    const auto [left, width] =
        pixelsStrictlyWithin(picture.x * windowWidth(), (picture.x + picture.w) * windowWidth());
    const auto [bottom, height] = pixelsStrictlyWithin(pictureBottom * windowHeight(),
                                                       (pictureBottom + picture.h) * windowHeight());
    if (width <= 0 || height <= 0) return;
    StillPicture& still =
        &picture == losePicture.get() ? *scene.losePictureCopy : *scene.winPictureCopy;
    if (still.needsPainting(width, height)) {
        still.beginPainting(width, height);
        glViewport(-left, -bottom, settings.width, settings.height);  // the window's pixels
        picture.draw();
        drawIntoWindow();
    }
    postProcessing->copyPicture(still.painting(), left, bottom, width, height,
                                *scene.postProcessingStretchShader);
}

glm::vec3 sceneDrift() { return glm::vec3(0.0f, 0.0f, -game.scrollSpeed); }

// Flashes and sparks age by the match's time since the last frame (none in a pause), the
// view's shake by the wall clock, so that the options can show it over a standing match;
// then this frame's events start new ones, seen from the next frame on.
void feelMatchEvents(Scene& scene, float matchSeconds, float frameTime) {
    scene.hitFlashes.update(matchSeconds);
    scene.screenShake.update(frameTime);
    scene.sparks.update(matchSeconds);
    scene.hitFlashes.react(game.events);
    scene.screenShake.react(game.events);
    burstSparksAtImpacts(scene.sparks, game.events, sceneDrift());
}

// Where this frame placed the object's model, between the last two steps.
glm::vec3 lastPhysicsPosition(const GameObject& object) {
    const Model* model = object.getModel();
    return model ? model->recordedPosition : glm::vec3(0.0f);
}

// The scene, drawn at the render scale, stretched over the whole window but the opaque
// end picture drawn over it next, if any. The resolve and the picture cover the window, so
// it needs no clear. The wireframe view goes in as it was drawn.
void resolveToWindow(Scene& scene, const HUD* coveringPicture) {
    drawIntoWindow();
    std::optional<WindowShare> covered;
    if (coveringPicture) {
        const HUD& picture = *coveringPicture;
        covered = WindowShare{picture.x, picture.y, picture.w, picture.h};
    }
    postProcessing->leaveOut(covered);
    if (toggles.wireframeMode) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);  // lines are for the scene alone
        postProcessing->showAsDrawn(*scene.postProcessingStretchShader);
        return;
    }
    postProcessing->resolve({*scene.postProcessingShader, *scene.postProcessingEdgesShader,
                             *scene.postProcessingGradeShader, *scene.postProcessingStretchShader});
}

// Primary shots fly straight down the track: they cross the boss's distance in line with
// the craft.
glm::vec3 aimPoint() {
    const glm::vec3 craft = lastPhysicsPosition(*game.player);
    return glm::vec3(craft.x, craft.y, lastPhysicsPosition(*game.boss).z);
}

// Every decided match is kept, once, on the disk thread; a replay being watched is not
// kept again. What keeping it gave shows once it is on disk.
void keepDecidedMatch(Scene& scene) {
    if (const std::optional<KeptMatch> kept = matchRecording.takeKept())
        scene.hudText->showRecords(kept->bests, kept->newBest);
    const MatchStats& stats = scene.hudText->stats();
    if (watchedReplay || stats.outcome() == MatchOutcome::Undecided) return;
    matchRecording.keep(stats.outcome() == MatchOutcome::Won, stats.seconds());
}

void drawAimCue() {
    if (menus.screen() != Screen::Playing || toggles.freeCameraMode) return;
    aimReticle->aimAt(aimPoint(), camera->viewProjection);
    aimReticle->showHeavyShotReach(game.heavyShotReachesBoss());
    aimReticle->draw();
}

HudText::Overlay overlayOf(Scene& scene) {
    HudText::Overlay overlay;
    overlay.barsShown = toggles.hudVisible && menus.showsMatchHud();
    overlay.paused = toggles.freeCameraMode;
    overlay.resultsShown = menus.screen() == Screen::Results;
    if (menus.screen() == Screen::Countdown) overlay.countdownDigit = menus.countdownDigit();
    overlay.note = &frameCapNote;
    if (menus.showsMenu() && !toggles.freeCameraMode) {
        describeMenu(menus, scene.hudText->bestTimes(), scene.menuView);
        overlay.menu = &scene.menuView;
    }
    return overlay;
}

void beginHudDraw(Scene& scene) {
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    // The smoke leaves max blending behind; the bars need ordinary alpha blending.
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    loadHudProjection(*scene.hudShader);
}

// Text that has stood this many frames (a menu, the results; not the fight's clock, which
// moves on every tenth of a second) is taken to go on standing.
constexpr int kStillTextFrames = 10;
// Laid over the window, the picture of the text's box costs a read a pixel; the quads a read
// and a blend at every pixel of each, glyphs over their backdrops. At 1920 x 1080 the title's
// text, a box 1.3 times its quads, took 2.4-3.0 ms as a picture against 3.6-4.1 drawn; the
// match's, with the bars' labels, 18 to 32 times, costs more as a picture than drawn.
constexpr float kMostBoxPerQuadArea = 2.0f;

bool cheaperAsPicture(const HudText& text, const PixelRect& box) {
    return box.width * box.height <= kMostBoxPerQuadArea * text.laidOutArea();
}

// The HUD's text as it stood for the last frames (a menu, the results), painted once into a
// picture of its box and laid over the window from there: a software renderer pays for each
// backdrop and glyph at every pixel it covers, and the picture is one layer. `box` holds
// all the text, in window pixels (y down).
void layStillTextOver(Scene& scene, const PixelRect& box) {
    const auto [left, width] = pixelsStrictlyWithin(box.left - 1.0f, box.right() + 1.0f);
    const auto [bottom, height] = pixelsStrictlyWithin(windowHeight() - box.bottom() - 1.0f,
                                                       windowHeight() - box.top + 1.0f);
    if (width <= 0 || height <= 0) return;
    StillPicture& still = *scene.stillText;
    const bool justStood = scene.hudText->framesUnchanged() == kStillTextFrames;
    if (justStood || still.needsPainting(width, height)) {
        still.beginPaintingToLayOver(width, height);
        glViewport(-left, -bottom, settings.width, settings.height);  // the window's pixels
        scene.hudText->drawLaidOut(hudProjectionMatrix);
        drawIntoWindow();
    }
    StillPicture::useLayOverBlending();
    postProcessing->copyPicture(still.painting(), left, bottom, width, height,
                                *scene.postProcessingStretchShader);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // the HUD's own, for what follows
}

// The pause label, the menus and the results show even while F2 hides the bars.
void drawHud(Scene& scene) {
    beginHudDraw(scene);
    if (toggles.hudVisible && menus.showsMatchHud()) {
        for (const std::shared_ptr<HUD>& element : game.hudElements) element->draw();
        drawAimCue();
        scene.threatMarkers->draw();
    }
    HudText& text = *scene.hudText;
    text.layOut(game, overlayOf(scene), windowWidth(), windowHeight());
    const bool stood = text.framesUnchanged() >= kStillTextFrames;
    const PixelRect box = stood ? text.laidOutBox() : PixelRect{};
    if (stood && cheaperAsPicture(text, box))
        layStillTextOver(scene, box);
    else
        text.drawLaidOut(hudProjectionMatrix);
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
    if (!scene.soundEngine) return;
    playMatchSounds(game, *scene.soundEngine);
    scene.soundEngine->update();  // a switch of music goes on
}

// The free camera flies by the wall clock: the match stands still meanwhile. Otherwise
// the eye is drawn between the last two steps, down the track or at the wreck.
void placeCamera(float frameTime, float alpha) {
    if (toggles.freeCameraMode)
        flyFreeCamera(frameTime);
    else
        camera->lookBetweenSteps(alpha, game.gameActive);
}

void enter(LoopState& state, FramePass pass) {
    if (state.probe) state.probe->enter(pass);
}

// The 3D scene through the shaken view: the sky, the objects (flashing where hit), the
// landscape, the sparks (after the wireframe's sky: they write no depth, so the sky would
// paint over them) and, once a match is decided, the smoke.
void drawWorld(Scene& scene, LoopState& state, const GameObject* fallen, float matchSeconds) {
    const ShakenView shaken(*camera, scene.screenShake);
    enter(state, FramePass::Sky);
    beginScenePass(scene);
    enter(state, FramePass::Objects);
    loadFrameUniforms(scene);
    renderObjects(scene, state.match.alpha());
    smoothEdgesOfVehicles();
    enter(state, FramePass::Landscape);
    scene.landscape->draw(scene.landscapeShader, camera->viewProjection);
    if (toggles.wireframeMode) drawSkyBehindWireframe(scene);
    enter(state, FramePass::Sparks);
    scene.sparkRenderer->draw(scene.sparks, camera->view, camera->projection);
    enter(state, FramePass::Ending);
    if (fallen) drawSmoke(scene, *fallen, matchSeconds, state.framesDrawn);
}

// Behind the title the match stands while the view flies on down the track with the craft
// and the boss, as if the match were about to begin; the boss idles on the wall clock.
void glideBehindTitle(Scene& scene, float frameTime) {
    const float glide = frameTime * game.scrollSpeed;
    scene.titleGlide += glide;
    camera->position.z -= glide;
    camera->rememberPosition();
    const glm::vec3 shift(0.0f, 0.0f, -scene.titleGlide);
    Combatant* const vehicles[] = {game.player, game.boss};
    for (Combatant* vehicle : vehicles) {
        Model* model = vehicle->getModel();
        if (!model) continue;
        model->transform(glm::translate(glm::mat4(1.0f), shift));
        model->recordedPosition += shift;
        model->animationSeconds = static_cast<float>(glfwGetTime());
    }
}

// Steps in the order they happen within one drawn frame: the models and the eye placed
// between the last two steps, the shaken world (sky backdrop, uniforms, objects, landscape,
// sparks, end-of-match smoke), flashes, shake and sparks, sounds, match record, resolve,
// end-of-match picture, HUD. Nothing here moves the match on.
void drawFrame(Scene& scene, LoopState& state) {
    const float frameTime = state.timing.frameTime();
    const float alpha = state.match.alpha();
    const float matchSeconds = static_cast<float>(state.stepsSinceFrame) * MatchClock::kStep;
    state.stepsSinceFrame = 0;
    const GameObject* const fallen = game.fallenSide();
    enter(state, FramePass::Camera);
    game.placeModels(alpha);
    if (!menus.showsMatchHud() && game.stepCount() == 0) glideBehindTitle(scene, frameTime);
    placeCamera(frameTime, alpha);
    drawWorld(scene, state, fallen, matchSeconds);
    enter(state, FramePass::Update);
    loadFrameUniforms(scene);
    feelMatchEvents(scene, matchSeconds, frameTime);
    playSounds(scene);
    scene.hudText->recordFrame(game.events, game.matchSeconds());
    keepDecidedMatch(scene);
    frameCapNote.age(frameTime);  // by the frame: the match clock stands still in a pause
    scene.bossGlow.hoverAbove(lastPhysicsPosition(*game.boss));
    scene.landscape->followPlayer(lastPhysicsPosition(*game.player).z);
    const HUD* const picture = endPicture(fallen);
    enter(state, FramePass::Resolve);
    resolveToWindow(scene, picture);
    enter(state, FramePass::Hud);
    if (picture) drawEndPicture(scene, *picture);
    placeThreatMarkers(scene);
    drawHud(scene);
    game.events.clear();  // everything above has had its look at this frame's events
}

// A held fire button asks for its shots by the match's time; a replay's controls come
// from its file, whatever the keyboard does meanwhile.
ControlFrame controlsForNextStep() {
    if (watchedReplay) return watchedReplay->controlsOf(game.stepCount()).value_or(ControlFrame{});
    heldFire.advance(MatchClock::kStep, *buttons);
    const ControlFrame controls = takeControls(*buttons);
    matchRecording.record(controls);
    return controls;
}

// The free camera and the screens around the match (title, countdown, pause menu) stand
// it still.
void takeDueSteps(LoopState& state) {
    const bool stands = buttons->paused || menus.matchStands();
    state.stepsSinceFrame +=
        state.match.runPass(state.timing.lastPass, stands, controlsForNextStep);
}

// A new match (from its countdown) or a fresh one behind the title, as the menus asked.
void startRequestedMatch(Scene& scene, LoopState& state) {
    if (!toggles.restartRequested && !toggles.titleRequested) return;
    restartMatch(scene);
    state.timing.accumulated = 0.0f;
    state.match.restart();
}

// Each option is heard or seen at once, while the menu is still open.
void applyChangedOption(Scene& scene, LoopState& state) {
    if (!toggles.optionChanged) return;
    toggles.optionChanged = false;
    const OptionValues& o = menus.options;
    SoundEngine* sound = scene.soundEngine;
    switch (menus.changedOption) {
        case MenuItem::MusicVolume:
            settings.musicVolume = o.musicVolume;
            if (sound) sound->setSoundVolume(o.musicVolume);
            break;
        case MenuItem::EffectsVolume:
            settings.effectsVolume = o.effectsVolume;
            if (sound) sound->setEffectsVolume(o.effectsVolume);
            if (sound) sound->playEffect(SoundEffect::PrimaryShot);
            break;
        case MenuItem::Picture:
            settings.autoRenderScale = !o.renderScale;
            settings.renderScale = o.renderScale.value_or(1.0f);
            state.renderScale = RenderScaleController(settings.autoRenderScale, settings.renderScale);
            postProcessing->setScale(state.renderScale.scale());
            break;
        case MenuItem::FullScreen:
            settings.fullscreen = o.fullscreen;
            if (o.fullscreen != toggles.fullscreenToggle) toggleFullScreen();
            break;
        case MenuItem::ScreenShake:
            settings.screenShake = o.screenShake;
            scene.screenShake = ScreenShake(o.screenShake);
            scene.screenShake.kick(1.0f);  // nothing moves when it is off
            break;
        default: break;
    }
}

// The next frame's scene size follows what this one cost against the frame budget.
void followFrameBudget(LoopState& state, float frameCost) {
    const float budget = FrameTiming::frameBudget(settings.refreshRate);
    postProcessing->setScale(state.renderScale.frameDrawn(frameCost, budget, now()));
}

void bindSceneTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, postProcessing->framebuffer);
    glViewport(0, 0, postProcessing->width, postProcessing->height);
}

// Where the smoke's seed stands just past the left edge of the view, a few units ahead:
// its square reaches into the view, so the gather keeps it, and its centre is out, so it is
// also one for the quads' program. Both programs then draw, each with a puff to walk.
glm::mat4 seedPastTheViewsEdge() {
    constexpr float kAhead = 10.0f;  // world units
    const float edge = kAhead / camera->projection[0][0];
    const glm::vec4 pastTheEdge(-1.05f * edge, 0.0f, -kAhead, 1.0f);  // in the eye's frame
    return glm::translate(glm::mat4(1.0f), glm::vec3(glm::inverse(camera->view) * pastTheEdge));
}

// The smoke (its seed, without time: nothing of it spawns or moves; every quarter, each of
// which clears a channel of its own; placed where both its programs draw it) and the
// resolve, at the window's size and below it, which the automatic scale may take either:
// the smoke then copies the scene's depth from a target of another kind, and the resolve
// grades at the scene's size and stretches instead of grading and smoothing edges at the
// window's.
void drawSmokeAndResolveAtEitherSize(Scene& scene, float currentScale) {
    scene.smoke->update(0.0f);
    const glm::mat4 anchor = seedPastTheViewsEdge();
    for (const float scale : {1.0f, 0.5f}) {
        postProcessing->setScale(scale);
        bindSceneTarget();
        glEnable(GL_DEPTH_TEST);
        for (std::uint64_t frame = 0; frame < SmokeTarget::kQuarters; ++frame)
            drawSmokeThroughItsTarget(scene, anchor, frame);
        resolveToWindow(scene, nullptr);
    }
    postProcessing->setScale(currentScale);
}

// A software renderer builds the code of a program the first time it draws with it in a
// new set of states, which stalls that frame and takes thousands of heap blocks. So what
// first draws in the middle of a match is drawn once before the first frame, in the
// states a frame draws it in: the shots, a burst of sparks and the smoke into the scene
// target, which the first frame paints over; the resolve; and both end pictures and the
// match's bars, into the window, which the first frame covers.
void drawOnceBeforeTheFirstFrame(Scene& scene, float currentScale) {
    bindSceneTarget();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    loadFrameUniforms(scene);
    const Armory& armory = game.armory;
    for (Model* shot : {armory.bossShotModel.get(), armory.missileModel.get(),
                        armory.playerShotModel.get(), armory.playerHeavyShotModel.get()})
        if (shot) shot->draw(scene.textureShader);
    SparkBursts sparks;
    sparks.burst(lastPhysicsPosition(*game.player), glm::vec3(0.0f), glm::vec3(1.0f));
    sparks.update(0.0f);
    scene.sparkRenderer->draw(sparks, camera->view, camera->projection);
    glDisable(GL_CULL_FACE);
    drawSmokeAndResolveAtEitherSize(scene, currentScale);
    glDisable(GL_DEPTH_TEST);
    for (const HUD* picture : {winPicture.get(), losePicture.get()})
        if (picture) drawEndPicture(scene, *picture);
    beginHudDraw(scene);
    for (const std::shared_ptr<HUD>& element : game.hudElements) element->draw();
    glDisable(GL_BLEND);
}

}  // namespace

LoopState startLoop(Scene& scene) {
    LoopState state{FrameTiming(now, sleepFor), MatchRunner(game), 0,
                    RenderScaleController(settings.autoRenderScale, settings.renderScale)};
    state.timing.statsWindowStart = scene.statsWindowStart;
    postProcessing->setScale(state.renderScale.scale());
    drawOnceBeforeTheFirstFrame(scene, state.renderScale.scale());
    return state;
}

void runOnePass(Scene& scene, LoopState& state) {
    FrameTiming& timing = state.timing;
    startRequestedMatch(scene, state);
    const float passStart = now();

    enter(state, FramePass::Events);
    glfwPollEvents();  // the input callbacks run in here
    pollGamepad();
    applyChangedOption(scene, state);
    act(menus.tick(timing.lastPass, !game.gameActive, game.secondsSinceDecided()));
    enter(state, FramePass::Physics);
    game.notePause(buttons->paused || menus.screen() == Screen::PauseMenu, passStart);
    takeDueSteps(state);

    if (state.uncapped || timing.frameDue(settings.refreshRate)) {
        ++state.framesDrawn;
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
