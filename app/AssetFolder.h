#pragma once

/// Makes the folder that holds the game's assets/ the working directory, so that every
/// asset path stays relative to it. The working directory itself comes first: a build
/// tree, or any folder a player has filled. Then an installed copy's data: <prefix>/share/qex,
/// where <prefix> is the folder above the executable's own bin/, found through
/// /proc/self/exe, so a prefix that is moved as a whole keeps working.
/// When neither holds assets/, shows one line naming the folders it looked in (see
/// showFatalMessage) and returns false.
bool enterAssetFolder();
