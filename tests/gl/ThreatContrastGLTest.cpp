// Do the boss's orbs and missiles stand out against the fog, the ground and the sky?
// Each threat is drawn into the game's own scene (sky picture, lit landscape, the game's
// camera and lights, the resolve pass with its grade) and measured the way a player's eye
// meets it: the mean colour of the threat against the mean colour of the 3-pixel ring
// around it. A missile must also cover nearly as much of the picture as an orb in its
// place: seen nose first without its halo, it covered 99 to 151 pixels where an orb
// covers 435 to 690, and read as a speck.

#include "render/CustomCamera.h"
#include "app/LandscapeTiles.h"
#include "app/SceneLighting.h"
#include "app/SceneSetup.h"
#include "effects/PostProcessingFrameBuffer.h"
#include "framework/Shader.h"
#include "game/Armory.h"
#include "game/BulletOpenGl.h"
#include "render/HUD.h"
#include "render/HudQuad.h"
#include "render/Model.h"
#include "support/GlContext.h"
#include "support/OffscreenTarget.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cstddef>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 800;  // the game's default window
constexpr int kRing = 3;    // pixels around the threat's outline
// Mean colours this far apart (straight-line distance in RGB, 0..255) stand out. Without
// their glow the orbs measure 39 (ground) to 77 (fog) here and the missiles 28 to 62; with
// it, 91 and more.
constexpr float kClearMargin = 85.0f;
const glm::vec3 kBossPosition(0.0f, 0.0f, -30.0f);
constexpr float kLeastShareOfAnOrb = 0.8f;  // of the pixels an orb covers in the same place

struct Backdrop {
    const char* name;
    glm::vec3 threatPosition;  ///< world units; the camera is at its start pose
};
const Backdrop kBackdrops[] = {
    {"fog", {-4.0f, -0.5f, -22.0f}},
    {"ground", {-5.0f, -4.0f, -8.0f}},
    {"sky", {-6.0f, 5.5f, -30.0f}},
};

struct Coverage {
    std::vector<bool> threat;
    std::vector<bool> ring;
};

glm::vec3 meanColour(const std::vector<glm::u8vec4>& pixels, const std::vector<bool>& mask) {
    glm::dvec3 sum(0.0);
    std::size_t count = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (!mask[i]) continue;
        sum += glm::dvec3(pixels[i].r, pixels[i].g, pixels[i].b);
        ++count;
    }
    return count ? glm::vec3(sum / static_cast<double>(count)) : glm::vec3(0.0f);
}

std::size_t countOf(const std::vector<bool>& mask) {
    std::size_t count = 0;
    for (bool inside : mask) count += inside ? 1 : 0;
    return count;
}

std::string describe(const glm::vec3& c) {
    return "(" + std::to_string(static_cast<int>(c.r)) + ", " + std::to_string(static_cast<int>(c.g)) +
           ", " + std::to_string(static_cast<int>(c.b)) + ")";
}

// The ring: every pixel outside the threat within kRing pixels (across or diagonally) of it.
std::vector<bool> ringAround(const std::vector<bool>& threat) {
    std::vector<bool> ring(threat.size(), false);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (!threat[static_cast<std::size_t>(y * kSize + x)]) continue;
            for (int dy = -kRing; dy <= kRing; ++dy) {
                for (int dx = -kRing; dx <= kRing; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= kSize || ny >= kSize) continue;
                    const std::size_t n = static_cast<std::size_t>(ny * kSize + nx);
                    if (!threat[n]) ring[n] = true;
                }
            }
        }
    }
    return ring;
}

class ThreatContrast : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        textureShader = std::make_shared<Shader>("texture.vert", "texture.frag");
        hudShader = std::make_unique<Shader>("HUD.vert", "HUD.frag");
        resolveShader = std::make_unique<Shader>("postprocessing.vert", "postprocessing.frag");
        sky = std::make_unique<HUD>(makeHudQuad(0.0f, 0.0f, 1.0f, 1.0f, glm::vec4(1.0f)),
                                    hudShader.get(), "sky.jpg", kSizeF, kSizeF);
        landscape = std::make_unique<LandscapeTiles>();
        landscape->dress();
        landscape->place();
        camera = std::make_unique<CustomCamera>(kSizeF, kSizeF, 60.0f, 0.1f, 100.0f);
        resetCamera(*camera);
        camera->lookBetweenSteps(1.0f, true);  // the match's view down the track
        glow.hoverAbove(kBossPosition);
        armory.loadProjectileModels();
        target.emplace(kSize, kSize);
        alone.emplace(kSize, kSize);
        picture.emplace(kSize, kSize);
    }

    Model placed(const Model& threat, const glm::vec3& at, float turnAboutX) const {
        Model copy = threat;
        copy.setModelMatrix(glm::rotate(glm::translate(glm::mat4(1.0f), at), turnAboutX,
                                        glm::vec3(1.0f, 0.0f, 0.0f)));
        return copy;
    }

    // The game's frame: sky, the threat, the landscape, then the resolve pass.
    std::vector<glm::u8vec4> photograph(Model& threat) {
        glBindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
        glViewport(0, 0, kSize, kSize);
        glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glDepthMask(GL_FALSE);
        setHudProjection(*hudShader, kSizeF, kSizeF);
        sky->draw();
        glDepthMask(GL_TRUE);
        setFrameUniforms(*textureShader, *camera, sun, glow);
        threat.draw(textureShader);
        landscape->draw(textureShader, camera->viewProjection);

        picture->bindAndClear();
        glUseProgram(resolveShader->program);
        glDisable(GL_DEPTH_TEST);
        glBindVertexArray(target->quadVao);
        glBindTexture(GL_TEXTURE_2D, target->colorTexture);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        glBindTexture(GL_TEXTURE_2D, 0);
        return picture->pixelsTopDown();
    }

    // Where the threat covers the picture: drawn alone onto a clear of alpha 0.
    std::vector<bool> coverageOf(Model& threat) {
        alone->bindAndClear(glm::vec4(0.0f));
        glEnable(GL_DEPTH_TEST);
        glClear(GL_DEPTH_BUFFER_BIT);
        setFrameUniforms(*textureShader, *camera, sun, glow);
        threat.draw(textureShader);
        std::vector<bool> covered;
        for (const glm::u8vec4& p : alone->pixelsTopDown()) covered.push_back(p.a > 0);
        return covered;
    }

    // With `sizeOf` given, the threat must also cover kLeastShareOfAnOrb of what that
    // model (the orb) covers in its place.
    void expectStandsOut(const Model& threat, const char* threatName, float turnAboutX,
                         const Model* sizeOf = nullptr) {
        for (const Backdrop& backdrop : kBackdrops) {
            Model inPlace = placed(threat, backdrop.threatPosition, turnAboutX);
            const std::vector<bool> covered = coverageOf(inPlace);
            const std::vector<glm::u8vec4> shot = photograph(inPlace);
            const std::size_t area = countOf(covered);
            ASSERT_GT(area, 30u) << threatName << " against the " << backdrop.name
                                 << " is (nearly) off screen";
            if (sizeOf) {
                Model other = placed(*sizeOf, backdrop.threatPosition, 0.0f);
                const float otherArea = static_cast<float>(countOf(coverageOf(other)));
                EXPECT_GE(static_cast<float>(area), kLeastShareOfAnOrb * otherArea)
                    << threatName << " against the " << backdrop.name << " is too small to read";
            }
            const glm::vec3 inside = meanColour(shot, covered);
            const glm::vec3 around = meanColour(shot, ringAround(covered));
            const float apart = glm::distance(inside, around);
            std::cout << threatName << " against the " << backdrop.name << ": " << describe(inside)
                      << " inside, " << describe(around) << " around, " << apart << " apart over "
                      << area << " pixels\n";
            EXPECT_GT(apart, kClearMargin)
                << threatName << " against the " << backdrop.name << ": " << describe(inside)
                << " inside, " << describe(around) << " in the " << kRing << "-pixel ring";
        }
    }

    static constexpr float kSizeF = static_cast<float>(kSize);
    std::shared_ptr<Shader> textureShader;
    std::unique_ptr<Shader> hudShader;
    std::unique_ptr<Shader> resolveShader;
    std::unique_ptr<HUD> sky;
    std::unique_ptr<LandscapeTiles> landscape;
    std::unique_ptr<CustomCamera> camera;
    DirectionalLight sun{1.0f};
    PointLight glow;
    BulletOpenGl game;
    Armory armory{game};
    std::optional<PostProcessingFrameBuffer> target;  ///< the scene, as the game draws it
    std::optional<OffscreenTarget> alone;              ///< the threat without its scene
    std::optional<OffscreenTarget> picture;            ///< the resolved picture
};

}  // namespace

TEST_F(ThreatContrast, BossOrbsStandOutAgainstFogGroundAndSky) {
    expectStandsOut(*armory.bossShotModel, "orb", 0.0f);
}

// A missile flies along z, nose first, as the armory launches it.
TEST_F(ThreatContrast, MissilesStandOutAgainstFogGroundAndSky) {
    expectStandsOut(*armory.missileModel, "missile", glm::radians(90.0f), armory.bossShotModel.get());
}
