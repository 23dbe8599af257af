#include "tools/content/music/Mp3Encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

namespace {

constexpr int kChunkFrames = 8192;
constexpr int kEncoderQuality = 5;  // lame's 0 (best, slowest) .. 9; 5 is its default trade-off

struct LameDeleter {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

bool fail(const std::string& what) {
    std::cout << "Cannot encode the music: " << what << std::endl;
    return false;
}

}  // namespace

bool Mp3Encoder::write(const LoopBuffer& track, const std::string& path) {
    std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
    if (!lame) return fail("lame_init failed");
    lame_set_in_samplerate(lame.get(), LoopBuffer::kSampleRate);
    lame_set_out_samplerate(lame.get(), LoopBuffer::kSampleRate);
    lame_set_num_channels(lame.get(), 2);
    lame_set_mode(lame.get(), JOINT_STEREO);
    lame_set_brate(lame.get(), kBitRate);
    lame_set_quality(lame.get(), kEncoderQuality);
    lame_set_bWriteVbrTag(lame.get(), 1);
    if (lame_init_params(lame.get()) < 0) return fail("unsupported parameters");

    std::vector<unsigned char> mp3;
    std::vector<unsigned char> chunk(static_cast<size_t>(1.25 * kChunkFrames + 7200));
    const size_t frames = track.frames();
    for (size_t start = 0; start < frames; start += kChunkFrames) {
        const int count = static_cast<int>(std::min<size_t>(kChunkFrames, frames - start));
        const int bytes = lame_encode_buffer_ieee_float(lame.get(), track.left.data() + start, track.right.data() + start,
                                                        count, chunk.data(), static_cast<int>(chunk.size()));
        if (bytes < 0) return fail("lame_encode_buffer returned " + std::to_string(bytes));
        mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + bytes);
    }
    const int tail = lame_encode_flush(lame.get(), chunk.data(), static_cast<int>(chunk.size()));
    if (tail < 0) return fail("lame_encode_flush returned " + std::to_string(tail));
    mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + tail);

    // The first frame was reserved for the information tag; lame fills it in only now.
    std::vector<unsigned char> tag(4096);
    const size_t tagBytes = lame_get_lametag_frame(lame.get(), tag.data(), tag.size());
    if (tagBytes > 0 && tagBytes <= mp3.size()) std::copy(tag.begin(), tag.begin() + static_cast<long>(tagBytes), mp3.begin());

    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(mp3.size()));
    if (out) return true;
    std::cout << "Cannot write " << path << std::endl;
    return false;
}
