#include "tools/preview/PreviewScene.h"

#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

namespace {

constexpr float kTileLength = 3928.0f;
constexpr float kBossDistance = 30.0f;  // the boss hovers this far ahead of the craft
constexpr float kSmokeSeconds = 2.5f;   // smoke simulated before the end pictures are taken

glm::mat4 translation(const glm::vec3& v) { return glm::translate(glm::mat4(1.0f), v); }

void setMaterial(Model& model, const glm::vec3& coefficients, float alpha) {
    model.materialCoefficients = coefficients;
    model.specularAlpha = alpha;
}

void placeTile(Model& tile, float z) {
    tile.resetModelMatrix();
    tile.transform(glm::scale(glm::mat4(1.0f), glm::vec3(3.0f)));
    tile.transform(translation({0.0f, -30.0f, 0.0f}));
    tile.transform(translation({0.0f, 0.0f, z}));
}

}  // namespace

PreviewScene::PreviewScene(int targetWidth, int targetHeight)
    : modelShader(std::make_shared<Shader>("texture.vert", "texture.frag")),
      hudShader(std::make_shared<Shader>("HUD.vert", "HUD.frag")),
      resolveShader(std::make_shared<Shader>("postprocessing.vert", "postprocessing.frag")),
      edgeShader(std::make_shared<Shader>("postprocessing.vert", "postprocessing_edges.frag")),
      gradeShader(std::make_shared<Shader>("postprocessing.vert", "postprocessing_grade.frag")),
      stretchShader(std::make_shared<Shader>("postprocessing.vert", "postprocessing_stretch.frag")),
      craft("assets/models/FlagAnimationsFINAL_mk2.dae"),
      boss("assets/models/BossAnimation.dae"),
      shield("assets/models/BossShield.dae"),
      tile1("assets/models/Landscape.obj"),
      tile2("assets/models/Landscape.obj"),
      bossShot("assets/models/BossProjectileTest02.dae"),
      playerShot("assets/models/PlayerProjectile.dae"),
      heavyShot("assets/models/test1dae.dae"),
      missile("assets/models/missileTest.dae"),
      width(targetWidth),
      height(targetHeight),
      camera(std::make_shared<CustomCamera>(static_cast<float>(targetWidth), static_cast<float>(targetHeight), 60.0f,
                                            0.1f, 100.0f)),
      sun(1.0f),
      sceneTarget(targetWidth, targetHeight),
      smoke(std::make_shared<ParticleShader>("particle.compute"),
            std::make_shared<ParticleShader>("particle.vert", "particle.geom", "particle.frag"),
            std::make_shared<ParticleShader>("particle.vert", "particle_sprite.frag"),
            camera) {
    craft.setColor({0.0f, 0.8f, 0.7f});
    boss.setColor({1.0f, 0.0f, 0.0f});
    tile1.setColor({1.0f, 1.0f, 0.4f});
    tile1.setTexture("mars_texture.jpg");
    tile2.setTexture("rocky.jpg");
    setMaterial(tile1, {0.2f, 0.8f, 0.2f}, 0.8f);
    setMaterial(tile2, {0.3f, 0.8f, 0.2f}, 0.8f);
    tile2.setColor({1.0f, 0.0f, 0.4f});
    shield.setTexture("shield.jpg");
    setMaterial(shield, {0.7f, 1.0f, 1.0f}, 1.0f);
    bossShot.setColor({0.5f, 0.5f, 0.5f});
    bossShot.setTexture("enemyBullet.jpg");
    playerShot.setTexture("playerBullet.jpg");
    heavyShot.setTexture("playerBullet.jpg");
    missile.setTexture("missile.jpg");
    for (Model* shot : {&bossShot, &playerShot, &heavyShot}) setMaterial(*shot, {1.0f, 0.0f, 1.0f}, 1.0f);
    setMaterial(missile, {0.7f, 0.5f, 1.0f}, 1.0f);

    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const glm::vec4 white(1.0f);
    sky = std::make_unique<HUD>(makeHudQuad(0.0f, 0.0f, 1.0f, 1.0f, white), hudShader.get(), "sky.jpg", w, h);
    winPicture = std::make_unique<HUD>(makeHudQuad(0.25f, 0.25f, 0.5f, 0.5f, white), hudShader.get(), "YouWin01.png", w, h);
    losePicture = std::make_unique<HUD>(makeHudQuad(0.25f, 0.25f, 0.5f, 0.5f, white), hudShader.get(), "YouLose01.png", w, h);
    bars.push_back(std::make_unique<HUD>(makeHudQuad(0.05f, 0.9f, 0.65f, 0.05f, {0.2f, 0.2f, 1.0f, 0.9f}), hudShader.get(), w, h));
    bars.push_back(std::make_unique<HUD>(makeHudQuad(0.71f, 0.9f, 0.03f, 0.05f, white), hudShader.get(),
                                         "Heavy_Rounds_modded.png", w, h));
    bars.push_back(std::make_unique<HUD>(makeHudQuad(0.75f, 0.9f, 0.2f, 0.05f, {0.2f, 0.8f, 1.0f, 0.5f}), hudShader.get(), w, h));
    bars.push_back(std::make_unique<HUD>(makeHudQuad(0.05f, 0.05f, 0.9f, 0.05f, {1.0f, 0.2f, 0.2f, 0.9f}), hudShader.get(), w, h));
    bars[2]->setFill(11, 15);
    bars[3]->setFill(104, 150);
}

void PreviewScene::placeCamera(float playerZ, bool followWreck, const glm::vec3& wreck) {
    camera->position = glm::vec3(0.0f, 2.0f, playerZ + 4.0f);
    camera->worldUp = glm::vec3(0.0f, 1.0f, 0.0f);
    camera->yaw = -90.0f;
    camera->pitch = 0.0f;
    camera->updateCameraVectors();
    camera->rememberPosition();
    camera->target = wreck;
    camera->lookBetweenSteps(1.0f, !followWreck);
}

void PreviewScene::drawWorld(const Moment& moment) {
    // A wreck lies in its crash pit, whose floor is at y = -5.5.
    const glm::vec3 player(0.0f, moment.playerDefeated ? -4.4f : 0.0f, moment.playerZ);
    const glm::vec3 bossAt(moment.bossDefeated ? 2.0f : 0.0f, moment.bossDefeated ? -2.4f : 0.0f,
                           moment.playerZ - kBossDistance);
    const bool matchDecided = moment.bossDefeated || moment.playerDefeated;
    placeCamera(moment.playerZ, matchDecided, moment.playerDefeated ? player : bossAt);
    glow.hoverAbove(bossAt);
    setFrameUniforms(*modelShader, *camera, sun, glow);

    const bool tileOneLeapt = moment.playerZ <= -kTileLength;
    placeTile(tile1, tileOneLeapt ? -2.0f * kTileLength : 0.0f);
    placeTile(tile2, -kTileLength);
    const glm::mat4 wreckTurn = glm::rotate(glm::mat4(1.0f), 0.6f, glm::vec3(0.3f, 1.0f, 0.2f));
    const std::vector<Placement> scene = {
        {&craft, translation(player) * (moment.playerDefeated ? wreckTurn : glm::mat4(1.0f))},
        {&boss, translation(bossAt) * (moment.bossDefeated ? wreckTurn : glm::mat4(1.0f))},
    };
    for (const Placement& p : scene) {
        p.model->setModelMatrix(p.matrix);
        p.model->animationSeconds = moment.seconds;
        p.model->draw(modelShader);
    }
    if (!moment.bossDefeated) {
        shield.setModelMatrix(translation(bossAt + glm::vec3(0.0f, 0.0f, 2.0f)));
        shield.draw(modelShader);
    }
    for (const Placement& p : moment.extras) {
        p.model->setModelMatrix(translation(player) * p.matrix);
        p.model->draw(modelShader);
    }
    tile1.draw(modelShader);
    tile2.draw(modelShader);

    if (matchDecided) {
        glDisable(GL_CULL_FACE);
        const glm::vec3 wreck = moment.playerDefeated ? player : bossAt;
        for (int step = 0; step < static_cast<int>(kSmokeSeconds * 60.0f); ++step) smoke.update(1.0f / 60.0f);
        smoke.draw(translation(wreck), height);
        if (!moment.showEndPicture) return;
        setHudProjection(*hudShader, static_cast<float>(width), static_cast<float>(height));
        (moment.playerDefeated ? losePicture : winPicture)->draw();
    }
}

void PreviewScene::drawHud() {
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setHudProjection(*hudShader, static_cast<float>(width), static_cast<float>(height));
    for (const std::unique_ptr<HUD>& bar : bars) bar->draw();
    glDisable(GL_BLEND);
}

void PreviewScene::drawGameFrame(const Moment& moment, const SheetCanvas& target) {
    glBindFramebuffer(GL_FRAMEBUFFER, sceneTarget.framebuffer);
    glViewport(0, 0, width, height);
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDepthMask(GL_FALSE);
    setHudProjection(*hudShader, static_cast<float>(width), static_cast<float>(height));
    sky->draw();
    glDepthMask(GL_TRUE);
    drawWorld(moment);

    target.bind();
    sceneTarget.resolve({*resolveShader, *edgeShader, *gradeShader, *stretchShader});
    drawHud();
}

void PreviewScene::drawStudioShot(Model& model, const glm::mat4& matrix, const glm::vec3& eye, const glm::vec3& centre,
                                  float seconds, float aspect) {
    glEnable(GL_SCISSOR_TEST);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
    glClearColor(0.16f, 0.17f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    CustomCamera studio(aspect, 1.0f, 40.0f, 0.1f, 100.0f);
    studio.position = eye;
    studio.up = glm::vec3(0.0f, 1.0f, 0.0f);
    studio.target = centre;
    studio.rememberPosition();
    studio.lookBetweenSteps(1.0f, false);
    PointLight dark;
    dark.position = glm::vec3(0.0f, 1000.0f, 0.0f);
    setFrameUniforms(*modelShader, studio, sun, dark);
    model.animationSeconds = seconds;
    model.setModelMatrix(matrix);
    model.draw(modelShader);
}
