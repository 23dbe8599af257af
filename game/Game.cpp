#include "game/Game.h"

#include "game/ButtonPressedNew.h"
#include "render/CustomCamera.h"
#include "game/Arena.h"
#include "game/BulletConversion.h"
#include "game/Enemy.h"
#include "game/HudLayout.h"
#include "game/ObjectNames.h"
#include "game/Player.h"
#include "game/Projectile.h"
#include "render/HUD.h"
#include "render/HudQuad.h"
#include "render/Model.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

namespace {

const btQuaternion kNoRotation(0.0f, 0.0f, 0.0f, 1.0f);
constexpr float kGuideMass = 1.0f;

const btVector3 kPlayerStart(0.0f, 0.0f, 0.0f);
const btQuaternion kPlayerRotation(-1.0f, 0.0f, 0.0f, 1.0f);  // the capsule lies along z
constexpr float kPlayerRadius = 0.6f;
constexpr float kPlayerHeight = 1.2f;
constexpr float kPlayerMass = 1.0f;
const btVector3 kSensorHalfExtents(0.5f, 0.5f, 0.5f);

const btVector3 kBossStart(0.0f, 0.0f, -30.0f);
constexpr float kBossRadius = 3.0f;
constexpr float kBossHeight = 2.0f;
constexpr float kBossMass = 1.0f;
const btVector3 kBossGuideHalfExtents(1.0f, 1.0f, 1.0f);

// More than a match ever has in flight at once: steady fire of both sides, a missile
// barrage and a heavy shot stay well under it.
constexpr std::size_t kProjectilesInFlight = 64;

// Far below the arena, where a warm-up's shots meet nothing of a match.
const btVector3 kWarmUpSpot(0.0f, -1000.0f, 0.0f);

constexpr float kShieldRadius = 4.5f;
constexpr float kShieldMass = 100.0f;
constexpr int kShieldHealth = 10;

// A wreck falls faster than the world's gravity and spins on the way down.
struct WreckFall {
    float sweptSphereRadius;
    btVector3 torqueImpulse;
};
const WreckFall kPlayerWreck{4.0f, {1.0f, 1.0f, 1.0f}};
const WreckFall kBossWreck{1.2f, {0.0f, 10.0f, 0.0f}};
const btVector3 kWreckGravity(0.0f, -10.0f, 0.0f);
constexpr float kWreckMotionThreshold = 0.1f;

// A whole amount of health, never below one.
int scaled(int amount, float factor) {
    return std::max(1, static_cast<int>(std::lround(static_cast<float>(amount) * factor)));
}

HudQuad quadFor(const HudLayout& layout) {
    return makeHudQuad(layout.x, layout.y, layout.w, layout.h, layout.color);
}

// Where each of the HUD's elements stands in Game::hudElements.
constexpr std::size_t kPlayerHealthSlot = 0;
constexpr std::size_t kAmmoSlot = 2;  // the heavy-shot icon stands between the bars
constexpr std::size_t kBossHealthSlot = 3;

HUD* filled(HUD& bar) {
    bar.setFill(1.0f, 1.0f);
    return &bar;
}

}  // namespace

Game::Game(Graphics graphics)
    : armory(*this), bossBehaviour(*this, armory), graphicsEnabled(graphics == Graphics::On) {
    bossBehaviour.random = [this] { return matchRandom.next(); };
}

Game::~Game() { tearDown(); }

void Game::setup(std::shared_ptr<Shader> textureShader, std::shared_ptr<Shader> barShader,
                 std::shared_ptr<ButtonPressedNew> controls,
                 std::shared_ptr<CustomCamera> sharedCamera, float width, float height) {
    createWorld();
    warmUpPhysics();
    // Once for all matches: a restart would otherwise import them again from disk.
    if (graphicsEnabled) {
        armory.loadProjectileModels();
        shieldTemplate = std::make_unique<Model>(loadShieldModel());
    }
    objectShader = std::move(textureShader);
    hudShader = std::move(barShader);
    buttons = std::move(controls);
    camera = std::move(sharedCamera);
    windowWidth = width;
    windowHeight = height;
    debugger = std::make_unique<Debugger>(objectShader);
    debugger->setDebugMode(0);
    world->setDebugDrawer(debugger.get());
}

void Game::createWorld() {
    if (!solver) createWorldParts();
    world = std::make_unique<btDiscreteDynamicsWorld>(&*dispatcher, &*broadphase, solver.get(),
                                                      &*collisionConfiguration);
    world->setGravity(btVector3(0.0f, kGravity, 0.0f));
    if (debugger) world->setDebugDrawer(debugger.get());
    prepareSpares(kProjectilesInFlight);
}

// Every shot a match can have in flight, of either shape, launched at one spot, stepped
// once and retired, into a world then built again: Bullet's blocks, its pair cache and its
// solver's arrays grow here, not in the first match's frames.
void Game::warmUpPhysics() {
    for (const bool capsules : {false, true}) {
        for (std::size_t i = 0; i < kProjectilesInFlight; ++i) {
            std::unique_ptr<btCollisionShape> shape;
            if (capsules)
                shape = std::make_unique<btCapsuleShape>(kPlayerRadius, kPlayerHeight);
            else
                shape = std::make_unique<btSphereShape>(kPlayerRadius);
            addProjectile(nullptr, 0, 1.0f, std::move(shape), kWarmUpSpot, kNoRotation, nullptr);
        }
        world->stepSimulation(MatchClock::kStep, 0);
        retireProjectilesInFlight();
    }
    destroyWorld();
    createWorld();
}

// Once: every world after the first is built on the same parts, emptied, so that a new
// match finds their pools and arrays grown already.
void Game::createWorldParts() {
    collisionConfiguration.emplace(btDefaultCollisionConstructionInfo());
    dispatcher.emplace(&*collisionConfiguration);
    broadphase.emplace();
    solver = std::make_unique<btSequentialImpulseConstraintSolver>();
}

// The world's destructor takes its bodies out of the broadphase, which can then start
// again as a new one would: its proxy numbers and update stages from the beginning.
void Game::destroyWorld() {
    world.reset();
    if (broadphase) broadphase->resetPool(&*dispatcher);
    if (solver) solver->reset();
}

// The world goes first: its destructor still talks to the broadphase and the dispatcher.
void Game::releaseWorldParts() {
    world.reset();
    solver.reset();
    broadphase.reset();
    dispatcher.reset();
    collisionConfiguration.reset();
}

void Game::createPlayer(const Model& model, std::shared_ptr<Shader> shader,
                        std::shared_ptr<Shader> barShader) {
    player = addPlayer(model, std::make_unique<btCapsuleShape>(kPlayerRadius, kPlayerHeight),
                       std::move(shader));
    if (!graphicsEnabled) return;
    buildHudOnce(barShader.get());
    player->setHealthBar(filled(*hudElements[kPlayerHealthSlot]));
    player->setAmmoBar(filled(*hudElements[kAmmoSlot]));
}

// Once for all matches: a restart refills the bars, and the icon's picture is read from
// disk and uploaded once.
void Game::buildHudOnce(Shader* barShader) {
    if (!hudElements.empty()) return;
    const auto bar = [&](const HudLayout& layout) {
        return std::make_shared<HUD>(quadFor(layout), barShader, windowWidth, windowHeight);
    };
    hudElements = {bar(kPlayerHealthBar),
                   std::make_shared<HUD>(quadFor(kHeavyShotIcon), barShader,
                                         "Heavy_Rounds_modded.png", windowWidth, windowHeight),
                   bar(kAmmoBar), bar(kBossHealthBar)};
}

Player* Game::addPlayer(const Model& model, std::unique_ptr<btCollisionShape> shape,
                        std::shared_ptr<Shader> shader) {
    GameObject* sensor = addObject(std::make_unique<btBoxShape>(kSensorHalfExtents), kGuideMass,
                                   kPlayerStart, kNoRotation);
    Player* craft = &craftInPlace.emplace(
        copyInto(playerCopy, model), scaled(Player::kMaxHealth, scale->craftHull), Player::kMaxAmmo,
        sensor, kPlayerMass, std::move(shape), kPlayerStart, kPlayerRotation, std::move(shader));
    craft->addCollisionFlags(btCollisionObject::CF_KINEMATIC_OBJECT);
    objects.push_back(craft);
    addToWorld(*craft);
    return craft;
}

void Game::createBoss(const Model& model, std::shared_ptr<Shader> shader,
                      std::shared_ptr<Shader> barShader) {
    boss = addBoss(model, std::make_unique<btCapsuleShape>(kBossRadius, kBossHeight),
                   std::move(shader));
    if (!graphicsEnabled) return;
    buildHudOnce(barShader.get());
    boss->setHealthBar(filled(*hudElements[kBossHealthSlot]));
}

Enemy* Game::addBoss(const Model& model, std::unique_ptr<btCollisionShape> shape,
                     std::shared_ptr<Shader> shader) {
    GameObject* guide = addObject(std::make_unique<btBoxShape>(kBossGuideHalfExtents), kGuideMass,
                                  kBossStart, kNoRotation);
    Enemy* enemy = &bossInPlace.emplace(copyInto(bossCopy, model),
                                        scaled(Enemy::kMaxHealth, scale->bossHealth),
                                        Enemy::kMaxAmmo, guide, kBossMass, std::move(shape),
                                        kBossStart, kNoRotation, std::move(shader));
    enemy->addCollisionFlags(btCollisionObject::CF_KINEMATIC_OBJECT);
    enemy->shieldObject = addShield(*enemy);
    objects.push_back(enemy);
    addToWorld(*enemy);
    return enemy;
}

// Built down but not raised: the boss's attacks put it into the world when they want it.
Enemy* Game::addShield(const Enemy& owner) {
    const btTransform pose = owner.motionTransform();
    const Model noModel;
    const Model& model = shieldTemplate ? *shieldTemplate : noModel;
    Enemy* shield = &shieldInPlace.emplace(
        copyInto(shieldCopy, model), kShieldHealth, 0, nullptr, kShieldMass,
        std::make_unique<btSphereShape>(kShieldRadius), pose.getOrigin(), pose.getRotation(),
        owner.getShader());
    shield->setName(std::string(kShieldName));
    shield->addCollisionFlags(btCollisionObject::CF_KINEMATIC_OBJECT);
    return shield;
}

// Only once the last match's objects are gone: they draw the copies.
std::shared_ptr<Model> Game::copyInto(std::shared_ptr<Model>& kept, const Model& source) {
    if (kept)
        *kept = source;
    else
        kept = std::make_shared<Model>(source);
    return kept;
}

Model Game::loadShieldModel() {
    Model model("assets/models/BossShield.dae");
    model.setTexture("shield.jpg");
    model.materialCoefficients = glm::vec3(0.7f, 1.0f, 1.0f);
    model.specularAlpha = 1.0f;
    return model;
}

void Game::setDifficulty(Difficulty difficulty) {
    scale = &scaleOf(difficulty);
    bossBehaviour.difficulty = scale;
    armory.bossShotSpeedScale = scale->bossShotSpeed;
}

void Game::createArena() { buildArenaWalls(*this); }

void Game::buildCrashPit(const GameObject& wreck) { buildCrashPitUnder(*this, wreck); }

void Game::step(const ControlFrame& controls) {
    assert(buttons && camera && "the game is set up before it steps");
    rememberPoses();
    applyControls(controls, *buttons);
    if (gameActive) playMatch();
    if (gameActive && player) bossBehaviour.steerMissiles(*player);
    expireProjectiles();
    driftScene();
    stepPhysics();
    if (gameActive) decideMatch();
    disposeRemovedObjects();
    countStep();
}

void Game::movePlayer() { player->steer(*buttons, *camera, MatchClock::kStep); }

void Game::updatePlayerWeapons() { player->updateWeapons(*buttons, armory, events, now()); }

void Game::updateBoss(Enemy* enemy, Player* craft) { bossBehaviour.updateBoss(*enemy, craft); }

float Game::matchSeconds() const {
    const std::uint32_t steps = gameActive ? stepCount() : decidedAtStep;
    return static_cast<float>(steps) * MatchClock::kStep;
}

float Game::secondsSinceDecided() const {
    if (gameActive) return 0.0f;
    return static_cast<float>(stepCount() - decidedAtStep) * MatchClock::kStep;
}

void Game::playMatch() {
    assert(player && boss && "createPlayer and createBoss come before the first step");
    movePlayer();
    updatePlayerWeapons();
    updateBoss(boss, player);
}

// Right after the contact pass that dealt the blow. The player's health is looked at
// first: when both fall in one step, the player has lost.
void Game::decideMatch() {
    if (player->getHealth() < 1)
        destroyFallen(*player, kPlayerWreck.sweptSphereRadius, kPlayerWreck.torqueImpulse);
    else if (boss->getHealth() < 1)
        destroyFallen(*boss, kBossWreck.sweptSphereRadius, kBossWreck.torqueImpulse);
}

void Game::destroyFallen(GameObject& fallen, float sweptSphereRadius,
                         const btVector3& torqueImpulse) {
    btRigidBody& body = *fallen.getRigidBody();
    fallen.clearCollisionFlags(btCollisionObject::CF_KINEMATIC_OBJECT);
    body.setCenterOfMassTransform(fallen.motionTransform());
    body.setCcdMotionThreshold(kWreckMotionThreshold);
    body.setCcdSweptSphereRadius(sweptSphereRadius);
    body.clearForces();
    body.setLinearVelocity(btVector3(0.0f, 0.0f, 0.0f));
    body.setGravity(kWreckGravity);
    body.applyTorqueImpulse(torqueImpulse);
    body.activate(true);  // a kinematic body may have gone to sleep; a wreck must fall
    scrollSpeed = 0.0f;
    events.note(&fallen == player ? MatchEvent::PlayerDestroyed : MatchEvent::BossDestroyed);
    buildCrashPit(fallen);
    gameActive = false;
    decidedAtStep = stepCount() + 1;  // this step still counts
}

GameObject* Game::fallenSide() const {
    if (player && player->getHealth() < 1) return player;
    if (boss && boss->getHealth() < 1) return boss;
    return nullptr;
}

// Once decided, the wreck is drawn with its full pose and the camera watches it.
void Game::watchFallenObject(float alpha) {
    GameObject* fallen = fallenSide();
    if (!fallen) return;
    const btTransform pose = fallen->poseBetweenSteps(alpha);
    if (Model* model = fallen->getModel()) model->setModelMatrix(toMatrix(pose));
    camera->target = toGlm(pose.getOrigin());
}

void Game::rememberPoses() {
    for (GameObject* object : objects) object->rememberPose();
    for (Projectile* projectile : projectiles) projectile->rememberPose();
    camera->rememberPosition();
}

void Game::expireProjectiles() {
    const float time = now();
    for (std::size_t i = 0; i < projectiles.size();) {
        Projectile* projectile = projectiles[i];
        if (projectile->age(time) > Armory::kLifetime)
            removeObject(projectile);  // the next one moves into place i
        else
            ++i;
    }
}

// Everything but the projectiles slides toward -z, and the camera with it.
void Game::driftScene() {
    const float shift = MatchClock::kStep * scrollSpeed;
    for (GameObject* object : objects) {
        btTransform pose = object->motionTransform();
        pose.getOrigin().setZ(pose.getOrigin().z() - shift);
        object->setMotionTransform(pose);
    }
    camera->position.z -= shift;
}

// Visible objects follow their bodies by translation only; a wreck turns as it falls.
void Game::placeModels(float alpha) {
    for (GameObject* object : objects) {
        Model* model = object->getModel();
        if (!model) continue;
        model->animationSeconds = now() + alpha * MatchClock::kStep;
        const glm::vec3 origin = toGlm(object->poseBetweenSteps(alpha).getOrigin());
        model->transform(glm::translate(glm::mat4(1.0f), origin - model->recordedPosition));
        model->recordedPosition = origin;
    }
    if (!gameActive) watchFallenObject(alpha);
}

void Game::forgetRemovedObject(const GameObject& object) { bossBehaviour.forgetMissile(object); }

void Game::restartMatch(const Model& playerModel, const Model& bossModel, std::uint32_t seed) {
    assert(buttons && "the game is set up before a match is restarted");
    retireProjectilesInFlight();
    objects.clear();
    destroyWorld();
    releaseMatch();
    createWorld();
    restartClock();
    seedMatch(seed);
    buttons->clearAllButPause();
    scrollSpeed = kScrollSpeed;
    gameActive = true;
    createPlayer(playerModel, objectShader, hudShader);
    createBoss(bossModel, objectShader, hudShader);
    createArena();
}

// Only after the world is gone: its destructor still reads the bodies it holds.
void Game::releaseMatch() {
    releaseMatchObjects();
    player = nullptr;
    boss = nullptr;
    shieldInPlace.reset();
    bossInPlace.reset();
    craftInPlace.reset();
    bossBehaviour.startNewMatch();
}

void Game::tearDown() {
    objects.clear();
    projectiles.clear();
    hudElements.clear();
    releaseWorldParts();
    releaseMatch();
    releaseSpares();
    armory.clearProjectileModels();
    shieldTemplate.reset();
    playerCopy.reset();
    bossCopy.reset();
    shieldCopy.reset();
    debugger.reset();
}

bool Game::heavyShotReachesBoss() const {
    if (!player || !boss) return false;
    return Armory::heavyShotReaches(player->position(), boss->position(), kBossRadius,
                                    0.5f * kBossHeight, scrollSpeed);
}
