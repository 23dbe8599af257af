#pragma once

#include "tools/content/music/LoopBuffer.h"

/// The title screen's music, "Red Dust": 16 bars in A minor at 60 beats per minute (64 s)
/// that loop seamlessly, calm where the fight's track drives. No drums: a slow pad over a
/// drone carries the harmony (Am - F - Dm - E), wind swells at every fourth bar, and in the
/// middle bells ring an arpeggio with a slow melody above it. The last bar's E leads back
/// into the first bar's A minor, so the seam sounds like a return rather than a cut.
class TitleSong {
public:
    static constexpr int kBars = 16;

    /// Renders the whole loop, mastered (peak at about -1 dBFS).
    static LoopBuffer render();
    static long framesPerSixteenth() { return kFramesPerSixteenth; }
    static long loopFrames();

private:
    static constexpr long kFramesPerSixteenth = 11025;  // 44100 x 60 / 60 / 4, exactly
};
