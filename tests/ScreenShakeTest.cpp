#include "feedback/ScreenShake.h"

#include "render/CustomCamera.h"
#include "game/MatchEvents.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

constexpr float kFrame = 1.0f / 60.0f;  // seconds
const glm::mat4 kView = glm::lookAt(glm::vec3(0.0f, 2.0f, 4.0f), glm::vec3(0.0f, 0.0f, -96.0f),
                                    glm::vec3(0.0f, 1.0f, 0.0f));

MatchEvents eventsWith(MatchEvent event) {
    MatchEvents events;
    events.noteImpact(event, glm::vec3(0.0f));
    return events;
}

void frames(ScreenShake& shake, int count) {
    for (int i = 0; i < count; ++i) shake.update(kFrame);
}

}  // namespace

TEST(ScreenShake, HitsTakenAndDestroyedVehiclesShakeHitsDealtDoNot) {
    const struct {
        MatchEvent event;
        bool shakes;
    } cases[] = {
        {MatchEvent::PlayerHit, true},      {MatchEvent::BossDestroyed, true},
        {MatchEvent::PlayerDestroyed, true}, {MatchEvent::BossHit, false},
        {MatchEvent::ShieldHit, false},      {MatchEvent::PrimaryShot, false},
    };
    for (const auto& c : cases) {
        ScreenShake shake;
        shake.react(eventsWith(c.event));
        EXPECT_EQ(shake.isShaking(), c.shakes) << "event " << static_cast<int>(c.event);
        EXPECT_EQ(shake.shaken(kView) != kView, c.shakes) << "event " << static_cast<int>(c.event);
    }
}

TEST(ScreenShake, TurnsTheViewALittleAndIsStillWithinAThirdOfASecond) {
    ScreenShake shake;
    shake.react(eventsWith(MatchEvent::BossDestroyed));
    for (int frame = 0; frame < 17; ++frame) {  // 0.28 s
        ASSERT_TRUE(shake.isShaking()) << "still after " << frame << " frames";
        // The eye stays put (no turn moves it) and the look turns by at most kMaxAngle.
        const glm::mat4 shaken = shake.shaken(kView);
        const glm::vec3 eye = glm::vec3(glm::inverse(shaken)[3]);
        EXPECT_NEAR(glm::distance(eye, glm::vec3(0.0f, 2.0f, 4.0f)), 0.0f, 1e-4f);
        const glm::vec3 steadyLook = -glm::vec3(glm::inverse(kView)[2]);
        const glm::vec3 shakenLook = -glm::vec3(glm::inverse(shaken)[2]);
        const float turn = glm::degrees(std::acos(glm::min(glm::dot(steadyLook, shakenLook), 1.0f)));
        EXPECT_LE(turn, ScreenShake::kMaxAngle * 1.5f) << "frame " << frame;
        shake.update(kFrame);
    }
    frames(shake, 2);  // 0.317 s
    EXPECT_FALSE(shake.isShaking());
    EXPECT_EQ(shake.shaken(kView), kView);
}

TEST(ScreenShake, SwitchedOffItNeverMoves) {
    ScreenShake shake(false);
    shake.react(eventsWith(MatchEvent::PlayerHit));
    shake.kick(1.0f);
    EXPECT_FALSE(shake.isShaking());
    EXPECT_EQ(shake.shaken(kView), kView);
}

// The HUD, the markers and the next frame's camera step read the camera after the scene:
// none of them may inherit the shake.
TEST(ShakenView, ShakesTheCameraOnlyWhileTheSceneIsDrawn) {
    CustomCamera camera(800.0f, 800.0f, 60.0f, 0.1f, 100.0f);
    camera.view = kView;
    camera.viewProjection = camera.projection * kView;
    ScreenShake shake;
    shake.kick(1.0f);
    frames(shake, 2);
    {
        const ShakenView shaken(camera, shake);
        EXPECT_EQ(camera.view, shake.shaken(kView));
        EXPECT_NE(camera.view, kView);
        camera.viewProjection = camera.projection * camera.view;  // as the frame uniforms do
    }
    EXPECT_EQ(camera.view, kView);
    EXPECT_EQ(camera.viewProjection, camera.projection * kView);
}
