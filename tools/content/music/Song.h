#pragma once

#include "tools/content/music/LoopBuffer.h"

/// The game's music, "Alien Manifestation": 32 bars in D minor at 120 beats per minute
/// (64 s) that loop seamlessly. A four-on-the-floor beat, a rolling sixteenth-note bass,
/// a pad and an arpeggio carry the harmony (Dm - Bb - C - A); a lead sings the melody
/// in the middle sections, with a breakdown before the last one.
class Song {
public:
    static constexpr int kBars = 32;

    /// Renders the whole loop, mastered (peak at about -1 dBFS).
    static LoopBuffer render();
    static long framesPerSixteenth() { return kFramesPerSixteenth; }
    static long loopFrames();

private:
    // 44100 x 60 / 120 / 4 is 5512.5: a whole-frame step keeps every note on the grid; the
    // half frame per sixteenth is 0.2 % of tempo.
    static constexpr long kFramesPerSixteenth = 5513;
};
