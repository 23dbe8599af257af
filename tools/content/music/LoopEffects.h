#pragma once

#include "tools/content/music/LoopBuffer.h"

// Effects for a looping track. Each runs twice around the loop and keeps the second
// round, so the echoes and the reverberation of the end ring on into the start.

/// Returns the echoes of `dry` (no dry signal): each repeat `delayFrames` later, bouncing
/// between left and right, `feedback` times as loud as the one before.
LoopBuffer pingPongEcho(const LoopBuffer& dry, long delayFrames, float feedback);
/// Returns the reverberation of `dry` (no dry signal): a room of parallel comb and series
/// all-pass filters per channel; `size` 0..1 lengthens the tail, `damping` 0..1 darkens it.
LoopBuffer roomReverb(const LoopBuffer& dry, float size, float damping);
/// Brings the loudest moments of `mix` up to just below full scale (about -1 dBFS),
/// rounding off only the peaks that stick out instead of squashing the whole mix.
/// `drivePeak` is where the peak sits, relative to full scale, before it is rounded off:
/// 1 barely touches it, higher rounds off more.
void master(LoopBuffer& mix, float drivePeak);
