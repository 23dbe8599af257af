// The shake must move the 3D scene and never the HUD, whatever GL state the shake path
// leaves behind (a viewport shift, say, would move both).

#include "render/CustomCamera.h"
#include "app/SceneLighting.h"
#include "feedback/ScreenShake.h"
#include "framework/Shader.h"
#include "render/HUD.h"
#include "render/HudQuad.h"
#include "support/GlContext.h"
#include "support/OffscreenTarget.h"

#include <glm/gtc/matrix_transform.hpp>

#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kSize = 128;
constexpr float kSizeF = static_cast<float>(kSize);

class ScreenShakeGL : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        hudShader = std::make_unique<Shader>("HUD.vert", "HUD.frag");
        bar = std::make_unique<HUD>(makeHudQuad(0.1f, 0.8f, 0.5f, 0.1f, glm::vec4(0.2f, 0.2f, 1.0f, 1.0f)),
                                    hudShader.get(), kSizeF, kSizeF);
        camera = std::make_unique<CustomCamera>(kSizeF, kSizeF, 60.0f, 0.1f, 100.0f);
        camera->view = glm::lookAt(glm::vec3(0.0f, 2.0f, 4.0f), glm::vec3(0.0f, 0.0f, -96.0f),
                                   glm::vec3(0.0f, 1.0f, 0.0f));
        target.emplace(kSize, kSize);
    }

    std::vector<glm::u8vec4> hudDrawn() {
        setHudProjection(*hudShader, kSizeF, kSizeF);
        bar->draw();
        return target->pixelsTopDown();
    }

    std::unique_ptr<Shader> hudShader;
    std::unique_ptr<HUD> bar;
    std::unique_ptr<CustomCamera> camera;
    std::optional<OffscreenTarget> target;
};

}  // namespace

TEST_F(ScreenShakeGL, TheHudStaysPutWhileTheSceneShakes) {
    target->bindAndClear();
    const std::vector<glm::u8vec4> steady = hudDrawn();
    const glm::mat4 steadyView = camera->view;

    ScreenShake shake;
    shake.kick(1.0f);
    shake.update(0.02f);
    target->bindAndClear();
    {
        const ShakenView shaken(*camera, shake);
        EXPECT_NE(camera->view, steadyView) << "the scene did not shake";
        EXPECT_EQ(hudDrawn(), steady) << "the HUD moved while the scene was drawn";
    }
    target->bindAndClear();
    EXPECT_EQ(hudDrawn(), steady) << "the HUD moved after the scene";
    EXPECT_EQ(camera->view, steadyView);
}
