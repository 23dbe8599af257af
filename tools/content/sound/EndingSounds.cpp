#include "tools/content/sound/EndingSounds.h"

#include "tools/content/music/Voice.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct Blast {
    float seconds;
    float brightHz;       ///< the noise's cutoff at the moment of the blast
    float ringSeconds;    ///< how long the roar takes to fall to 1/e
    float boomHz;         ///< where the low boom settles
    std::uint32_t seed;
};

// Filtered noise that darkens as it fades, over a boom that drops in pitch.
SoundClip explosion(const Blast& blast) {
    SoundClip clip(blast.seconds);
    NoiseSource noise(blast.seed);
    Oscillator boom(Oscillator::Shape::Sine);
    LowPass roar;
    for (long i = 0; i < clip.frames(); ++i) {
        const float t = secondsAt(i);
        const float cutoff = 120.0f + blast.brightHz * decay(t, 0.25f);
        const float body = roar.next(noise.next(), cutoff, 0.15f) * decay(t, blast.ringSeconds);
        const float low = boom.next(blast.boomHz + 90.0f * decay(t, 0.08f)) * decay(t, 0.5f * blast.ringSeconds);
        clip.samples[static_cast<size_t>(i)] = softClip(2.0f * (body + low));
    }
    return clip;
}

// Short bursts of debris scattered through the tail, quieter as they go.
void addDebris(SoundClip& clip, int count, float from, float spacing, std::uint32_t seed) {
    NoiseSource noise(seed);
    LowPass dull;
    for (int piece = 0; piece < count; ++piece) {
        const float jitter = 0.5f * (noise.next() + 1.0f) * spacing;
        const long at = framesIn(from + spacing * static_cast<float>(piece) + jitter);
        const float level = 0.35f * decay(static_cast<float>(piece), 0.35f * static_cast<float>(count));
        for (long i = 0; i < framesIn(0.03f); ++i)
            clip.add(at + i, level * dull.next(noise.next(), 1800.0f, 0.3f) * decay(secondsAt(i), 0.006f));
    }
}

// A brassy note: two detuned saws, a filter that opens with the attack and closes slowly.
void addBrass(SoundClip& clip, float startSeconds, float lengthSeconds, float note, float level, float droop) {
    Oscillator sawA(Oscillator::Shape::Saw);
    Oscillator sawB(Oscillator::Shape::Saw, 0.3f);
    Oscillator vibrato(Oscillator::Shape::Sine);
    LowPass filter;
    const long start = framesIn(startSeconds);
    const long length = framesIn(lengthSeconds);
    const float release = 0.12f;
    for (long i = 0; i < length + framesIn(release * 4.0f); ++i) {
        const float t = secondsAt(i);
        const float gate = i < length ? 1.0f - decay(t, 0.015f) : decay(secondsAt(i - length), release);
        // The droop bends the note down over its length, as a sad horn sags.
        const float bend = droop * std::min(t / lengthSeconds, 1.0f);
        const float vibratoDepth = 0.12f * std::min(t / 0.4f, 1.0f);
        const float pitch = noteFrequency(note - bend + vibratoDepth * vibrato.next(5.5f));
        const float cutoff = 600.0f + 3000.0f * (1.0f - decay(t, 0.04f)) * decay(t, 0.5f);
        const float s = filter.next(sawA.next(pitch) + sawB.next(pitch * 1.004f), cutoff, 0.2f);
        clip.add(start + i, level * s * gate);
    }
}

// A line of brass notes, one every `spacing` seconds; the last is held and may sag.
struct Phrase {
    std::array<float, 4> notes;  ///< MIDI numbers
    float spacing;
    float noteSeconds;
    float heldSeconds;
    float level;
    float heldLevel;
    float heldDroop;  ///< semitones the held note sags by its end
};

void addPhrase(SoundClip& clip, const Phrase& phrase) {
    for (std::size_t n = 0; n < phrase.notes.size(); ++n) {
        const bool held = n + 1 == phrase.notes.size();
        addBrass(clip, phrase.spacing * static_cast<float>(n), held ? phrase.heldSeconds : phrase.noteSeconds,
                 phrase.notes[n], held ? phrase.heldLevel : phrase.level, held ? phrase.heldDroop : 0.0f);
    }
}

}  // namespace

SoundClip bossDestroyedSound() {
    SoundClip clip = explosion({2.6f, 3200.0f, 0.7f, 32.0f, 51});
    addDebris(clip, 12, 0.25f, 0.11f, 52);
    return clip.finish();
}

SoundClip craftDestroyedSound() {
    SoundClip clip = explosion({1.8f, 6000.0f, 0.4f, 48.0f, 53});
    Oscillator whistle(Oscillator::Shape::Sine);
    for (long i = 0; i < clip.frames(); ++i) {
        const float t = secondsAt(i);
        const float fall = std::min(t / 1.3f, 1.0f);
        clip.add(i, 0.25f * whistle.next(1400.0f * std::pow(0.15f, fall)) * (1.0f - decay(t, 0.05f)) * decay(t, 0.6f));
    }
    addDebris(clip, 6, 0.2f, 0.12f, 54);
    return clip.finish();
}

SoundClip winStingerSound() {
    SoundClip clip(2.3f);
    // D5, F#5, A5, then D6 held over the chord.
    addPhrase(clip, {{74.0f, 78.0f, 81.0f, 86.0f}, 0.12f, 0.11f, 1.1f, 0.3f, 0.35f, 0.0f});
    for (float chordNote : {62.0f, 66.0f, 69.0f}) addBrass(clip, 0.36f, 1.1f, chordNote, 0.18f, 0.0f);
    return clip.finish();
}

SoundClip loseStingerSound() {
    SoundClip clip(2.6f);
    // A, G#, G, then F# sagging a semitone, over a low D.
    addPhrase(clip, {{57.0f, 56.0f, 55.0f, 54.0f}, 0.3f, 0.26f, 1.2f, 0.4f, 0.4f, 1.0f});
    addBrass(clip, 0.9f, 1.2f, 38.0f, 0.3f, 0.0f);
    return clip.finish();
}
