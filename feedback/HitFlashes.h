#pragma once

#include <glm/glm.hpp>

#include <array>
#include <cstddef>

class MatchEvents;
class Model;

/// The three things a shot can damage, each flashing on its own.
enum class FlashTarget { Boss, Craft, Shield, Count };

/// Brief flashes of the boss, the craft and the shield when a shot lands on them, so a
/// player sees what was hit.
///
/// A flash is at full strength when it starts and fades to nothing over kDuration
/// seconds; a new hit starts it over. Time flows in through update(), so a test drives
/// it frame by frame. The flash shows as a tint of the model's colour ("model_rgbColor"),
/// applied for one draw by FlashPaint.
class HitFlashes {
public:
    static constexpr float kDuration = 0.08f;  ///< seconds

    /// Starts the flash of everything this frame's events hit.
    void react(const MatchEvents& events);
    void start(FlashTarget target);
    /// Lets `frameTime` seconds of every flash pass.
    void update(float frameTime);
    /// 1 just after a hit, falling to 0 at kDuration after it; 0 without a hit.
    float strength(FlashTarget target) const;

private:
    static std::size_t index(FlashTarget target) { return static_cast<std::size_t>(target); }

    std::array<float, static_cast<std::size_t>(FlashTarget::Count)> secondsLeft{};
};

/// The colour `target` is drawn in at `strength`: its own colour `own` leaned toward the
/// target's flash colour. A model without a colour of its own (black, which leaves a
/// texture untinted) flashes from white, the colour that tints a texture by nothing.
glm::vec3 flashColour(FlashTarget target, const glm::vec3& own, float strength);

/// A model painted in its flash colour for as long as this lives, then given its own
/// colour back: the flash never becomes the model's colour. Does nothing for a null
/// model, a model without meshes or a strength of 0. The model's meshes share one colour
/// (Model::setColor), which is the one given back.
class FlashPaint {
public:
    FlashPaint(Model* model, FlashTarget target, float strength);
    ~FlashPaint();
    FlashPaint(const FlashPaint&) = delete;
    FlashPaint& operator=(const FlashPaint&) = delete;

private:
    Model* painted = nullptr;  ///< null when nothing was painted
    glm::vec3 ownColour{0.0f};
};
