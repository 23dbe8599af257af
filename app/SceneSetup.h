#pragma once

#include "app/Scene.h"

class CustomCamera;

/// Builds everything the first frame needs, in the game's start-up order.
void setUpScene(Scene& scene);

/// A new match, as the menus asked for it: a new world at their difficulty with a new
/// player, boss and arena, the camera and the landscape back at the start, and the title's
/// music or the fight's. The caller starts its frame time over.
void restartMatch(Scene& scene);

/// Fades the match's music in from its beginning: after the title's music has faded out,
/// or (a restart) after every sound has stopped at once.
void playMatchMusic(Scene& scene);
/// Fades the title's music in after the match's has faded out; no change when it plays.
void playTitleMusic(Scene& scene);

/// Releases the scene's objects while the GL context still exists.
void tearDownScene(Scene& scene);

/// The camera's start pose: behind and above the craft, looking down the track.
void resetCamera(CustomCamera& camera);
