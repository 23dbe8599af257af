#include "support/HeadlessGame.h"

#include "game/Projectile.h"

#include <algorithm>
#include <utility>

namespace {

constexpr float kWindowWidth = 800.0f;
constexpr float kWindowHeight = 800.0f;

}  // namespace

HeadlessGame::HeadlessGame(Contents contents)
    : camera(std::make_shared<CustomCamera>(kWindowWidth, kWindowHeight, 60.0f, 0.1f, 1000.0f)) {
    game.clock = [this] { return time; };
    game.setup(nullptr, nullptr, buttons, camera, kWindowWidth, kWindowHeight);
    if (contents == Contents::EmptyWorld) return;
    game.createPlayer(emptyModel, nullptr, nullptr);
    game.createBoss(emptyModel, nullptr, nullptr);
    game.createArena();
}

void HeadlessGame::frame(float dt) {
    const int due = clock.takeDueSteps(dt);
    for (int i = 0; i < due; ++i) matchStep();
    game.placeModels(clock.alpha());
}

// The test writes the game's own record, so taking the controls from it gives them back.
void HeadlessGame::matchStep() {
    time += kFrame;
    game.step(takeControls(*buttons));
}

void HeadlessGame::frames(int count, float dt) {
    for (int i = 0; i < count; ++i) frame(dt);
}

void HeadlessGame::step() {
    time += kFrame;
    game.stepPhysics();
}

bool HeadlessGame::isRegistered(const GameObject* object) const {
    const auto& objects = game.objects;
    const auto& projectiles = game.projectiles;
    return std::find(objects.begin(), objects.end(), object) != objects.end() ||
           std::find(projectiles.begin(), projectiles.end(), object) != projectiles.end();
}

std::function<int()> repeating(std::vector<int> values) {
    auto next = std::make_shared<std::size_t>(0);
    return [values = std::move(values), next] { return values[(*next)++ % values.size()]; };
}

void placeAt(GameObject& object, const btVector3& position) {
    btTransform pose = object.motionTransform();
    pose.setOrigin(position);
    object.setMotionTransform(pose);
}

void holdEveryMovementKey(ButtonPressedNew& b) {
    b.w = b.s = b.space = b.a = b.d = b.c = b.shift = true;
}

int blockedCount(const ButtonPressedNew& b) {
    return b.blockW + b.blockS + b.blockSpace + b.blockA + b.blockD + b.blockC + b.blockShift;
}
