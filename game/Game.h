#pragma once

#include "game/Armory.h"
#include "game/BossBehaviour.h"
#include "game/ControlFrame.h"
#include "game/Difficulty.h"
#include "game/Enemy.h"
#include "game/GameLogic.h"
#include "game/MatchRandom.h"
#include "game/Player.h"

#include <cstdint>
#include <memory>
#include <optional>

struct ButtonPressedNew;
class CustomCamera;
class GameObject;
class Model;
class Shader;

/// Whether the game may talk to OpenGL: the program runs with On; display-free tests use
/// Off, which leaves every model empty and builds no HUD bars.
enum class Graphics { On, Off };

/// The game: builds and tears down the Bullet world and runs the match on it: the player,
/// the boss, the arena, the per-frame update, the end of a match and the restart.
///
/// The program has exactly one, with static storage; call tearDown() while the GL context
/// still exists. Owns the five Bullet world parts, the projectile templates, the HUD bars
/// and every object of the match.
class Game final : public GameLogic {
public:
    static constexpr float kGravity = -2.0f;  ///< units/s^2 along y: a weak pull

    explicit Game(Graphics graphics = Graphics::On);
    ~Game() override;

    /// Builds the world and the physics debug drawer (mode 0, drawing with `objectShader`).
    void setup(std::shared_ptr<Shader> objectShader, std::shared_ptr<Shader> hudShader,
               std::shared_ptr<ButtonPressedNew> buttons, std::shared_ptr<CustomCamera> camera,
               float windowWidth, float windowHeight);
    void createWorld() override;
    void destroyWorld() override;

    /// The craft at the origin with its sensor; its health bar, heavy-shot icon and
    /// ammunition bar are built with the first match and refilled for each one after.
    void createPlayer(const Model& model, std::shared_ptr<Shader> objectShader,
                      std::shared_ptr<Shader> hudShader);
    /// The boss at (0, 0, -30) with its guide and (not yet raised) shield, and its bar full.
    void createBoss(const Model& model, std::shared_ptr<Shader> objectShader,
                    std::shared_ptr<Shader> hudShader);
    void createArena();
    /// How hard the matches created from now on are: the boss's health, fire rate, shot
    /// speed and missile frequency, and the craft's hull. Normal until set.
    void setDifficulty(Difficulty difficulty);
    Difficulty difficulty() const { return scale->difficulty; }
    void buildCrashPit(const GameObject& wreck);

    /// One step of the match (MatchClock::kStep seconds), in this order: the step's
    /// controls; the player's movement and weapons and the boss while the match runs; missile
    /// steering; projectile expiry; the scene's drift; one physics step and the contact pass,
    /// after which a side that has lost its health falls. Once a side has fallen, steps go
    /// on (the wreck falls) while the match's time stands.
    void step(const ControlFrame& controls);
    /// Places the models for drawing, `alpha` (0 to 1) of the way from the last step but one
    /// to the last: the vehicles and the wreck, and the camera's eye. Moves nothing.
    void placeModels(float alpha);
    void movePlayer();
    void updatePlayerWeapons();
    void updateBoss(Enemy* boss, Player* player);
    /// Seconds of play in this match: the steps taken until a side fell.
    float matchSeconds() const;
    /// Seconds of the match's clock since a side fell; 0 while none has.
    float secondsSinceDecided() const;
    /// The side that has lost its health, the player first (when both fall in one step,
    /// the player has lost); null while neither has.
    GameObject* fallenSide() const;
    /// Whether a heavy shot fired now would reach the boss where it is
    /// (Armory::heavyShotReaches); false before both exist.
    bool heavyShotReachesBoss() const;

    /// A new match on a new world: everything of the old one freed, the control flags
    /// cleared except the pause, the scroll speed, attack choice and activity reset, the
    /// clock at 0, chance seeded with `seed`, and the player, boss and arena built again, in
    /// the room the last match left: a restart calls no `operator new` (Bullet's own
    /// allocator still gives the new bodies). The camera is the shell's to reset.
    void restartMatch(const Model& playerModel, const Model& bossModel, std::uint32_t seed);
    /// Chance for the match from `seed`: the same seed and controls play the same match.
    void seedMatch(std::uint32_t seed) { matchRandom.reseed(seed); }
    /// Frees the match, the world, the templates and the debugger; safe to call twice.
    void tearDown();

    Armory armory;
    BossBehaviour bossBehaviour;
    MatchRandom matchRandom;  ///< every chance of the match; the boss draws from it

private:
    void playMatch();
    void decideMatch();
    void watchFallenObject(float alpha);
    void destroyFallen(GameObject& fallen, float sweptSphereRadius, const btVector3& torque);
    void rememberPoses();
    void expireProjectiles();
    void driftScene();
    void forgetRemovedObject(const GameObject& object) override;
    void releaseMatch();
    void warmUpPhysics();
    void createWorldParts();
    void releaseWorldParts();
    void buildHudOnce(Shader* barShader);
    Player* addPlayer(const Model& model, std::unique_ptr<btCollisionShape> shape,
                      std::shared_ptr<Shader> shader);
    Enemy* addBoss(const Model& model, std::unique_ptr<btCollisionShape> shape,
                   std::shared_ptr<Shader> shader);
    Enemy* addShield(const Enemy& boss);
    static Model loadShieldModel();
    static std::shared_ptr<Model> copyInto(std::shared_ptr<Model>& kept, const Model& source);

    std::unique_ptr<Model> shieldTemplate;  ///< imported once, copied for every match's shield
    // The craft's, the boss's and the shield's copies of their models, kept from match to
    // match: a copy into one of the same shape reuses all of its room.
    std::shared_ptr<Model> playerCopy;
    std::shared_ptr<Model> bossCopy;
    std::shared_ptr<Model> shieldCopy;

    bool graphicsEnabled;
    const DifficultyScale* scale = &scaleOf(Difficulty::Normal);
    std::uint32_t decidedAtStep = 0;  ///< the step at which a side fell, once one has
    // The world's parts, built once and emptied for each new world, and the match's
    // craft, boss and shield, built in place: a new match calls no `operator new` for them.
    std::optional<btDbvtBroadphase> broadphase;
    std::optional<btDefaultCollisionConfiguration> collisionConfiguration;
    std::optional<btCollisionDispatcher> dispatcher;
    std::unique_ptr<btSequentialImpulseConstraintSolver> solver;
    std::optional<Player> craftInPlace;
    std::optional<Enemy> bossInPlace;
    std::optional<Enemy> shieldInPlace;
};
