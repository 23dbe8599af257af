#pragma once

#include "tools/content/GeneratedModel.h"

/// The player's craft, as the game shows it: about 2.4 units long along z with its nose
/// toward -z, wings about 2.6 across, centred on the origin (the middle of its capsule).
/// Skinned to seven bones: the body, two flexing wings and a streamer of two bones
/// trailing from each wing tip; the loop lasts 2 s in the file (2.5 s in the game).
GeneratedModel buildCraft();
