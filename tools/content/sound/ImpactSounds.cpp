#include "tools/content/sound/ImpactSounds.h"

#include "tools/content/music/Voice.h"

#include <array>
#include <cmath>

namespace {

// One partial of a struck body: its frequency and how long it rings.
struct Partial {
    float hz;
    float level;
    float ringSeconds;
};

template <std::size_t N>
float sumPartials(std::array<Oscillator, N>& oscillators, const std::array<Partial, N>& partials, float t) {
    float sum = 0.0f;
    for (std::size_t p = 0; p < N; ++p)
        sum += partials[p].level * oscillators[p].next(partials[p].hz) * decay(t, partials[p].ringSeconds);
    return sum;
}

// A rising or falling hum of detuned saws behind an opening or closing filter.
SoundClip shieldSweep(float fromHz, float toHz, float fromCutoff, float toCutoff) {
    SoundClip clip(0.8f);
    Oscillator sawA(Oscillator::Shape::Saw);
    Oscillator sawB(Oscillator::Shape::Saw, 0.5f);
    Oscillator tremolo(Oscillator::Shape::Sine);
    LowPass filter;
    const float length = static_cast<float>(clip.frames());
    for (long i = 0; i < clip.frames(); ++i) {
        const float x = static_cast<float>(i) / length;  // 0..1 through the sweep
        const float pitch = fromHz * std::pow(toHz / fromHz, x);
        const float cutoff = fromCutoff * std::pow(toCutoff / fromCutoff, x);
        const float hum = filter.next(sawA.next(pitch) + sawB.next(pitch * 1.02f), cutoff, 0.6f);
        const float swell = std::sin(kPi * x);
        clip.samples[static_cast<size_t>(i)] = hum * swell * (0.75f + 0.25f * tremolo.next(13.0f));
    }
    return clip;
}

}  // namespace

SoundClip bossHitSound() {
    SoundClip clip(0.42f);
    const std::array<Partial, 4> partials{{{187.0f, 1.0f, 0.12f}, {431.0f, 0.7f, 0.08f}, {817.0f, 0.5f, 0.05f}, {1290.0f, 0.4f, 0.03f}}};
    std::array<Oscillator, 4> metal{Oscillator(Oscillator::Shape::Sine), Oscillator(Oscillator::Shape::Sine),
                                    Oscillator(Oscillator::Shape::Sine), Oscillator(Oscillator::Shape::Sine)};
    Oscillator thud(Oscillator::Shape::Sine);
    NoiseSource noise(41);
    LowPass grit;
    for (long i = 0; i < clip.frames(); ++i) {
        const float t = secondsAt(i);
        const float clank = sumPartials(metal, partials, t);
        const float low = 1.2f * thud.next(60.0f + 90.0f * decay(t, 0.03f)) * decay(t, 0.14f);
        const float hit = grit.next(noise.next(), 3500.0f, 0.1f) * decay(t, 0.02f);
        clip.samples[static_cast<size_t>(i)] = softClip(1.5f * (clank + low + hit));
    }
    return clip.finish();
}

SoundClip shieldHitSound() {
    SoundClip clip(1.1f);
    // A bell's inharmonic ratios above G6; the second voice of each, 3 Hz apart, shimmers.
    const std::array<Partial, 6> partials{{{1568.0f, 1.0f, 0.35f}, {1571.0f, 0.6f, 0.35f}, {4327.0f, 0.45f, 0.16f},
                                          {4331.0f, 0.3f, 0.16f}, {8467.0f, 0.2f, 0.07f}, {2352.0f, 0.25f, 0.25f}}};
    std::array<Oscillator, 6> bell{Oscillator(Oscillator::Shape::Sine), Oscillator(Oscillator::Shape::Sine),
                                   Oscillator(Oscillator::Shape::Sine), Oscillator(Oscillator::Shape::Sine),
                                   Oscillator(Oscillator::Shape::Sine), Oscillator(Oscillator::Shape::Sine)};
    NoiseSource noise(42);
    for (long i = 0; i < clip.frames(); ++i) {
        const float t = secondsAt(i);
        clip.samples[static_cast<size_t>(i)] = sumPartials(bell, partials, t) + 0.3f * noise.next() * decay(t, 0.002f);
    }
    return clip.finish();
}

SoundClip craftHitSound() {
    SoundClip clip(0.4f);
    NoiseSource noise(43);
    Oscillator thump(Oscillator::Shape::Sine);
    Oscillator glitch(Oscillator::Shape::Square);
    LowPass band;
    LowPass below;
    constexpr long kHold = 11;  // samples held: a 4 kHz crush that makes the hit sound broken
    float held = 0.0f;
    for (long i = 0; i < clip.frames(); ++i) {
        const float t = secondsAt(i);
        const float raw = noise.next();
        const float crunch = band.next(raw, 2200.0f, 0.4f) - below.next(raw, 500.0f, 0.0f);
        const float falling = glitch.next(620.0f * decay(t, 0.15f) + 90.0f);
        const float broken = 1.2f * crunch * decay(t, 0.05f) + 0.45f * falling * decay(t, 0.08f);
        if (i % kHold == 0) held = softClip(2.5f * broken);
        clip.samples[static_cast<size_t>(i)] = held + 0.8f * thump.next(70.0f) * decay(t, 0.08f);
    }
    return clip.finish();
}

SoundClip shieldUpSound() { return shieldSweep(110.0f, 330.0f, 300.0f, 6000.0f).finish(); }

SoundClip shieldDownSound() {
    SoundClip clip = shieldSweep(330.0f, 80.0f, 6000.0f, 200.0f);
    // Sparse crackles as the lattice breaks up.
    NoiseSource noise(44);
    for (int crackle = 0; crackle < 14; ++crackle) {
        const long at = framesIn(0.05f + 0.045f * static_cast<float>(crackle));
        const float level = 0.8f - 0.05f * static_cast<float>(crackle);
        for (long i = 0; i < framesIn(0.006f); ++i) clip.add(at + i, level * noise.next() * decay(secondsAt(i), 0.0015f));
    }
    return clip.finish();
}
