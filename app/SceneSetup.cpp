#include "app/SceneSetup.h"

#include "app/ProgramState.h"

#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cstdlib>
#include <ctime>

namespace {

float windowWidth() { return static_cast<float>(settings.width); }
float windowHeight() { return static_cast<float>(settings.height); }

void buildShaders(Scene& scene) {
    scene.textureShader = std::make_shared<Shader>("texture.vert", "texture.frag");
    scene.landscapeShader = std::make_shared<Shader>("texture.vert", "landscape.frag");
    scene.hudShader = std::make_shared<Shader>("HUD.vert", "HUD.frag");
    scene.hudTextShader = std::make_shared<Shader>("HudText.vert", "HudText.frag");
    scene.postProcessingShader =
        std::make_shared<Shader>("postprocessing.vert", "postprocessing.frag");
    scene.postProcessingEdgesShader =
        std::make_shared<Shader>("postprocessing.vert", "postprocessing_edges.frag");
    scene.postProcessingGradeShader =
        std::make_shared<Shader>("postprocessing.vert", "postprocessing_grade.frag");
    scene.postProcessingStretchShader =
        std::make_shared<Shader>("postprocessing.vert", "postprocessing_stretch.frag");
    scene.particleDrawShader =
        std::make_shared<ParticleShader>("particle.vert", "particle.geom", "particle.frag");
    scene.particleSpriteShader =
        std::make_shared<ParticleShader>("particle.vert", "particle_sprite.frag");
    scene.particleComputeShader = std::make_shared<ParticleShader>("particle.compute");
    scene.particleReachShader = std::make_shared<ParticleShader>("particle_reach.compute");
    scene.smokeCompositeShader =
        std::make_shared<Shader>("smoke_composite.vert", "smoke_composite.frag");
    scene.sparkShader = std::make_shared<Shader>("spark.vert", "spark.frag");
}

void buildFrameworkObjects(Scene& scene) {
    scene.woodTexture = std::make_shared<Texture>("wood_texture.dds");
    scene.tilesTexture = std::make_shared<Texture>("tiles_diffuse.dds");
    scene.woodMaterial = std::make_shared<TextureMaterial>(
        scene.textureShader, glm::vec3(0.1f, 0.7f, 0.1f), 2.0f, scene.woodTexture);
    scene.tilesMaterial = std::make_shared<TextureMaterial>(
        scene.textureShader, glm::vec3(0.1f, 0.7f, 0.3f), 8.0f, scene.tilesTexture);

    const auto at = [](float x, float y, float z) {
        return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
    };
    scene.shapes.push_back(std::make_unique<Shape>(at(0.0f, 2.0f, 0.0f),
                                                   makeCube(1.5f, 1.5f, 1.5f), scene.woodMaterial));
    scene.shapes.push_back(std::make_unique<Shape>(at(-1.5f, -1.0f, 0.0f),
                                                   makeCylinder(1.3f, 1.0f), scene.tilesMaterial));
    scene.shapes.push_back(
        std::make_unique<Shape>(glm::mat4(1.0f), makeSphere(1.0f), scene.tilesMaterial));
    scene.shapes.push_back(std::make_unique<Shape>(at(0.0f, 0.0f, -25.0f),
                                                   makeCube(10.0f, 10.0f, 10.0f), scene.woodMaterial));
}

void createCamera() {
    camera = std::make_shared<CustomCamera>(windowWidth(), windowHeight(), settings.fov,
                                            settings.nearPlane, settings.farPlane);
    resetCamera(*camera);
}

void createLights(Scene& scene) {
    scene.sun = DirectionalLight(settings.illuminationMultiplier);
    scene.bossGlow = PointLight{};
}

// A new match at the menus' difficulty, recorded from its first step: returns its seed,
// a replay's own or, for a match played fresh, the time.
std::uint32_t prepareNewMatch() {
    const std::uint32_t seed = watchedReplay ? watchedReplay->seed()
                                             : static_cast<std::uint32_t>(std::time(nullptr));
    game.setDifficulty(menus.difficulty);
    matchRecording.start(seed, menus.difficulty);
    return seed;
}

// The game steps on a control record of its own, filled from the live one a step at a time.
void setUpGame(Scene& scene) {
    game.setup(scene.textureShader, scene.hudShader, std::make_shared<ButtonPressedNew>(), camera,
               windowWidth(), windowHeight());
}

void createMatch(Scene& scene) {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    matchRecording =
        MatchRecording(replayFolder(dataHome, home), Records(recordsFile(dataHome, home)));
    game.seedMatch(prepareNewMatch());
    game.createPlayer(*scene.playerModel, scene.textureShader, scene.hudShader);
    game.createBoss(*scene.bossModel, scene.textureShader, scene.hudShader);
    game.createArena();
}

void createEffects(Scene& scene) {
    postProcessing = std::make_shared<PostProcessingFrameBuffer>(settings.width, settings.height);
    scene.smoke = std::make_unique<ParticleSystem>(
        scene.particleComputeShader, scene.particleDrawShader, scene.particleSpriteShader, camera,
        scene.particleReachShader);
    scene.smokeTarget = std::make_unique<SmokeTarget>();
    scene.screenShake = ScreenShake(settings.screenShake);
    scene.sparkRenderer = std::make_unique<SparkRenderer>(scene.sparkShader);
    scene.skyBackdrop = std::make_unique<StillPicture>();
    scene.winPictureCopy = std::make_unique<StillPicture>();
    scene.losePictureCopy = std::make_unique<StillPicture>();
    scene.stillText = std::make_unique<StillPicture>();
    scene.threatMarkers = std::make_unique<ThreatMarkers>(scene.hudShader.get());
}

void loadModels(Scene& scene) {
    scene.playerModel = std::make_unique<Model>("assets/models/FlagAnimationsFINAL_mk2.dae");
    scene.landscape = std::make_unique<LandscapeTiles>();
    scene.bossModel = std::make_unique<Model>("assets/models/BossAnimation.dae");
}

void dressModels(Scene& scene) {
    scene.playerModel->setColor(glm::vec3(0.0f, 0.8f, 0.7f));
    scene.bossModel->setColor(glm::vec3(1.0f, 0.0f, 0.0f));
    scene.landscape->dress();
    scene.landscape->place();
}

const char* const kFightMusicFile = "assets/music/NA_AlienManifestation.mp3";
const char* const kTitleMusicFile = "assets/music/title.mp3";
constexpr float kMusicFadeSeconds = 0.8f;

// Both pieces of music are opened here, so that switching between them later opens no file.
void startSound(Scene& scene) {
    scene.soundEngine = createIrrKlangDevice();
    if (!scene.soundEngine) return;
    scene.soundEngine->loadEffects();
    scene.soundEngine->setEffectsVolume(settings.effectsVolume);
    scene.soundEngine->loadMusic(kTitleMusicFile);
    scene.soundEngine->loadMusic(kFightMusicFile);
    scene.soundEngine->setSoundVolume(settings.musicVolume);
    if (menus.screen() == Screen::Title)
        playTitleMusic(scene);
    else
        playMatchMusic(scene);
}

std::shared_ptr<HUD> picture(Scene& scene, const char* file, float x, float y, float w, float h) {
    return std::make_shared<HUD>(makeHudQuad(x, y, w, h, glm::vec4(1.0f)),
                                 scene.hudShader.get(), file, windowWidth(), windowHeight());
}

void createPictures(Scene& scene) {
    skyPicture = picture(scene, "sky.jpg", 0.0f, 0.0f, 1.0f, 1.0f);
    winPicture = picture(scene, "YouWin01.png", 0.25f, 0.25f, 0.5f, 0.5f);
    losePicture = picture(scene, "YouLose01.png", 0.25f, 0.25f, 0.5f, 0.5f);
    aimReticle = std::make_unique<AimReticle>(scene.hudShader.get(), windowWidth(), windowHeight());
}

void createHudText(Scene& scene) {
    scene.hudText =
        std::make_unique<HudText>(scene.hudTextShader.get(), matchRecording.bestTimes());
    scene.hudText->showAsReplay(watchedReplay.has_value());
    scene.hudText->startNewMatch(game.difficulty());
}

}  // namespace

// Without even the silent output the game plays on without music.
void playMatchMusic(Scene& scene) {
    SoundEngine* sound = scene.soundEngine;
    if (!sound) return;
    if (!sound->isCurrentlyPlaying(kTitleMusicFile)) sound->stopAllSounds();
    sound->playMusic(kFightMusicFile, kMusicFadeSeconds);
    sound->setSoundVolume(settings.musicVolume);
}

void playTitleMusic(Scene& scene) {
    if (scene.soundEngine) scene.soundEngine->playMusic(kTitleMusicFile, kMusicFadeSeconds);
}

void restartMatch(Scene& scene) {
    resetCamera(*camera);
    game.restartMatch(*scene.playerModel, *scene.bossModel, prepareNewMatch());
    scene.landscape->place();
    scene.smoke->restart();
    scene.hudText->startNewMatch(game.difficulty());
    scene.titleGlide = 0.0f;
    toggles.matchRunning = true;
    if (toggles.titleRequested)
        playTitleMusic(scene);
    else
        playMatchMusic(scene);
    toggles.restartRequested = false;
    toggles.titleRequested = false;
}

// Far enough behind the craft that all of it shows above the player's bars.
void resetCamera(CustomCamera& cam) {
    cam.position = glm::vec3(0.0f, 2.0f, 8.0f);
    cam.worldUp = glm::vec3(0.0f, 1.0f, 0.0f);
    cam.yaw = -90.0f;
    cam.pitch = 0.0f;
    cam.target = glm::vec3(2.0f, 2.0f, 0.0f) - cam.position;
    cam.updateCameraVectors();
    cam.rememberPosition();
}

void setUpScene(Scene& scene) {
    buildShaders(scene);
    buildFrameworkObjects(scene);
    createCamera();
    createLights(scene);
    scene.statsWindowStart = static_cast<float>(glfwGetTime());
    setUpGame(scene);
    createEffects(scene);
    loadModels(scene);
    dressModels(scene);
    createMatch(scene);
    startSound(scene);
    createPictures(scene);
    createHudText(scene);
}

// The game, the pictures and the post-processing target are program-wide, but their GL
// objects must go while the context lives.
void tearDownScene(Scene& scene) {
    if (scene.soundEngine) scene.soundEngine->drop();
    scene.soundEngine = nullptr;
    game.tearDown();
    scene.playerModel.reset();
    scene.bossModel.reset();
    scene.landscape.reset();
    scene.smoke.reset();
    scene.smokeTarget.reset();
    scene.sparkRenderer.reset();
    scene.skyBackdrop.reset();
    scene.winPictureCopy.reset();
    scene.losePictureCopy.reset();
    scene.stillText.reset();
    scene.threatMarkers.reset();
    scene.hudText.reset();
    scene.shapes.clear();
    scene.woodMaterial.reset();
    scene.tilesMaterial.reset();
    scene.woodTexture.reset();
    scene.tilesTexture.reset();
    skyPicture.reset();
    winPicture.reset();
    losePicture.reset();
    aimReticle.reset();
    postProcessing.reset();
    scene.textureShader.reset();
    scene.landscapeShader.reset();
    scene.hudShader.reset();
    scene.hudTextShader.reset();
    scene.postProcessingShader.reset();
    scene.postProcessingEdgesShader.reset();
    scene.postProcessingGradeShader.reset();
    scene.postProcessingStretchShader.reset();
    scene.particleDrawShader.reset();
    scene.particleSpriteShader.reset();
    scene.particleComputeShader.reset();
    scene.particleReachShader.reset();
    scene.smokeCompositeShader.reset();
    scene.sparkShader.reset();
    camera.reset();
}
