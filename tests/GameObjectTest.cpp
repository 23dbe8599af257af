#include "game/GameObject.h"
#include "game/NameHash.h"

#include <gtest/gtest.h>

namespace {

// Counts how often Bullet asks the shape for its inertia.
class CountingSphere : public btSphereShape {
public:
    CountingSphere(float radius, int& callCount) : btSphereShape(radius), calls(callCount) {}
    void calculateLocalInertia(btScalar mass, btVector3& inertia) const override {
        ++calls;
        btSphereShape::calculateLocalInertia(mass, inertia);
    }

private:
    int& calls;
};

const btQuaternion kNoRotation(0.0f, 0.0f, 0.0f, 1.0f);

}  // namespace

TEST(GameObject, MassZeroGetsZeroInertiaWithoutAskingTheShape) {
    int calls = 0;
    GameObject still(0.0f, std::make_unique<CountingSphere>(1.0f, calls), {0, 0, 0}, kNoRotation);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(still.getRigidBody()->getLocalInertia(), btVector3(0, 0, 0));

    GameObject moving(2.0f, std::make_unique<CountingSphere>(1.0f, calls), {0, 0, 0}, kNoRotation);
    EXPECT_EQ(calls, 1);
    EXPECT_NEAR(moving.getRigidBody()->getLocalInertia().x(), 0.4f * 2.0f, 1e-5f);
}

TEST(GameObject, UnnormalisedQuaternionIsAQuarterTurn) {
    GameObject upright(1.0f, std::make_unique<btSphereShape>(1.0f), {1, 2, 3}, {0, 0, 1, 1});
    const btTransform pose = upright.motionTransform();
    EXPECT_TRUE((pose.getBasis() * btVector3(1, 0, 0)).distance(btVector3(0, 1, 0)) < 1e-5f);
    EXPECT_EQ(pose.getOrigin(), btVector3(1, 2, 3));
    EXPECT_EQ(upright.getRigidBody()->getWorldTransform().getOrigin(), btVector3(1, 2, 3));
}

TEST(GameObject, RenamingChangesTheHashTheRulesSee) {
    GameObject wall(1.0f, std::make_unique<btBoxShape>(btVector3(1, 1, 1)), {0, 0, 0}, kNoRotation);
    EXPECT_EQ(wall.getNameHash(), nameHash(""));
    wall.setName("frontWall");
    EXPECT_EQ(wall.getNameHash(), nameHash("frontWall"));
}
