#pragma once

#include "game/BulletOpenGl.h"

#include <memory>
#include <vector>

class CustomCamera;
class Enemy;
class HUD;
class Player;

/// The state of one match that the game's operations share: who plays, how fast the
/// scene drifts, whether the match is still undecided, and the bars on screen.
/// No operations of its own; the game above runs the match on it.
class GameLogic : public BulletOpenGl {
public:
    static constexpr float kScrollSpeed = 30.0f;  ///< units per second while the match runs

    std::shared_ptr<Shader> hudShader;
    std::shared_ptr<CustomCamera> camera;  ///< gameplay writes its position, target and speed
    float windowWidth = 0.0f;              ///< pixels, for the HUD bars; follows resizes
    float windowHeight = 0.0f;
    float scrollSpeed = kScrollSpeed;  ///< 0 once the match is decided
    bool gameActive = true;            ///< the match is undecided; the shell may set it again
    /// Health and ammunition bars and the heavy-shot icon, in drawing order.
    std::vector<std::shared_ptr<HUD>> hudElements;
    Player* player = nullptr;
    Enemy* boss = nullptr;
};
