#include "game/Arena.h"

#include "game/BulletOpenGl.h"
#include "game/GameObject.h"
#include "game/ObjectNames.h"

#include <string_view>

namespace {

constexpr float kWallMass = 1.0f;
constexpr float kPitBoxMass = 100.0f;
constexpr float kPitFloorY = -5.5f;

struct WallLayout {
    std::string_view name;
    btVector3 halfExtents;
    btVector3 position;
    btQuaternion rotation;  ///< not normalised: (0,0,1,1) stands a wall upright
};

const WallLayout walls[] = {
    {kDownWallName, {15.0f, 0.5f, 15.0f}, {0.0f, -5.0f, -5.0f}, {0.0f, 0.0f, 0.0f, 1.0f}},
    {kUpWallName, {15.0f, 0.5f, 15.0f}, {0.0f, 10.0f, -5.0f}, {0.0f, 0.0f, 0.0f, 1.0f}},
    {kLeftWallName, {7.5f, 0.5f, 15.0f}, {-15.0f, 2.5f, -5.0f}, {0.0f, 0.0f, 1.0f, 1.0f}},
    {kRightWallName, {7.5f, 0.5f, 15.0f}, {15.0f, 2.5f, -5.0f}, {0.0f, 0.0f, 1.0f, 1.0f}},
    {kFrontWallName, {15.0f, 0.5f, 7.5f}, {0.0f, 2.5f, -20.0f}, {1.0f, 0.0f, 0.0f, 1.0f}},
    {kBackWallName, {15.0f, 0.5f, 7.5f}, {0.0f, 2.5f, 10.0f}, {1.0f, 0.0f, 0.0f, 1.0f}},
};

struct PitBoxLayout {
    float dx;
    float dz;
    btQuaternion rotation;
};

const PitBoxLayout pitBoxes[] = {
    {0.0f, 0.0f, {0.0f, 0.0f, 0.0f, 1.0f}},    // floor
    {0.0f, -10.0f, {1.0f, 0.0f, 0.0f, 1.0f}},  // far side
    {0.0f, 10.0f, {1.0f, 0.0f, 0.0f, 1.0f}},   // near side
    {-10.0f, 0.0f, {0.0f, 0.0f, 1.0f, 1.0f}},  // left
    {10.0f, 0.0f, {0.0f, 0.0f, 1.0f, 1.0f}},   // right
};

const btVector3 kPitBoxHalfExtents(20.0f, 1.0f, 20.0f);

}  // namespace

void buildArenaWalls(BulletOpenGl& game) {
    for (const WallLayout& layout : walls) {
        GameObject* wall = game.addObject(std::make_unique<btBoxShape>(layout.halfExtents),
                                          kWallMass, layout.position, layout.rotation);
        wall->setName(std::string(layout.name));
        wall->addCollisionFlags(btCollisionObject::CF_NO_CONTACT_RESPONSE |
                                btCollisionObject::CF_KINEMATIC_OBJECT);
    }
}

void buildCrashPitUnder(BulletOpenGl& game, const GameObject& wreck) {
    const btVector3 below = wreck.position();
    for (const PitBoxLayout& layout : pitBoxes) {
        const btVector3 position(below.x() + layout.dx, kPitFloorY, below.z() + layout.dz);
        GameObject* box = game.keepPlainObject(std::make_unique<btBoxShape>(kPitBoxHalfExtents),
                                               kPitBoxMass, position, layout.rotation);
        game.addToWorld(*box);
        box->addCollisionFlags(btCollisionObject::CF_STATIC_OBJECT);
    }
}
