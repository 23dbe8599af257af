#pragma once

/// Makes the folder that holds the game's assets/ the working directory, so that every
/// asset path stays relative to it. The working directory itself comes first: a build
/// tree, or any folder a player has filled. Then an installed copy's data: <prefix>/share/qex,
/// where <prefix> is the folder above the executable's own bin/, found through
/// /proc/self/exe, so a prefix that is moved as a whole keeps working.
///
/// Only an assets/ holding the marker file qex-assets.txt counts: the build writes it into
/// build/assets and the install copies it along, so a project checkout's own assets/ is
/// passed over. When both folders qualify, or the working directory's assets/ is not
/// Qex's, one line says which folder was taken. When neither qualifies, shows one line
/// naming the folders it looked in (see showFatalMessage) and returns false.
bool enterAssetFolder();
