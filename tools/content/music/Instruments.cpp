#include "tools/content/music/Instruments.h"

#include "tools/content/music/Voice.h"

#include <algorithm>
#include <cmath>

namespace {

// A different but repeatable noise for every hit, so that repeated hits do not phase.
std::uint32_t seedFor(long at, std::uint32_t salt) { return static_cast<std::uint32_t>(at) * 2654435761u ^ salt; }

}  // namespace

void kickDrum(LoopBuffer& bus, long at, float velocity) {
    Oscillator body(Oscillator::Shape::Sine);
    NoiseSource click(seedFor(at, 1));
    const long n = framesIn(0.5f);
    for (long i = 0; i < n; ++i) {
        const float t = secondsAt(i);
        const float pitch = 46.0f + 125.0f * decay(t, 0.028f);
        const float amp = decay(t, 0.3f) * (1.0f - decay(t, 0.0015f));
        const float s = softClip(1.6f * body.next(pitch) * amp) + 0.25f * click.next() * decay(t, 0.0025f);
        bus.add(at + i, s * velocity, 0.0f);
    }
}

void snareDrum(LoopBuffer& bus, long at, float velocity) {
    Oscillator tone(Oscillator::Shape::Sine, 0.25f);
    NoiseSource noise(seedFor(at, 2));
    LowPass body;
    const long n = framesIn(0.35f);
    for (long i = 0; i < n; ++i) {
        const float t = secondsAt(i);
        const float raw = noise.next();
        const float bright = raw - body.next(raw, 1400.0f, 0.0f);
        const float s = 0.55f * tone.next(190.0f - 30.0f * (1.0f - decay(t, 0.02f))) * decay(t, 0.06f) +
                        0.75f * bright * decay(t, 0.14f);
        bus.add(at + i, s * velocity, 0.05f);
    }
}

void handClap(LoopBuffer& bus, long at, float velocity) {
    NoiseSource noise(seedFor(at, 3));
    LowPass low;
    LowPass high;
    const long n = framesIn(0.3f);
    for (long i = 0; i < n; ++i) {
        const float t = secondsAt(i);
        const float raw = noise.next();
        const float band = low.next(raw - high.next(raw, 900.0f, 0.0f), 2600.0f, 0.2f);
        float env = 0.0f;
        for (int burst = 0; burst < 3; ++burst) {
            const float since = t - 0.011f * static_cast<float>(burst);
            if (since >= 0.0f) env = std::max(env, decay(since, 0.007f));
        }
        env = std::max(env, t > 0.022f ? 0.6f * decay(t - 0.022f, 0.11f) : 0.0f);
        bus.add(at + i, 1.4f * band * env * velocity, -0.1f);
    }
}

void hiHat(LoopBuffer& bus, long at, float velocity, bool open) {
    NoiseSource noise(seedFor(at, open ? 5 : 4));
    LowPass body;
    const float length = open ? 0.22f : 0.035f;
    const long n = framesIn(open ? 0.6f : 0.12f);
    for (long i = 0; i < n; ++i) {
        const float t = secondsAt(i);
        const float raw = noise.next();
        const float sizzle = raw - body.next(raw, 7500.0f, 0.1f);
        bus.add(at + i, 0.5f * sizzle * decay(t, length) * velocity, 0.3f);
    }
}

void crashCymbal(LoopBuffer& bus, long at, float velocity) {
    NoiseSource leftNoise(seedFor(at, 6));
    NoiseSource rightNoise(seedFor(at, 7));
    LowPass leftBody;
    LowPass rightBody;
    const long n = framesIn(2.6f);
    for (long i = 0; i < n; ++i) {
        const float t = secondsAt(i);
        const float env = decay(t, 0.9f) * (1.0f - decay(t, 0.002f)) * 0.35f * velocity;
        const float l = leftNoise.next();
        const float r = rightNoise.next();
        bus.addStereo(at + i, (l - leftBody.next(l, 4500.0f, 0.0f)) * env, (r - rightBody.next(r, 4500.0f, 0.0f)) * env);
    }
}

void noiseRiser(LoopBuffer& bus, long at, long length, float velocity) {
    NoiseSource leftNoise(seedFor(at, 8));
    NoiseSource rightNoise(seedFor(at, 9));
    LowPass leftFilter;
    LowPass rightFilter;
    for (long i = 0; i < length; ++i) {
        const float f = static_cast<float>(i) / static_cast<float>(length);
        const float cutoff = 300.0f * std::pow(30.0f, f);
        const float env = f * f * 0.3f * velocity;
        bus.addStereo(at + i, leftFilter.next(leftNoise.next(), cutoff, 0.6f) * env,
                      rightFilter.next(rightNoise.next(), cutoff, 0.6f) * env);
    }
}

void bassNote(LoopBuffer& bus, long at, long length, float note, float velocity) {
    Oscillator sawA(Oscillator::Shape::Saw, 0.0f);
    Oscillator sawB(Oscillator::Shape::Saw, 0.37f);
    Oscillator sub(Oscillator::Shape::Sine);
    LowPass filter;
    const float f = noteFrequency(note);
    const long release = framesIn(0.02f);
    for (long i = 0; i < length + release; ++i) {
        const float t = secondsAt(i);
        const float gate = i < length ? 1.0f : 1.0f - static_cast<float>(i - length) / static_cast<float>(release);
        const float amp = (1.0f - decay(t, 0.002f)) * (0.75f + 0.25f * decay(t, 0.08f)) * gate;
        const float raw = 0.5f * sawA.next(f) + 0.5f * sawB.next(f * 1.007f);
        const float cutoff = 220.0f + 1900.0f * decay(t, 0.07f) * velocity;
        const float s = filter.next(raw, cutoff, 0.5f) + 0.4f * sub.next(f);
        bus.add(at + i, s * amp * velocity * 0.5f, 0.0f);
    }
}

void padChord(LoopBuffer& bus, long at, long length, const std::vector<float>& notes, float velocity) {
    const long release = framesIn(0.7f);
    const float detune[3] = {-0.09f, 0.0f, 0.08f};  // semitones
    const float pans[3] = {-0.6f, 0.0f, 0.6f};
    for (size_t k = 0; k < notes.size(); ++k)
        for (int d = 0; d < 3; ++d) {
            Oscillator saw(Oscillator::Shape::Saw, 0.13f * static_cast<float>(k * 3 + static_cast<size_t>(d)));
            LowPass filter;
            const float f = noteFrequency(notes[k] + detune[d]);
            for (long i = 0; i < length + release; ++i) {
                const float t = secondsAt(i);
                const float attack = std::min(1.0f, t / 0.35f);
                const float gate = i < length ? 1.0f : decay(secondsAt(i - length), 0.22f);
                const float sweep = 1000.0f + 600.0f * std::sin(6.2831853f * 0.11f * secondsAt(at + i));
                const float s = filter.next(saw.next(f), sweep, 0.25f) * attack * gate;
                bus.add(at + i, s * velocity * 0.12f, pans[d]);
            }
        }
}

void pluckNote(LoopBuffer& bus, long at, float note, float velocity, float pan) {
    Oscillator square(Oscillator::Shape::Square);
    Oscillator saw(Oscillator::Shape::Saw, 0.2f);
    LowPass filter;
    const float f = noteFrequency(note);
    const long n = framesIn(0.4f);
    for (long i = 0; i < n; ++i) {
        const float t = secondsAt(i);
        const float raw = 0.5f * square.next(f) + 0.5f * saw.next(f * 2.0f);
        const float s = filter.next(raw, 500.0f + 5000.0f * decay(t, 0.045f), 0.35f) * decay(t, 0.14f) *
                        (1.0f - decay(t, 0.001f));
        bus.add(at + i, s * velocity * 0.35f, pan);
    }
}

void leadLine(LoopBuffer& bus, const std::vector<LeadNote>& notes, float velocity) {
    if (notes.empty()) return;
    // One continuous voice, so that slurred notes glide without restarting the waveform.
    Oscillator sawA(Oscillator::Shape::Saw, 0.1f);
    Oscillator sawB(Oscillator::Shape::Saw, 0.6f);
    Oscillator square(Oscillator::Shape::Square, 0.3f);
    LowPass filter;
    const long glide = framesIn(0.05f);
    const float attackStep = 1.0f / static_cast<float>(framesIn(0.012f));
    const float releaseStep = 1.0f / static_cast<float>(framesIn(0.09f));
    const long end = notes.back().at + notes.back().length + framesIn(0.1f);
    size_t current = 0;
    float gate = 0.0f;
    float pitch = notes.front().note;
    long articulated = notes.front().at;  // start of the last note that was not slurred
    for (long at = notes.front().at; at < end; ++at) {
        while (current + 1 < notes.size() && at >= notes[current + 1].at) {
            ++current;
            const bool slurred = notes[current - 1].at + notes[current - 1].length == notes[current].at;
            if (!slurred) articulated = notes[current].at;
        }
        const LeadNote& note = notes[current];
        const bool sounding = at >= note.at && at < note.at + note.length;
        const long intoNote = at - note.at;
        if (sounding && current > 0 && intoNote < glide && articulated != note.at) {
            const float from = notes[current - 1].note;
            pitch = from + (note.note - from) * static_cast<float>(intoNote) / static_cast<float>(glide);
        } else if (sounding) {
            pitch = note.note;
        }
        gate = sounding ? std::min(1.0f, gate + attackStep) : std::max(0.0f, gate - releaseStep);
        const float t = secondsAt(intoNote);
        const float vibrato = 0.22f * std::clamp((t - 0.22f) / 0.3f, 0.0f, 1.0f) * std::sin(6.2831853f * 5.3f * t);
        const float f = noteFrequency(pitch + vibrato);
        const float raw = 0.45f * sawA.next(f) + 0.35f * sawB.next(f * 1.005f) + 0.25f * square.next(f * 0.5f);
        const float cutoff = 1800.0f + 2200.0f * decay(secondsAt(at - articulated), 0.25f);
        bus.add(at, filter.next(raw, cutoff, 0.3f) * gate * velocity * 0.28f, 0.0f);
    }
}

void slowPad(LoopBuffer& bus, long at, long length, const std::vector<float>& notes, float velocity) {
    const long release = framesIn(4.0f);
    const float detune[2] = {-0.06f, 0.07f};  // semitones
    const float pans[2] = {-0.7f, 0.7f};
    for (size_t k = 0; k < notes.size(); ++k)
        for (int d = 0; d < 2; ++d) {
            Oscillator saw(Oscillator::Shape::Saw, 0.21f * static_cast<float>(k * 2 + static_cast<size_t>(d)));
            LowPass filter;
            const float f = noteFrequency(notes[k] + detune[d]);
            for (long i = 0; i < length + release; ++i) {
                const float t = secondsAt(i);
                const float attack = std::min(1.0f, t / 1.5f);
                const float gate = i < length ? 1.0f : decay(secondsAt(i - length), 0.7f);
                const float breath = 520.0f + 260.0f * std::sin(6.2831853f * 0.07f * t + static_cast<float>(k));
                const float s = filter.next(saw.next(f), breath, 0.15f) * attack * attack * gate;
                bus.add(at + i, s * velocity * 0.14f, pans[d]);
            }
        }
}

void droneBass(LoopBuffer& bus, long at, long length, float note, float velocity) {
    Oscillator sine(Oscillator::Shape::Sine);
    Oscillator saw(Oscillator::Shape::Saw, 0.5f);
    LowPass filter;
    const float f = noteFrequency(note);
    const long release = framesIn(2.5f);
    for (long i = 0; i < length + release; ++i) {
        const float t = secondsAt(i);
        const float attack = std::min(1.0f, t / 0.8f);
        const float gate = i < length ? 1.0f : decay(secondsAt(i - length), 0.4f);
        const float s = sine.next(f) + 0.3f * filter.next(saw.next(f), 3.0f * f, 0.0f);
        bus.add(at + i, s * attack * gate * velocity * 0.45f, 0.0f);
    }
}

void bellNote(LoopBuffer& bus, long at, float note, float velocity, float pan) {
    Oscillator modulator(Oscillator::Shape::Sine);
    const float f = noteFrequency(note);
    const float step = f / static_cast<float>(LoopBuffer::kSampleRate);
    float phase = 0.0f;  // of the carrier, in turns
    const long n = framesIn(6.0f);
    for (long i = 0; i < n; ++i) {
        const float t = secondsAt(i);
        // A non-integer ratio puts the overtones off the harmonic series: metal, not a string.
        const float index = 1.8f * decay(t, 0.4f);
        const float s = std::sin(2.0f * kPi * phase + index * modulator.next(f * 3.5f));
        phase += step;
        if (phase >= 1.0f) phase -= 1.0f;
        const float amp = decay(t, 1.1f) * (1.0f - decay(t, 0.003f));
        bus.add(at + i, s * amp * velocity * 0.3f, pan);
    }
}

void windGust(LoopBuffer& bus, long at, long length, float velocity) {
    NoiseSource leftNoise(seedFor(at, 10));
    NoiseSource rightNoise(seedFor(at, 11));
    LowPass leftFilter;
    LowPass rightFilter;
    for (long i = 0; i < length; ++i) {
        const float swell = std::sin(kPi * static_cast<float>(i) / static_cast<float>(length));
        const float cutoff = 350.0f + 1100.0f * swell;
        const float env = swell * swell * 0.25f * velocity;
        bus.addStereo(at + i, leftFilter.next(leftNoise.next(), cutoff, 0.55f) * env,
                      rightFilter.next(rightNoise.next(), cutoff * 1.1f, 0.55f) * env);
    }
}
