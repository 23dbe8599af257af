#pragma once

#include "tools/content/music/LoopBuffer.h"

#include <string>

/// Encodes a track as a stereo 44.1 kHz MP3 with libmp3lame (constant bit rate) and
/// writes the LAME information tag into the first frame: it records the encoder delay
/// and padding, so gapless decoders play the loop without a gap at its seam.
class Mp3Encoder {
public:
    static constexpr int kBitRate = 192;  // kbit/s

    /// Prints a line and returns false when encoding or writing fails.
    static bool write(const LoopBuffer& track, const std::string& path);
};
