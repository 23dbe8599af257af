#include "game/BulletOpenGl.h"

#include "game/BulletConversion.h"
#include "game/ContactRules.h"
#include "game/GameObject.h"
#include "game/ObjectNames.h"
#include "game/Projectile.h"

#include <algorithm>
#include <cassert>
#include <functional>
#include <iterator>
#include <utility>

namespace {

// Contacts among a match's own bodies, beside the projectiles': the vehicles, their guides,
// the shield, the walls and a crash pit make 16 bodies, so 120 pairs at the very most.
constexpr std::size_t kOwnBodyPairs = 120;
// Six walls, two guides and a crash pit's five boxes, with room to spare.
constexpr std::size_t kPlainObjectsPerMatch = 16;

template <class T>
void eraseEvery(std::vector<T*>& registry, const GameObject* object) {
    registry.erase(std::remove(registry.begin(), registry.end(), object), registry.end());
}

bool contains(const std::vector<ContactKey>& sortedKeys, const ContactKey& key) {
    return std::binary_search(sortedKeys.begin(), sortedKeys.end(), key);
}

}  // namespace

ContactKey ContactKey::of(const btCollisionObject* a, const btCollisionObject* b) {
    return std::less<const btCollisionObject*>()(a, b) ? ContactKey{a, b} : ContactKey{b, a};
}

bool ContactKey::operator<(const ContactKey& other) const {
    const std::less<const btCollisionObject*> before;
    if (first != other.first) return before(first, other.first);
    return before(second, other.second);
}

bool ContactKey::operator==(const ContactKey& other) const {
    return first == other.first && second == other.second;
}

BulletOpenGl::BulletOpenGl()
    : clock([this] { return static_cast<float>(stepsTaken) * MatchClock::kStep; }) {}

BulletOpenGl::~BulletOpenGl() = default;

void BulletOpenGl::render(float alpha) {
    for (Projectile* projectile : projectiles) {
        Model* model = projectile->getModel();
        if (!model) continue;
        model->setModelMatrix(toMatrix(projectile->poseBetweenSteps(alpha)));
        model->draw(projectile->getShader());
    }
    for (GameObject* object : objects)
        if (Model* model = object->getModel()) model->draw(object->getShader());

    if (!world) return;
    world->debugDrawWorld();
    if (debugger && debugger->getDebugMode() != 0) debugger->drawLines();
}

// A time step of 0 sub-steps makes Bullet take exactly one step of the length given.
void BulletOpenGl::stepPhysics() {
    if (!world) return;
    world->stepSimulation(MatchClock::kStep, 0);
    processContacts();
}

void BulletOpenGl::notePause(bool paused, float wallSeconds) {
    if (!paused) {
        pausing = false;
        pauseDuration = 0.0f;
        return;
    }
    if (!pausing) {
        pauseStart = wallSeconds;
        pausing = true;
    }
    pauseDuration = wallSeconds - pauseStart;
}

void BulletOpenGl::processContacts() {
    if (!world) return;
    collectContactEvents();
    for (const ContactKey& pair : beginEvents) onContactBegin(pair.first, pair.second);
    for (const ContactKey& pair : endEvents) onContactEnd(pair.first, pair.second);
    disposeRemovedObjects();
}

void BulletOpenGl::collectContactEvents() {
    currentPairs.clear();
    beginEvents.clear();
    endEvents.clear();

    btDispatcher& dispatcher = *world->getDispatcher();
    const int manifoldCount = dispatcher.getNumManifolds();
    for (int i = 0; i < manifoldCount; ++i) {
        const btPersistentManifold& manifold = *dispatcher.getManifoldByIndexInternal(i);
        if (manifold.getNumContacts() < 1) continue;
        const btCollisionObject* a = manifold.getBody0();
        const btCollisionObject* b = manifold.getBody1();
        const ContactKey key = ContactKey::of(a, b);
        // Two manifolds of one pair still make one contact.
        if (std::find(currentPairs.begin(), currentPairs.end(), key) != currentPairs.end())
            continue;
        currentPairs.push_back(key);
        if (!contains(contactPairs, key)) beginEvents.push_back({a, b});
    }
    std::sort(currentPairs.begin(), currentPairs.end());
    std::set_difference(contactPairs.begin(), contactPairs.end(), currentPairs.begin(),
                        currentPairs.end(), std::back_inserter(endEvents));
    contactPairs.swap(currentPairs);
}

void BulletOpenGl::onContactBegin(const btCollisionObject* a, const btCollisionObject* b) {
    GameObject* first = findObject(a);
    GameObject* second = findObject(b);
    if (first && second) runContactBeginRule(*this, *first, *second);
}

void BulletOpenGl::onContactEnd(const btCollisionObject* a, const btCollisionObject* b) {
    const GameObject* first = findObject(a);
    const GameObject* second = findObject(b);
    if (first && second) runContactEndRule(*buttons, *first, *second);
}

GameObject* BulletOpenGl::findObject(const btCollisionObject* body) const {
    for (GameObject* object : objects)
        if (object->getRigidBody() == body) return object;
    for (Projectile* projectile : projectiles)
        if (projectile->getRigidBody() == body) return projectile;
    return nullptr;
}

void BulletOpenGl::removeObject(GameObject* object) {
    btRigidBody* body = object->getRigidBody();
    if (world && body->isInWorld()) world->removeRigidBody(body);
    if (dynamic_cast<Projectile*>(object)) {
        eraseEvery(projectiles, object);
        if (std::find(removedObjects.begin(), removedObjects.end(), object) == removedObjects.end())
            removedObjects.push_back(object);
    } else {
        eraseEvery(objects, object);
    }
}

GameObject* BulletOpenGl::keepPlainObject(std::unique_ptr<btCollisionShape> shape, float mass,
                                          const btVector3& position,
                                          const btQuaternion& rotation) {
    if (sparePlainObjects.empty()) {
        plainObjects.push_back(
            std::make_unique<GameObject>(mass, std::move(shape), position, rotation));
    } else {
        plainObjects.push_back(std::move(sparePlainObjects.back()));
        sparePlainObjects.pop_back();
        plainObjects.back()->rebuildBody(mass, std::move(shape), position, rotation);
        plainObjects.back()->setName(std::string());
    }
    return plainObjects.back().get();
}

GameObject* BulletOpenGl::addObject(std::unique_ptr<btCollisionShape> shape, float mass,
                                    const btVector3& position, const btQuaternion& rotation) {
    GameObject* object = keepPlainObject(std::move(shape), mass, position, rotation);
    objects.push_back(object);
    addToWorld(*object);
    return object;
}

Projectile* BulletOpenGl::addProjectile(std::shared_ptr<Model> model, int damage, float mass,
                                        std::unique_ptr<btCollisionShape> shape,
                                        const btVector3& position, const btQuaternion& rotation,
                                        std::shared_ptr<Shader> shader) {
    Projectile* projectile = nullptr;
    if (spareProjectiles.empty()) {
        projectile = keep(std::make_unique<Projectile>(std::move(model), damage, mass,
                                                       std::move(shape), position, rotation,
                                                       std::move(shader), now()));
    } else {
        projectile = keep(std::move(spareProjectiles.back()));
        spareProjectiles.pop_back();
        projectile->relaunch(std::move(model), damage, mass, std::move(shape), position, rotation,
                             std::move(shader), now());
    }
    projectiles.push_back(projectile);
    addToWorld(*projectile);
    projectile->setName(std::string(kNewProjectileName));
    projectile->getRigidBody()->setActivationState(DISABLE_DEACTIVATION);
    projectile->getRigidBody()->setFriction(0.0f);
    return projectile;
}

void BulletOpenGl::prepareSpares(std::size_t projectilesInFlight) {
    projectiles.reserve(projectilesInFlight);
    removedObjects.reserve(projectilesInFlight);
    spareProjectiles.reserve(projectilesInFlight);
    ownedObjects.reserve(ownedObjects.size() + projectilesInFlight);
    for (std::vector<ContactKey>* pairs : {&contactPairs, &currentPairs, &beginEvents, &endEvents})
        pairs->reserve(projectilesInFlight + kOwnBodyPairs);
    while (spareProjectiles.size() < projectilesInFlight)
        spareProjectiles.push_back(std::make_unique<Projectile>());
    plainObjects.reserve(kPlainObjectsPerMatch);
    sparePlainObjects.reserve(kPlainObjectsPerMatch);
    while (plainObjects.size() + sparePlainObjects.size() < kPlainObjectsPerMatch)
        sparePlainObjects.push_back(std::make_unique<GameObject>());
}

void BulletOpenGl::addToWorld(GameObject& object) {
    if (world) world->addRigidBody(object.getRigidBody());
}

void BulletOpenGl::disposeRemovedObjects() {
    if (removedObjects.empty()) return;
    for (GameObject* removed : removedObjects) {
        forgetRemovedObject(*removed);
        const btCollisionObject* body = removed->getRigidBody();
        contactPairs.erase(
            std::remove_if(contactPairs.begin(), contactPairs.end(),
                           [body](const ContactKey& key) { return key.involves(body); }),
            contactPairs.end());
    }
    for (std::unique_ptr<GameObject>& owned : ownedObjects) {
        if (std::find(removedObjects.begin(), removedObjects.end(), owned.get()) ==
            removedObjects.end())
            continue;
        // Only projectiles are ever listed as removed.
        std::unique_ptr<Projectile> spare(static_cast<Projectile*>(owned.release()));
        spare->retire();
        spareProjectiles.push_back(std::move(spare));
    }
    ownedObjects.erase(std::remove(ownedObjects.begin(), ownedObjects.end(), nullptr),
                       ownedObjects.end());
    removedObjects.clear();
}

void BulletOpenGl::retireProjectilesInFlight() {
    while (!projectiles.empty()) removeObject(projectiles.back());
    disposeRemovedObjects();
}

void BulletOpenGl::releaseMatchObjects() {
    assert(objects.empty() && projectiles.empty() && "empty the registries first");
    removedObjects.clear();
    ownedObjects.clear();
    for (std::unique_ptr<GameObject>& plain : plainObjects) {
        plain->releaseBody();
        sparePlainObjects.push_back(std::move(plain));
    }
    plainObjects.clear();
    contactPairs.clear();  // every key names a freed body now
}

void BulletOpenGl::releaseSpares() {
    spareProjectiles.clear();
    sparePlainObjects.clear();
}
