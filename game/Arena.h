#pragma once

class BulletOpenGl;
class GameObject;

// The level's physics: the invisible box the player's sensor bumps into, and the pit a
// wreck falls into. The landscape the player sees has no physics.

/// Six thin kinematic walls without contact response around the player's start, in
/// `objects`, so they drift with the scene. Inside: x in [-14.5, 14.5], y in [-4.5, 9.5],
/// z in [-19.5, 9.5] at creation.
void buildArenaWalls(BulletOpenGl& game);

/// A static floor at y = -5.5 under the wreck's x and z, and four boxes on edge around it.
/// In the world but in neither registry, so touching them triggers no rule.
void buildCrashPitUnder(BulletOpenGl& game, const GameObject& wreck);
