#include "game/GameObject.h"

#include "game/NameHash.h"

#include <utility>

namespace {

btVector3 inertiaFor(float mass, btCollisionShape& shape) {
    btVector3 inertia(0.0f, 0.0f, 0.0f);
    if (mass != 0.0f) shape.calculateLocalInertia(mass, inertia);
    return inertia;
}

}  // namespace

GameObject::GameObject(float mass, std::unique_ptr<btCollisionShape> collisionShape,
                       const btVector3& position, const btQuaternion& rotation)
    : hash(nameHash(name)) {
    rebuildBody(mass, std::move(collisionShape), position, rotation);
}

GameObject::GameObject() : hash(nameHash(name)) {}

void GameObject::rebuildBody(float mass, std::unique_ptr<btCollisionShape> collisionShape,
                             const btVector3& position, const btQuaternion& rotation) {
    body.reset();  // it points at the old shape and motion state
    shape = std::move(collisionShape);
    previousPose = btTransform(rotation, position);
    motionState = std::make_unique<OpenGLMotionState>(previousPose);
    const btRigidBody::btRigidBodyConstructionInfo info(mass, motionState.get(), shape.get(),
                                                        inertiaFor(mass, *shape));
    body = std::make_unique<btRigidBody>(info);
}

GameObject::~GameObject() = default;

void GameObject::setName(std::string newName) {
    name = std::move(newName);
    hash = nameHash(name);
}

btTransform GameObject::motionTransform() const {
    btTransform transform;
    motionState->getWorldTransform(transform);
    return transform;
}

void GameObject::setMotionTransform(const btTransform& transform) {
    motionState->setWorldTransform(transform);
}

btTransform GameObject::poseBetweenSteps(float alpha) const {
    const btTransform now = motionTransform();
    const btVector3 origin = previousPose.getOrigin().lerp(now.getOrigin(), alpha);
    btQuaternion from = previousPose.getRotation();
    const btQuaternion to = now.getRotation();
    if (from.dot(to) < 0.0f) from = -from;  // the same turn; slerp takes the short way then
    return btTransform(from.slerp(to, alpha), origin);
}

void GameObject::addCollisionFlags(int flags) {
    body->setCollisionFlags(body->getCollisionFlags() | flags);
}

void GameObject::clearCollisionFlags(int flags) {
    body->setCollisionFlags(body->getCollisionFlags() & ~flags);
}

void GameObject::releaseBody() {
    body.reset();
    motionState.reset();
    shape.reset();
}

void GameObject::shareModel(std::shared_ptr<Model> shared, std::shared_ptr<Shader> drawingShader) {
    model = std::move(shared);
    shader = std::move(drawingShader);
}
