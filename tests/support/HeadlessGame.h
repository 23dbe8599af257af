#pragma once

#include "game/ButtonPressedNew.h"
#include "game/MatchClock.h"
#include "render/CustomCamera.h"
#include "game/Enemy.h"
#include "game/Game.h"
#include "game/Player.h"
#include "render/Model.h"

#include <functional>
#include <memory>
#include <vector>

/// A match without a display: a Game that makes no GL call, with its own control record,
/// camera and clock. frame() hands a loop pass's wall time to a MatchClock and takes the
/// match steps it says are due, then places the models between the last two steps, as the
/// shell does; the controls are whatever the test has put in the record.
class HeadlessGame {
public:
    static constexpr float kFrame = MatchClock::kStep;  // seconds

    enum class Contents { Match, EmptyWorld };

    /// Match: player, boss and arena built as at start. EmptyWorld: set up, nothing added.
    explicit HeadlessGame(Contents contents = Contents::Match);

    void frame(float dt = kFrame);
    void frames(int count, float dt = kFrame);
    /// One whole match step.
    void matchStep();
    /// The clock and one physics step only, without the gameplay.
    void step();

    Player& player() { return *game.player; }
    Enemy& boss() { return *game.boss; }
    Enemy& shield() { return *game.boss->shieldObject; }
    bool isRegistered(const GameObject* object) const;
    /// Where the last frame drew `object`.
    btVector3 drawnAt(const GameObject& object) const {
        return object.poseBetweenSteps(clock.alpha()).getOrigin();
    }

    float time = 100.0f;  ///< the game clock, seconds; away from 0, which means "never"
    MatchClock clock;
    std::shared_ptr<ButtonPressedNew> buttons = std::make_shared<ButtonPressedNew>();
    std::shared_ptr<CustomCamera> camera;
    Model emptyModel;
    Game game{Graphics::Off};
};

/// Random draws that repeat `values` in order, for the boss's choices.
std::function<int()> repeating(std::vector<int> values);

/// Moves an object's motion state to `position`, keeping its rotation.
void placeAt(GameObject& object, const btVector3& position);

/// Presses every movement key at once, as the player could.
void holdEveryMovementKey(ButtonPressedNew& buttons);

/// How many movement directions the wall rules have blocked.
int blockedCount(const ButtonPressedNew& buttons);
