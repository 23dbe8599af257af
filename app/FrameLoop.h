#pragma once

#include "app/Scene.h"

/// The only loop: runs passes until the window's close flag is set.
void runFrameLoop(Scene& scene);
