#pragma once

#include "game/OpenGLMotionState.h"
#include "render/Model.h"

#include <btBulletDynamicsCommon.h>

#include <cstdint>
#include <memory>
#include <string>

class HUD;
class Shader;

/// One simulated thing of a match: a Bullet rigid body with its collision shape and motion
/// state, the name the contact rules recognise it by, and, for visible things, a model with
/// the shader that draws it: a copy of its own for the craft, the boss and the shield, the
/// template of its kind, shared, for a projectile (drawn with its pose set just before).
///
/// Plain GameObjects are walls, sensors, guides and crash-pit boxes. Player, Enemy and
/// Projectile add health, ammunition and bars behind the same virtual operations, so the
/// game can ask any object without knowing its class; here they answer 0 or do nothing.
/// Owns its shape, motion state and body. Not copyable: the body points at the other two.
class GameObject {
public:
    /// `rotation` need not be normalised: (0,0,1,1) is a quarter turn about z. Mass 0
    /// gives zero inertia without asking the shape; every other member of the body keeps
    /// Bullet's default (friction 0.5, no restitution, no damping).
    GameObject(float mass, std::unique_ptr<btCollisionShape> shape, const btVector3& position,
               const btQuaternion& rotation);
    /// An object without a body until rebuildBody.
    GameObject();
    virtual ~GameObject();
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    btCollisionShape* getCollisionShape() const { return shape.get(); }
    btRigidBody* getRigidBody() const { return body.get(); }
    OpenGLMotionState* getMotionState() const { return motionState.get(); }
    /// Null for objects without a model (walls, sensors, guides).
    Model* getModel() { return model.get(); }
    const Model* getModel() const { return model.get(); }
    std::shared_ptr<Shader> getShader() const { return shader; }

    /// The bars are owned by the game's HUD list; objects only point at them.
    virtual void setHealthBar(HUD*) {}
    virtual HUD* getHealthBar() const { return nullptr; }
    virtual void setAmmoBar(HUD*) {}
    virtual HUD* getAmmoBar() const { return nullptr; }
    virtual int getHealth() const { return 0; }
    virtual void resetHealth() {}
    virtual void resetAmmo() {}
    virtual int getMaxHealth() const { return 0; }
    virtual void addHealth(int) {}
    virtual int getAmmo() const { return 0; }
    virtual int getMaxAmmo() const { return 0; }
    virtual void addAmmo(int) {}
    virtual void setReloadStart(float) {}
    virtual float getReloadStart() const { return 0.0f; }  ///< seconds of the game clock
    virtual GameObject* getGuide() const { return nullptr; }

    void setName(std::string newName);
    const std::string& getName() const { return name; }
    std::uint32_t getNameHash() const { return hash; }

    /// The transform as the motion state holds it: what gameplay wrote for kinematic
    /// objects, Bullet's interpolated pose for dynamic ones.
    btTransform motionTransform() const;
    void setMotionTransform(const btTransform& transform);
    btVector3 position() const { return motionTransform().getOrigin(); }
    /// Where Bullet has the body now.
    btVector3 physicsPosition() const { return body->getWorldTransform().getOrigin(); }

    /// Keeps the pose as it is before a step moves anything, for drawing between steps.
    void rememberPose() { previousPose = motionTransform(); }
    /// The pose `alpha` (0 to 1) of the way from the one remembered to the one now: the
    /// place by a straight line, the turn by the shorter arc.
    btTransform poseBetweenSteps(float alpha) const;

    void addCollisionFlags(int flags);
    void clearCollisionFlags(int flags);

    /// A new shape and a new body at rest, as the constructor builds them, for an object
    /// used again; the name, the model and the shader stay.
    void rebuildBody(float mass, std::unique_ptr<btCollisionShape> shape, const btVector3& position,
                     const btQuaternion& rotation);
    /// Frees the body, its shape and its motion state; the object has no body until
    /// rebuildBody. The body must be out of the world.
    void releaseBody();

protected:
    /// Draws the object with `model`, its own or one that others draw too.
    void shareModel(std::shared_ptr<Model> model, std::shared_ptr<Shader> drawingShader);

private:
    // Body last: it points at the shape and the motion state, so it must go first.
    std::unique_ptr<btCollisionShape> shape;
    std::unique_ptr<OpenGLMotionState> motionState;
    std::unique_ptr<btRigidBody> body;
    std::shared_ptr<Model> model;
    std::shared_ptr<Shader> shader;
    std::string name;
    std::uint32_t hash;
    btTransform previousPose = btTransform::getIdentity();  ///< as it was one step ago
};
