#include "tools/content/sound/WeaponSounds.h"

#include "tools/content/music/Voice.h"

#include <cmath>

namespace {

// Seconds of lead-in before a sharp click, so that the clip's fade-in does not blunt it.
constexpr float kClickFreeStart = 0.004f;

// A short noise tick with a resonant ring: one part of a mechanism moving.
void addClack(SoundClip& clip, long at, float ringHz, float level, std::uint32_t seed) {
    NoiseSource noise(seed);
    Oscillator ring(Oscillator::Shape::Sine);
    LowPass body;
    const long n = framesIn(0.06f);
    for (long i = 0; i < n; ++i) {
        const float t = secondsAt(i);
        const float raw = noise.next();
        const float tick = (raw - body.next(raw, 2500.0f, 0.0f)) * decay(t, 0.004f);
        clip.add(at + i, level * (tick + 0.6f * ring.next(ringHz) * decay(t, 0.015f)));
    }
}

// Rises from 0 to 1 over `width` seconds along half a cosine: no corner to click.
float softEdge(float t, float width) { return t >= width ? 1.0f : 0.5f - 0.5f * std::cos(kPi * t / width); }

}  // namespace

SoundClip primaryShotSound() {
    SoundClip clip(0.22f);
    Oscillator square(Oscillator::Shape::Square);
    Oscillator sub(Oscillator::Shape::Sine);
    NoiseSource noise(11);
    LowPass tone;
    for (long i = 0; i < clip.frames(); ++i) {
        const float t = secondsAt(i);
        const float pitch = 420.0f + 1900.0f * decay(t, 0.03f);
        const float zap = tone.next(square.next(pitch), 900.0f + 7000.0f * decay(t, 0.05f), 0.3f);
        const float body = 0.5f * sub.next(0.5f * pitch);
        clip.samples[static_cast<size_t>(i)] = (zap + body) * decay(t, 0.055f) + 0.3f * noise.next() * decay(t, 0.004f);
    }
    return clip.finish();
}

SoundClip heavyShotSound() {
    SoundClip clip(0.9f);
    Oscillator boom(Oscillator::Shape::Sine);
    Oscillator saw(Oscillator::Shape::Saw);
    NoiseSource noise(12);
    LowPass roar;
    LowPass blast;
    for (long i = 0; i < clip.frames(); ++i) {
        const float t = secondsAt(i);
        const float thump = boom.next(42.0f + 230.0f * decay(t, 0.06f)) * decay(t, 0.3f);
        const float growl = roar.next(saw.next(80.0f + 520.0f * decay(t, 0.07f)), 250.0f + 3200.0f * decay(t, 0.09f), 0.5f);
        const float burst = blast.next(noise.next(), 300.0f + 2500.0f * decay(t, 0.06f), 0.1f);
        const float s = thump + 0.7f * growl * decay(t, 0.16f) + 0.8f * burst * decay(t, 0.12f);
        clip.samples[static_cast<size_t>(i)] = softClip(1.8f * s);
    }
    return clip.finish();
}

SoundClip bossShotSound() {
    SoundClip clip(0.38f);
    Oscillator sawA(Oscillator::Shape::Saw);
    Oscillator sawB(Oscillator::Shape::Saw, 0.37f);
    Oscillator wobble(Oscillator::Shape::Sine);
    LowPass tone;
    for (long i = 0; i < clip.frames(); ++i) {
        const float t = secondsAt(i);
        const float pitch = 150.0f + 110.0f * decay(t, 0.04f);
        const float wave = sawA.next(pitch) + sawB.next(pitch * 1.013f);
        const float throb = 0.65f + 0.35f * wobble.next(31.0f);
        const float dark = tone.next(wave, 350.0f + 2200.0f * decay(t, 0.07f), 0.75f);
        clip.samples[static_cast<size_t>(i)] = softClip(1.3f * dark * throb) * decay(t, 0.11f);
    }
    return clip.finish();
}

SoundClip missileLaunchSound() {
    SoundClip clip(1.1f);
    NoiseSource noise(14);
    Oscillator rumble(Oscillator::Shape::Sine);
    LowPass whoosh;
    LowPass lows;
    for (long i = 0; i < clip.frames(); ++i) {
        const float t = secondsAt(i);
        const float raw = noise.next();
        // The whistle: a resonant filter sweeping up as the motor catches, then fading away.
        const float sweep = 500.0f + 4200.0f * (1.0f - decay(t, 0.3f));
        const float air = whoosh.next(raw, sweep, 0.82f);
        const float swell = (1.0f - decay(t, 0.05f)) * decay(t, 0.45f);
        const float ignition = lows.next(raw, 400.0f, 0.2f) * decay(t, 0.05f) + rumble.next(55.0f) * decay(t, 0.25f);
        clip.samples[static_cast<size_t>(i)] = 0.9f * air * swell + ignition;
    }
    return clip.finish();
}

SoundClip missileWarningSound() {
    constexpr float kBeep = 0.15f;  // seconds of tone; the rest of the loop is the gap
    SoundClip clip(0.25f);
    Oscillator fundamental(Oscillator::Shape::Sine);
    Oscillator second(Oscillator::Shape::Sine);
    Oscillator third(Oscillator::Shape::Sine);
    const long beep = framesIn(kBeep);
    for (long i = 0; i < beep; ++i) {
        const float t = secondsAt(i);
        const float pitch = 900.0f * std::pow(2.0f, t / kBeep);  // an octave up each beep
        const float gate = softEdge(t, 0.01f) * softEdge(kBeep - t, 0.02f);
        const float tone = fundamental.next(pitch) + 0.35f * second.next(2.0f * pitch) + 0.2f * third.next(3.0f * pitch);
        clip.samples[static_cast<size_t>(i)] = tone * gate;
    }
    return clip.finish();
}

SoundClip reloadSound() {
    SoundClip clip(0.52f);
    addClack(clip, framesIn(0.01f), 1900.0f, 1.0f, 21);
    addClack(clip, framesIn(0.24f), 2600.0f, 1.0f, 22);
    Oscillator charge(Oscillator::Shape::Sine);
    Oscillator ready(Oscillator::Shape::Square);
    LowPass soft;
    for (long i = framesIn(0.04f); i < framesIn(0.34f); ++i) {
        const float t = secondsAt(i) - 0.04f;
        clip.add(i, 0.25f * charge.next(380.0f + 2700.0f * t * t) * std::sin(kPi * t / 0.3f));
    }
    for (long i = framesIn(0.38f); i < clip.frames(); ++i) {
        const float t = secondsAt(i) - 0.38f;
        clip.add(i, 0.4f * soft.next(ready.next(1760.0f), 4000.0f, 0.0f) * decay(t, 0.035f));
    }
    return clip.finish();
}

SoundClip emptyMagazineSound() {
    SoundClip clip(0.14f);
    const long start = framesIn(kClickFreeStart);
    addClack(clip, start, 1300.0f, 0.8f, 31);
    Oscillator dud(Oscillator::Shape::Square);
    LowPass muffle;
    for (long i = start; i < clip.frames(); ++i) {
        const float t = secondsAt(i - start);
        clip.add(i, 0.5f * muffle.next(dud.next(140.0f - 40.0f * t / 0.14f), 700.0f, 0.2f) * decay(t, 0.03f));
    }
    return clip.finish();
}
