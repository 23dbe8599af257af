#pragma once

#include <cstdint>
#include <optional>
#include <string>

/// The size of a WAV file's sample data: what the data chunk's header declares against
/// what the file holds after it, in bytes. `present` < `declared` means the file was cut
/// short; SDL then loads what is there without a word.
struct WavDataSize {
    std::uint64_t declared = 0;
    std::uint64_t present = 0;
};

/// Walks the RIFF chunks of `path` to its data chunk. Nothing for a file that cannot be
/// read or is not a RIFF WAVE with a data chunk: the loader reports those itself.
/// Reads only the chunk headers, never past the file's end.
std::optional<WavDataSize> wavDataSize(const std::string& path);

/// One line naming `path` when its data is shorter than its header says.
void reportCutShortWav(const std::string& path);
