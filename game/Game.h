#pragma once

#include "game/Armory.h"
#include "game/BossBehaviour.h"
#include "game/GameLogic.h"

#include <memory>

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

    /// The craft at the origin with its sensor, then its health bar, heavy-shot icon and
    /// ammunition bar.
    void createPlayer(const Model& model, std::shared_ptr<Shader> objectShader,
                      std::shared_ptr<Shader> hudShader);
    /// The boss at (0, 0, -30) with its guide and (not yet raised) shield, then its bar.
    void createBoss(const Model& model, std::shared_ptr<Shader> objectShader,
                    std::shared_ptr<Shader> hudShader);
    void createArena();
    void buildCrashPit(const GameObject& wreck);

    /// One drawn frame of gameplay (`frameTime` in seconds): the scene's drift, then player,
    /// weapons and boss while the match runs, the end of the match, projectile expiry and
    /// the models following their bodies. Does nothing while paused.
    void update(float frameTime);
    void movePlayer();
    void updatePlayerWeapons();
    void updateBoss(Enemy* boss, Player* player, float dt);
    /// Whether a heavy shot fired now would reach the boss where it is
    /// (Armory::heavyShotReaches); false before both exist.
    bool heavyShotReachesBoss() const;

    /// A new match on a new world: everything of the old one freed, the control flags
    /// cleared except the pause, the scroll speed, attack choice and activity reset, and
    /// the player, boss and arena built again. The camera is the shell's to reset.
    void restartMatch(const Model& playerModel, const Model& bossModel);
    /// Frees the match, the world, the templates and the debugger; safe to call twice.
    void tearDown();

    Armory armory;
    BossBehaviour bossBehaviour;

private:
    void playMatch();
    void watchFallenObject();
    void destroyFallen(GameObject& fallen, float sweptSphereRadius, const btVector3& torque);
    void expireProjectiles();
    void driftScene();
    void followBodiesWithModels();
    void keepDriftingBetweenFrames();
    void forgetRemovedObject(const GameObject& object) override;
    void beforeSubStep() override;
    void releaseMatch();
    Player* addPlayer(const Model& model, std::unique_ptr<btCollisionShape> shape,
                      std::shared_ptr<Shader> shader);
    Enemy* addBoss(const Model& model, std::unique_ptr<btCollisionShape> shape,
                   std::shared_ptr<Shader> shader);
    Enemy* addShield(const Enemy& boss);
    Model shieldModel() const;

    bool graphicsEnabled;
    int subStepsSinceDrift = 0;  ///< physics sub-steps since the frame last drifted the scene
    std::unique_ptr<btDbvtBroadphase> broadphase;
    std::unique_ptr<btDefaultCollisionConfiguration> collisionConfiguration;
    std::unique_ptr<btCollisionDispatcher> dispatcher;
    std::unique_ptr<btSequentialImpulseConstraintSolver> solver;
};
