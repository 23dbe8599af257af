#pragma once

#include "game/Debugger.h"
#include "game/MatchClock.h"
#include "game/MatchEvents.h"

#include <btBulletDynamicsCommon.h>

#include <cstdint>
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
/// between named objects, the world's step, the pause bookkeeping, and the drawing.
///
/// `objects` and `projectiles` are registries of plain pointers; the objects are owned
/// here for as long as the match keeps them (see keep()). The world itself is built and
/// torn down by the derived game. Times are seconds of `clock`, the match's own clock:
/// the steps taken times the length of one.
class BulletOpenGl {
public:
    using Clock = std::function<float()>;

    BulletOpenGl();
    virtual ~BulletOpenGl();
    BulletOpenGl(const BulletOpenGl&) = delete;  // owns Bullet bodies
    BulletOpenGl& operator=(const BulletOpenGl&) = delete;

    virtual void createWorld() {}
    virtual void destroyWorld() {}
    /// Draws projectiles (posed `alpha` of the way from their pose one step ago to their
    /// pose now), then objects, then the debug lines.
    virtual void render(float alpha);
    /// Advances the world by one step of MatchClock::kStep, then runs the contact pass.
    /// Does nothing without a world.
    virtual void stepPhysics();
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

    /// A plain object for the match, built from a spare one when there is one (see
    /// prepareSpares), unnamed; registers nothing and adds nothing to the world.
    GameObject* keepPlainObject(std::unique_ptr<btCollisionShape> shape, float mass,
                                const btVector3& position, const btQuaternion& rotation);
    /// A plain object, registered in `objects` and added to the world.
    GameObject* addObject(std::unique_ptr<btCollisionShape> shape, float mass,
                          const btVector3& position, const btQuaternion& rotation);
    /// A projectile named "projectile" drawn with `model` (shared), registered, added to
    /// the world, never deactivated, without friction; the caller names and launches it.
    /// A spent projectile is relaunched when there is one, so steady fire allocates nothing.
    Projectile* addProjectile(std::shared_ptr<Model> model, int damage, float mass,
                              std::unique_ptr<btCollisionShape> shape, const btVector3& position,
                              const btQuaternion& rotation, std::shared_ptr<Shader> shader);
    /// Spares built ahead: room for `projectilesInFlight` projectiles as retired shots, so
    /// that steady fire allocates nothing while no more are in flight at once, and plain
    /// objects for the walls, the guides and a crash pit, so that a match's end builds none.
    void prepareSpares(std::size_t projectilesInFlight);
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
    /// Steps taken in this match.
    std::uint32_t stepCount() const { return stepsTaken; }
    /// The pause bookkeeping, once a loop pass: `paused` as the shell has it, `wallSeconds`
    /// of the wall clock. A pause takes no steps, so the match's clock cannot measure one.
    void notePause(bool paused, float wallSeconds);

    Clock clock;  ///< the match's clock (stepCount() steps); a test may set another
    std::shared_ptr<ButtonPressedNew> buttons;
    std::unique_ptr<btDiscreteDynamicsWorld> world;
    std::shared_ptr<Shader> objectShader;
    std::unique_ptr<Debugger> debugger;
    std::vector<GameObject*> objects;      ///< every non-projectile object the match walks
    std::vector<Projectile*> projectiles;  ///< every live projectile, missiles included
    std::vector<ContactKey> contactPairs;  ///< sorted: the pairs in contact after the last pass
    float pauseStart = 0.0f;     ///< wall-clock seconds at which the pause in progress began
    float pauseDuration = 0.0f;  ///< wall-clock length of the pause in progress; 0 while not paused
    bool pausing = false;
    MatchEvents events;  ///< noted by the rules and the update; read and cleared by the shell

protected:
    /// One more step taken; a new match starts again from 0.
    void countStep() { ++stepsTaken; }
    void restartClock() { stepsTaken = 0; }
    /// Retires the projectiles removed since the last call, after letting the derived game
    /// forget them: their bodies are freed and they wait to be launched again. Their contact
    /// keys go too, so a new body at a reused address is new.
    void disposeRemovedObjects();
    /// Takes the projectiles in flight out of the world and retires them, while the world
    /// is still there: the next match launches them again instead of building new ones.
    void retireProjectilesInFlight();
    /// Frees every object of the match and forgets every contact; the retired projectiles
    /// and the plain objects, without their bodies, stay for the next match. The world
    /// must be gone, or the bodies out of it.
    void releaseMatchObjects();
    /// Frees the spare projectiles and plain objects, once no match is to use them again.
    void releaseSpares();
    virtual void forgetRemovedObject(const GameObject&) {}

private:
    void collectContactEvents();

    std::uint32_t stepsTaken = 0;

    std::vector<std::unique_ptr<GameObject>> ownedObjects;
    std::vector<GameObject*> removedObjects;
    std::vector<std::unique_ptr<Projectile>> spareProjectiles;  ///< retired, without bodies
    std::vector<std::unique_ptr<GameObject>> plainObjects;       ///< the match's walls, guides, pit
    std::vector<std::unique_ptr<GameObject>> sparePlainObjects;  ///< an earlier match's, without bodies
    // Reused on every pass so that the contact pass allocates nothing once warmed up.
    std::vector<ContactKey> currentPairs;
    std::vector<ContactKey> beginEvents;  ///< bodies in Bullet's order, not sorted
    std::vector<ContactKey> endEvents;
};
