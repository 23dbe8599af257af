#pragma once

struct ButtonPressedNew;
class BulletOpenGl;
class GameObject;

// The rules that decide what a contact means, chosen by the two objects' names alone.

/// Damage, shield falls, projectile removal and wall blocking for the ordered pair
/// (a's name, b's name), bodies in the order Bullet gives them.
void runContactBeginRule(BulletOpenGl& game, GameObject& a, GameObject& b);

/// The sensor leaving a wall (or the boss) clears the block flags of that direction.
void runContactEndRule(ButtonPressedNew& buttons, const GameObject& a, const GameObject& b);
