#include "game/ButtonPressedNew.h"
#include "game/BulletOpenGl.h"
#include "game/GameObject.h"
#include "game/Projectile.h"
#include "render/Model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr float kStep = 1.0f / 60.0f;
const btQuaternion kNoRotation(0.0f, 0.0f, 0.0f, 1.0f);

// The world bridge alone, recording events instead of running the game's rules.
class RecordingWorld : public BulletOpenGl {
public:
    RecordingWorld() {
        buttons = std::make_shared<ButtonPressedNew>();
        clock = [this] { return time; };
        createWorld();
    }
    ~RecordingWorld() override {
        objects.clear();
        projectiles.clear();
        destroyWorld();
    }

    void createWorld() override {
        configuration = std::make_unique<btDefaultCollisionConfiguration>();
        dispatcher = std::make_unique<btCollisionDispatcher>(configuration.get());
        broadphase = std::make_unique<btDbvtBroadphase>();
        solver = std::make_unique<btSequentialImpulseConstraintSolver>();
        world = std::make_unique<btDiscreteDynamicsWorld>(dispatcher.get(), broadphase.get(),
                                                          solver.get(), configuration.get());
    }
    void destroyWorld() override {
        world.reset();
        solver.reset();
        broadphase.reset();
        dispatcher.reset();
        configuration.reset();
    }

    void onContactBegin(const btCollisionObject* a, const btCollisionObject* b) override {
        begins.push_back(pairName(a, b));
        if (onBegin) onBegin(a, b);
    }
    void onContactEnd(const btCollisionObject* a, const btCollisionObject* b) override {
        ends.push_back(pairName(a, b));
    }

    // Kinematic and contact-free like the game's sensor and walls, so nothing pushes.
    GameObject* addBox(const std::string& name, const btVector3& position) {
        return named(addObject(std::make_unique<btBoxShape>(btVector3(0.5f, 0.5f, 0.5f)), 1.0f,
                               position, kNoRotation),
                     name);
    }
    GameObject* addSphere(const std::string& name, const btVector3& position, float radius) {
        return named(
            addObject(std::make_unique<btSphereShape>(radius), 1.0f, position, kNoRotation), name);
    }

    void step() {
        time += kStep;
        stepPhysics();
    }

    // Names in alphabetical order, so that a pair reads the same in either body order;
    // a body no registry knows any more reads "?".
    std::string pairName(const btCollisionObject* a, const btCollisionObject* b) const {
        std::string first = nameOf(a);
        std::string second = nameOf(b);
        if (second < first) std::swap(first, second);
        return first + "+" + second;
    }

    std::vector<std::string> begins;
    std::vector<std::string> ends;
    std::function<void(const btCollisionObject*, const btCollisionObject*)> onBegin;
    float time = 1.0f;

private:
    std::string nameOf(const btCollisionObject* body) const {
        const GameObject* object = findObject(body);
        return object ? object->getName() : "?";
    }
    static GameObject* named(GameObject* object, const std::string& name) {
        object->setName(name);
        object->addCollisionFlags(btCollisionObject::CF_KINEMATIC_OBJECT |
                                  btCollisionObject::CF_NO_CONTACT_RESPONSE);
        return object;
    }

    std::unique_ptr<btDefaultCollisionConfiguration> configuration;
    std::unique_ptr<btCollisionDispatcher> dispatcher;
    std::unique_ptr<btDbvtBroadphase> broadphase;
    std::unique_ptr<btSequentialImpulseConstraintSolver> solver;
};

void moveTo(GameObject& object, const btVector3& position) {
    btTransform pose = object.motionTransform();
    pose.setOrigin(position);
    object.setMotionTransform(pose);
}

int count(const std::vector<std::string>& events, const std::string& name) {
    return static_cast<int>(std::count(events.begin(), events.end(), name));
}

// A sphere that reports its own destruction, to see when an object is freed.
class WatchedSphere : public btSphereShape {
public:
    WatchedSphere(float radius, bool& destroyedFlag)
        : btSphereShape(radius), destroyed(destroyedFlag) {}
    ~WatchedSphere() override { destroyed = true; }

private:
    bool& destroyed;
};

}  // namespace

TEST(ContactPass, PairTouchingForManyStepsGivesOneBeginThenOneEnd) {
    RecordingWorld w;
    w.addBox("a", {0.0f, 0.0f, 0.0f});
    GameObject* b = w.addBox("b", {0.8f, 0.0f, 0.0f});
    for (int i = 0; i < 60; ++i) w.step();
    EXPECT_EQ(w.begins, std::vector<std::string>{"a+b"});
    EXPECT_TRUE(w.ends.empty());

    moveTo(*b, {5.0f, 0.0f, 0.0f});
    for (int i = 0; i < 30; ++i) w.step();
    EXPECT_EQ(w.begins.size(), 1u);
    EXPECT_EQ(w.ends, std::vector<std::string>{"a+b"});
    EXPECT_TRUE(w.contactPairs.empty());
}

TEST(ContactPass, TouchingAgainAfterSeparatingBeginsAgain) {
    RecordingWorld w;
    w.addBox("a", {0.0f, 0.0f, 0.0f});
    GameObject* b = w.addBox("b", {0.8f, 0.0f, 0.0f});
    w.step();
    moveTo(*b, {5.0f, 0.0f, 0.0f});
    w.step();
    moveTo(*b, {0.8f, 0.0f, 0.0f});
    w.step();
    EXPECT_EQ(count(w.begins, "a+b"), 2);
    EXPECT_EQ(count(w.ends, "a+b"), 1);
}

TEST(ContactPass, ManifoldWithoutContactPointsGivesNoBegin) {
    RecordingWorld w;
    // Bounding boxes overlap, so Bullet keeps a manifold, but the spheres are 2.26 apart.
    w.addSphere("a", {0.0f, 0.0f, 0.0f}, 1.0f);
    w.addSphere("b", {1.6f, 1.6f, 0.0f}, 1.0f);
    for (int i = 0; i < 10; ++i) w.step();
    ASSERT_GE(w.world->getDispatcher()->getNumManifolds(), 1);
    EXPECT_EQ(w.world->getDispatcher()->getManifoldByIndexInternal(0)->getNumContacts(), 0);
    EXPECT_TRUE(w.begins.empty());
    EXPECT_TRUE(w.contactPairs.empty());
}

TEST(ContactPass, RuleRemovingABodyMidPassLeavesEveryOtherPairsEventsIntact) {
    RecordingWorld w;
    std::vector<GameObject*> partners;
    for (int i = 0; i < 4; ++i) {
        const float x = 10.0f * static_cast<float>(i);
        w.addBox("left" + std::to_string(i), {x, 0.0f, 0.0f});
        partners.push_back(w.addBox("right" + std::to_string(i), {x + 0.8f, 0.0f, 0.0f}));
    }
    // The first begin takes one of its bodies out of the world, which makes Bullet release
    // that pair's manifold and move another manifold into its slot.
    std::string removedPair;
    w.onBegin = [&](const btCollisionObject* a, const btCollisionObject* b) {
        if (!removedPair.empty()) return;
        removedPair = w.pairName(a, b);
        w.removeObject(w.findObject(a));
    };
    w.step();
    ASSERT_EQ(w.begins.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(count(w.begins, "left" + std::to_string(i) + "+right" + std::to_string(i)), 1);

    for (GameObject* partner : partners)
        if (w.findObject(partner->getRigidBody()))
            moveTo(*partner, partner->position() + btVector3(0.0f, 5.0f, 0.0f));
    w.step();
    for (int i = 0; i < 4; ++i) {
        const std::string pair = "left" + std::to_string(i) + "+right" + std::to_string(i);
        if (pair != removedPair) {
            EXPECT_EQ(count(w.ends, pair), 1) << pair;
        }
    }
    EXPECT_TRUE(w.contactPairs.empty());
}

TEST(ContactPass, RemovedProjectileIsFreedAfterThePassAndItsKeysForgotten) {
    RecordingWorld w;
    w.addBox("wallA", {0.0f, 0.0f, 0.0f});
    w.addBox("wallB", {0.0f, 0.9f, 0.0f});
    bool destroyed = false;
    Projectile* shot =
        w.addProjectile(std::make_shared<Model>(), 1, 1.0f, std::make_unique<WatchedSphere>(0.3f, destroyed),
                        {0.6f, 0.45f, 0.0f}, kNoRotation, nullptr);
    const btCollisionObject* shotBody = shot->getRigidBody();
    // Both begins of the shot come in one pass; only the first finds it still registered.
    w.onBegin = [&](const btCollisionObject* a, const btCollisionObject* b) {
        for (const btCollisionObject* body : {a, b})
            if (body == shotBody && w.findObject(body)) w.removeObject(w.findObject(body));
    };
    w.step();
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(w.projectiles.empty());
    for (const ContactKey& key : w.contactPairs) EXPECT_FALSE(key.involves(shotBody));
    EXPECT_EQ(w.world->getNumCollisionObjects(), 2);
}

// Steady fire reuses spent shots: the next one must start exactly like a new one.
TEST(ContactPass, RemovedProjectileIsLaunchedAgainAsANewOne) {
    RecordingWorld w;
    Projectile* first = w.addProjectile(std::make_shared<Model>(), 2, 1.0f,
                                        std::make_unique<btSphereShape>(0.2f), {5.0f, 0.0f, 0.0f},
                                        kNoRotation, nullptr);
    first->setName("bProjectile");
    first->addHealth(-1);
    first->spent = true;
    first->getRigidBody()->setLinearVelocity(btVector3(0.0f, 0.0f, -20.0f));
    w.removeObject(first);
    w.step();  // the pass retires it

    w.time = 7.0f;
    const auto model = std::make_shared<Model>();
    Projectile* second = w.addProjectile(model, 5, 2.0f, std::make_unique<btSphereShape>(0.8f),
                                         {0.0f, 3.0f, -4.0f}, kNoRotation, nullptr);
    EXPECT_EQ(second, first);  // the same object, relaunched
    EXPECT_EQ(second->getName(), "projectile");
    EXPECT_EQ(second->getHealth(), 5);
    EXPECT_EQ(second->getMaxHealth(), 5);
    EXPECT_FALSE(second->spent);
    EXPECT_FLOAT_EQ(second->spawnTime, 7.0f);
    EXPECT_EQ(second->getModel(), model.get());
    EXPECT_EQ(second->position(), btVector3(0.0f, 3.0f, -4.0f));
    EXPECT_EQ(second->getRigidBody()->getLinearVelocity(), btVector3(0.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(second->getRigidBody()->getInvMass(), 0.5f);
    EXPECT_FLOAT_EQ(static_cast<btSphereShape*>(second->getCollisionShape())->getRadius(), 0.8f);
    EXPECT_TRUE(second->getRigidBody()->isInWorld());
    EXPECT_EQ(w.projectiles, std::vector<Projectile*>{second});
}

TEST(ContactPass, NothingHappensWithoutAWorld) {
    RecordingWorld w;
    w.destroyWorld();
    w.stepPhysics();
    w.processContacts();
    EXPECT_TRUE(w.begins.empty());
}

TEST(Registries, RemovingAnObjectListedTwiceRemovesBothEntries) {
    RecordingWorld w;
    GameObject* box = w.addBox("box", {0.0f, 0.0f, 0.0f});
    GameObject* other = w.addBox("other", {5.0f, 0.0f, 0.0f});
    w.objects.push_back(box);
    w.removeObject(box);
    EXPECT_EQ(w.objects, std::vector<GameObject*>{other});
    EXPECT_EQ(w.findObject(box->getRigidBody()), nullptr);
    EXPECT_FALSE(box->getRigidBody()->isInWorld());
}

TEST(Registries, FindObjectSearchesObjectsThenProjectiles) {
    RecordingWorld w;
    GameObject* box = w.addBox("box", {0.0f, 0.0f, 0.0f});
    Projectile* shot = w.addProjectile(std::make_shared<Model>(), 1, 1.0f, std::make_unique<btSphereShape>(0.2f),
                                       {5.0f, 0.0f, 0.0f}, kNoRotation, nullptr);
    EXPECT_EQ(w.findObject(box->getRigidBody()), box);
    EXPECT_EQ(w.findObject(shot->getRigidBody()), shot);
    EXPECT_EQ(shot->getName(), "projectile");
    btRigidBody stranger(0.0f, nullptr, box->getCollisionShape());
    EXPECT_EQ(w.findObject(&stranger), nullptr);
}

TEST(PhysicsStep, PauseDurationGrowsWhilePausedAndResetsAfter) {
    RecordingWorld w;
    w.notePause(true, 5.0f);
    EXPECT_TRUE(w.pausing);
    EXPECT_FLOAT_EQ(w.pauseDuration, 0.0f);
    w.notePause(true, 5.5f);
    EXPECT_FLOAT_EQ(w.pauseStart, 5.0f);
    EXPECT_FLOAT_EQ(w.pauseDuration, 0.5f);

    w.notePause(false, 6.0f);
    EXPECT_FALSE(w.pausing);
    EXPECT_FLOAT_EQ(w.pauseDuration, 0.0f);
}
