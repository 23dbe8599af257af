#pragma once

#include <LinearMath/btDefaultMotionState.h>

/// The motion state of every game object: Bullet's default behaviour, unchanged.
///
/// Kinematic objects are driven by writing its world transform, which Bullet reads at the
/// next step; the models follow the physics through the game itself, not through here.
class OpenGLMotionState : public btDefaultMotionState {
public:
    explicit OpenGLMotionState(const btTransform& startTransform)
        : btDefaultMotionState(startTransform) {}
};
