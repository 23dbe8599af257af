// The hit flash through the real model program: brighter for the draw it lasts, and the
// model exactly as before afterwards.

#include "render/CustomCamera.h"
#include "feedback/HitFlashes.h"
#include "app/SceneLighting.h"
#include "framework/Shader.h"
#include "render/Model.h"
#include "support/GlContext.h"
#include "support/OffscreenTarget.h"

#include <glm/gtc/matrix_transform.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 64;
const std::string kCube = std::string(QEX_TESTDATA_DIR) + "/models/collada/cube_UTF8BOM.dae";

class FlashPaintGL : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        shader = std::make_shared<Shader>("texture.vert", "texture.frag");
        camera = std::make_unique<CustomCamera>(1.0f, 1.0f, 60.0f, 0.1f, 100.0f);
        camera->view = glm::lookAt(glm::vec3(2.0f, 2.0f, 5.0f), glm::vec3(0.0f),
                                   glm::vec3(0.0f, 1.0f, 0.0f));
        target.emplace(kSize, kSize);
        cube = std::make_unique<Model>(kCube.c_str());
        ASSERT_FALSE(cube->meshes.empty());
    }

    std::vector<glm::u8vec4> drawn() {
        target->bindAndClear();
        glEnable(GL_DEPTH_TEST);
        glClear(GL_DEPTH_BUFFER_BIT);
        setFrameUniforms(*shader, *camera, DirectionalLight(1.0f), PointLight{});
        cube->draw(shader);
        return target->pixelsTopDown();
    }

    // Mean over the whole picture, per channel: the cube on black.
    static glm::vec3 meanOf(const std::vector<glm::u8vec4>& pixels) {
        glm::vec3 sum(0.0f);
        for (const glm::u8vec4& p : pixels) sum += glm::vec3(p.r, p.g, p.b);
        return sum / static_cast<float>(pixels.size());
    }
    static float brightness(const std::vector<glm::u8vec4>& pixels) {
        const glm::vec3 mean = meanOf(pixels);
        return mean.r + mean.g + mean.b;
    }

    std::shared_ptr<Shader> shader;
    std::unique_ptr<CustomCamera> camera;
    std::optional<OffscreenTarget> target;
    std::unique_ptr<Model> cube;  ///< or the shield
};

}  // namespace

TEST_F(FlashPaintGL, BrightensThePaintedHullForOneDrawOnly) {
    cube->setColor(glm::vec3(0.8f, 0.05f, 0.05f));
    const std::vector<glm::u8vec4> before = drawn();
    std::vector<glm::u8vec4> flashing;
    {
        const FlashPaint flash(cube.get(), FlashTarget::Boss, 1.0f);
        flashing = drawn();
    }
    EXPECT_GT(brightness(flashing), brightness(before) * 2.0f);
    EXPECT_GT(meanOf(flashing).g, meanOf(before).g * 2.0f) << "the flash reads as light, not as more red";
    EXPECT_EQ(drawn(), before);
    EXPECT_EQ(cube->meshes.front().model_rgbColor, glm::vec3(0.8f, 0.05f, 0.05f));
}

// The shield is textured and has no colour of its own; its flash must light it up, and
// the faded flash leave it untinted.
TEST_F(FlashPaintGL, LightsUpTheUncolouredTexturedShieldAndLeavesItUntinted) {
    cube = std::make_unique<Model>("assets/models/BossShield.dae");
    ASSERT_FALSE(cube->meshes.empty());
    cube->setTexture("shield.jpg");
    cube->setModelMatrix(glm::scale(glm::mat4(1.0f), glm::vec3(0.25f)));
    const std::vector<glm::u8vec4> before = drawn();
    std::vector<glm::u8vec4> flashing;
    {
        const FlashPaint flash(cube.get(), FlashTarget::Shield, 1.0f);
        flashing = drawn();
    }
    EXPECT_GT(brightness(flashing), brightness(before) * 1.3f);
    EXPECT_EQ(drawn(), before);
    EXPECT_EQ(cube->meshes.front().model_rgbColor, glm::vec3(0.0f));
}
