#pragma once

#include "game/Debugger.h"
#include "game/MatchEvents.h"

#include <btBulletDynamicsCommon.h>

#include <functional>
#include <memory>
#include <vector>

struct ButtonPressedNew;
class GameObject;
class Model;
class Projectile;
class Shader;

/// Two bodies in contact, the lower pointer first. Compared, never dereferenced: a key can
/// outlive the bodies it names.
struct ContactKey {
    const btCollisionObject* first;
    const btCollisionObject* second;

    static ContactKey of(const btCollisionObject* a, const btCollisionObject* b);
    bool involves(const btCollisionObject* body) const { return first == body || second == body; }
    bool operator<(const ContactKey& other) const;
    bool operator==(const ContactKey& other) const;
};

/// The bridge between the Bullet world and the game: the registries of the objects the
/// game walks, the contact pass that turns Bullet's manifolds into begin and end events
/// between named objects, the physics step with its pause bookkeeping, and the drawing.
///
/// `objects` and `projectiles` are registries of plain pointers; the objects are owned
/// here for as long as the match keeps them (see keep()). The world itself is built and
/// torn down by the derived game. Times are seconds of `clock`.
class BulletOpenGl {
public:
    using Clock = std::function<float()>;
    static constexpr float kPhysicsSubStep = 1.0f / 60.0f;  ///< seconds of one physics step
    /// Catch-up limit of one stepPhysics call: 0.2 s, a frame at 5 fps. A longer call (a stall,
    /// a window drag) drops the rest instead of spending ever longer on catching up.
    static constexpr int kMaxSubSteps = 12;

    BulletOpenGl();
    virtual ~BulletOpenGl();
    BulletOpenGl(const BulletOpenGl&) = delete;  // owns Bullet bodies
    BulletOpenGl& operator=(const BulletOpenGl&) = delete;

    virtual void createWorld() {}
    virtual void destroyWorld() {}
    /// Draws projectiles (with their full physics pose), then objects, then the debug lines.
    virtual void render(float frameTime);
    /// Advances the world by `timeStep` seconds in whole sub-steps of kPhysicsSubStep (the
    /// remainder carries over to the next call), at most kMaxSubSteps of them, with the
    /// contact pass after each. Does nothing without a world.
    virtual void stepPhysics(float timeStep);
    /// The name-pair rules; bodies that no registry holds are ignored.
    virtual void onContactBegin(const btCollisionObject* a, const btCollisionObject* b);
    virtual void onContactEnd(const btCollisionObject* a, const btCollisionObject* b);

    /// One begin event per pair that came into contact since the last pass (in manifold
    /// order, bodies as Bullet gives them), then one end event per pair that separated (in
    /// key order). The manifolds are read before any rule runs, because a rule that removes
    /// a body makes Bullet release manifolds and reorder the array.
    void processContacts();
    /// Searches `objects`, then `projectiles`; null when neither holds the body.
    GameObject* findObject(const btCollisionObject* body) const;
    /// Takes the body out of the world and every entry out of its registry. A removed
    /// projectile's body is freed at the end of the contact pass or frame update that removed
    /// it; the projectile itself is kept to be launched again by a later addProjectile.
    void removeObject(GameObject* object);

    /// A plain object, registered in `objects` and added to the world.
    GameObject* addObject(std::unique_ptr<btCollisionShape> shape, float mass,
                          const btVector3& position, const btQuaternion& rotation);
    /// A projectile named "projectile" drawn with `model` (shared), registered, added to
    /// the world, never deactivated, without friction; the caller names and launches it.
    /// A spent projectile is relaunched when there is one, so steady fire allocates nothing.
    Projectile* addProjectile(std::shared_ptr<Model> model, int damage, float mass,
                              std::unique_ptr<btCollisionShape> shape, const btVector3& position,
                              const btQuaternion& rotation, std::shared_ptr<Shader> shader);
    /// Room for `count` projectiles in flight, built ahead as retired shots, so that steady
    /// fire allocates nothing while no more are in flight at once.
    void prepareForProjectiles(std::size_t count);
    /// Adds the body alone (default group and mask) when a world exists.
    void addToWorld(GameObject& object);
    /// Takes ownership of an object for the rest of the match; registers nothing.
    template <class T>
    T* keep(std::unique_ptr<T> object) {
        T* kept = object.get();
        ownedObjects.push_back(std::move(object));
        return kept;
    }

    float now() const { return clock(); }

    Clock clock;  ///< the game clock; GLFW's unless a test sets another
    std::shared_ptr<ButtonPressedNew> buttons;
    std::unique_ptr<btDiscreteDynamicsWorld> world;
    std::shared_ptr<Shader> objectShader;
    std::unique_ptr<Debugger> debugger;
    std::vector<GameObject*> objects;      ///< every non-projectile object the match walks
    std::vector<Projectile*> projectiles;  ///< every live projectile, missiles included
    std::vector<ContactKey> contactPairs;  ///< sorted: the pairs in contact after the last pass
    float frameTime = 0.0f;
    float pauseStart = 0.0f;
    float pauseDuration = 0.0f;  ///< length of the pause in progress; 0 while not paused
    bool pausing = false;
    MatchEvents events;  ///< noted by the rules and the update; read and cleared by the shell

protected:
    /// Runs before each physics sub-step, while Bullet steps the world.
    virtual void beforeSubStep() {}
    /// Retires the projectiles removed since the last call, after letting the derived game
    /// forget them: their bodies are freed and they wait to be launched again. Their contact
    /// keys go too, so a new body at a reused address is new.
    void disposeRemovedObjects();
    /// Frees every object of the match and forgets every contact. The world must be gone,
    /// or the bodies out of it.
    void releaseAllObjects();
    virtual void forgetRemovedObject(const GameObject&) {}

private:
    // Bullet's sub-step callbacks; the world's user info is the game that steps it.
    static void onSubStepStart(btDynamicsWorld* world, btScalar subStep);
    static void onSubStepEnd(btDynamicsWorld* world, btScalar subStep);
    void updatePauseBookkeeping();
    void collectContactEvents();

    std::vector<std::unique_ptr<GameObject>> ownedObjects;
    std::vector<GameObject*> removedObjects;
    std::vector<std::unique_ptr<Projectile>> spareProjectiles;  ///< retired, without bodies
    // Reused on every pass so that the contact pass allocates nothing once warmed up.
    std::vector<ContactKey> currentPairs;
    std::vector<ContactKey> beginEvents;  ///< bodies in Bullet's order, not sorted
    std::vector<ContactKey> endEvents;
};
