#include "tools/content/music/Song.h"

#include "tools/content/music/Instruments.h"
#include "tools/content/music/LoopEffects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr int kSixteenthsPerBar = 16;

// The sections, in bars.
enum class Section { Groove, Theme, Breakdown, Climax, Outro };

Section sectionOf(int bar) {
    if (bar < 8) return Section::Groove;
    if (bar < 16) return Section::Theme;
    if (bar < 20) return Section::Breakdown;
    if (bar < 28) return Section::Climax;
    return Section::Outro;
}

struct Chord {
    float bassRoot;            // MIDI note
    std::array<float, 4> pad;  // voicing
};

const Chord kDm{38.0f, {50.0f, 53.0f, 57.0f, 62.0f}};
const Chord kBb{34.0f, {50.0f, 53.0f, 58.0f, 62.0f}};
const Chord kC{36.0f, {52.0f, 55.0f, 60.0f, 64.0f}};
const Chord kA{33.0f, {52.0f, 57.0f, 61.0f, 64.0f}};
const Chord kGm{31.0f, {50.0f, 55.0f, 58.0f, 62.0f}};

// Eight bars of harmony, repeated: the second half turns through G minor.
const Chord* const kProgression[8] = {&kDm, &kBb, &kC, &kA, &kDm, &kBb, &kGm, &kA};

const Chord& chordOf(int bar) { return *kProgression[bar % 8]; }

long sixteenth(int bar, float step) {
    return static_cast<long>((static_cast<float>(bar * kSixteenthsPerBar) + step) *
                             static_cast<float>(Song::framesPerSixteenth()));
}

// Melody: (start in sixteenths within its bar, length in sixteenths, MIDI note), per bar.
struct MelodyNote {
    int bar;
    float step;
    float length;
    float note;
};

const std::vector<MelodyNote> kTheme = {
    {0, 0, 6, 69}, {0, 6, 2, 74}, {0, 8, 4, 77}, {0, 12, 2, 76}, {0, 14, 2, 74},
    {1, 0, 6, 77}, {1, 6, 2, 74}, {1, 8, 6, 70}, {1, 14, 2, 72},
    {2, 0, 4, 76}, {2, 4, 4, 79}, {2, 8, 2, 76}, {2, 10, 2, 72}, {2, 12, 4, 74},
    {3, 0, 8, 73}, {3, 8, 4, 76}, {3, 12, 4, 69},
    {4, 0, 2, 69}, {4, 2, 2, 74}, {4, 4, 2, 77}, {4, 6, 6, 81}, {4, 12, 2, 79}, {4, 14, 2, 77},
    {5, 0, 4, 77}, {5, 4, 4, 74}, {5, 8, 4, 70}, {5, 12, 4, 74},
    {6, 0, 6, 79}, {6, 6, 2, 77}, {6, 8, 4, 74}, {6, 12, 4, 70},
    {7, 0, 4, 69}, {7, 4, 4, 73}, {7, 8, 8, 76},
};

// The climax answers the theme a step higher in its second half and lands on the tonic.
const std::vector<MelodyNote> kClimax = {
    {0, 0, 6, 69}, {0, 6, 2, 74}, {0, 8, 4, 77}, {0, 12, 2, 76}, {0, 14, 2, 74},
    {1, 0, 6, 77}, {1, 6, 2, 74}, {1, 8, 6, 70}, {1, 14, 2, 72},
    {2, 0, 4, 76}, {2, 4, 4, 79}, {2, 8, 2, 76}, {2, 10, 2, 72}, {2, 12, 4, 74},
    {3, 0, 8, 73}, {3, 8, 4, 76}, {3, 12, 4, 81},
    {4, 0, 4, 81}, {4, 4, 2, 79}, {4, 6, 2, 77}, {4, 8, 6, 74}, {4, 14, 2, 77},
    {5, 0, 4, 82}, {5, 4, 4, 81}, {5, 8, 4, 77}, {5, 12, 4, 74},
    {6, 0, 6, 79}, {6, 6, 2, 82}, {6, 8, 4, 81}, {6, 12, 4, 79},
    {7, 0, 4, 76}, {7, 4, 4, 73}, {7, 8, 8, 74},
};

const std::vector<MelodyNote> kBreakdownCall = {
    {0, 0, 12, 74}, {0, 12, 4, 77}, {1, 0, 8, 76}, {1, 8, 8, 74}, {2, 0, 12, 72}, {2, 12, 4, 76}, {3, 0, 16, 73},
};

std::vector<LeadNote> place(const std::vector<MelodyNote>& melody, int firstBar) {
    std::vector<LeadNote> notes;
    for (const MelodyNote& m : melody)
        notes.push_back({sixteenth(firstBar + m.bar, m.step),
                         static_cast<long>(m.length * static_cast<float>(Song::framesPerSixteenth())), m.note});
    return notes;
}

struct Buses {
    explicit Buses(size_t frames)
        : drums(frames), bass(frames), pad(frames), arp(frames), lead(frames), effects(frames) {}
    LoopBuffer drums, bass, pad, arp, lead, effects;
};

void writeDrums(Buses& b, int bar) {
    const Section section = sectionOf(bar);
    const bool breakdown = section == Section::Breakdown;
    for (int step = 0; step < kSixteenthsPerBar; ++step) {
        const long at = sixteenth(bar, static_cast<float>(step));
        const bool onBeat = step % 4 == 0;
        if (onBeat && (!breakdown || (step == 0 && bar >= 18))) kickDrum(b.drums, at, 0.95f);
        const bool backbeat = step == 4 || step == 12;
        if (backbeat && !breakdown && (section != Section::Groove || bar >= 4)) {
            snareDrum(b.drums, at, 0.6f);
            handClap(b.drums, at, 0.55f);
        }
        if (!breakdown) {
            const float accent = step % 4 == 2 ? 0.7f : (step % 2 == 0 ? 0.35f : 0.22f);
            const bool open = step % 4 == 2 && (section == Section::Theme || section == Section::Climax);
            hiHat(b.drums, at, accent, open);
        } else if (step % 2 == 0 && bar >= 18) {
            hiHat(b.drums, at, 0.25f, false);
        }
    }
    if (bar == 31 || bar == 15 || bar == 27)  // a snare run into the next section
        for (int step = 12; step < kSixteenthsPerBar; ++step)
            snareDrum(b.drums, sixteenth(bar, static_cast<float>(step)), 0.3f + 0.1f * static_cast<float>(step - 12));
    if (bar == 0 || bar == 8 || bar == 20) crashCymbal(b.effects, sixteenth(bar, 0.0f), 0.9f);
    if (bar == 15 || bar == 19 || bar == 27) noiseRiser(b.effects, sixteenth(bar, 0.0f), sixteenth(1, 0.0f), 0.9f);
}

void writeBass(Buses& b, int bar) {
    const Chord& chord = chordOf(bar);
    const long length = Song::framesPerSixteenth() * 9 / 10;
    if (sectionOf(bar) == Section::Breakdown) {
        bassNote(b.bass, sixteenth(bar, 0.0f), sixteenth(1, 0.0f) - Song::framesPerSixteenth(), chord.bassRoot + 12.0f, 0.5f);
        return;
    }
    // A rolling line between the kicks: the note on each beat is left to the kick drum.
    static const float kPattern[16] = {0, 0, 12, 0, 0, 0, 12, 0, 0, 0, 12, 0, 0, 7, 12, 0};
    for (int step = 0; step < kSixteenthsPerBar; ++step) {
        if (step % 4 == 0) continue;
        const float velocity = step % 4 == 2 ? 0.95f : 0.7f;
        bassNote(b.bass, sixteenth(bar, static_cast<float>(step)), length, chord.bassRoot + 12.0f + kPattern[step], velocity);
    }
}

void writeHarmony(Buses& b, int bar) {
    const Chord& chord = chordOf(bar);
    const Section section = sectionOf(bar);
    const std::vector<float> voicing(chord.pad.begin(), chord.pad.end());
    padChord(b.pad, sixteenth(bar, 0.0f), sixteenth(1, 0.0f), voicing, section == Section::Breakdown ? 1.0f : 0.75f);
    if (section == Section::Groove && bar < 2) return;
    // The arpeggio climbs the chord over two octaves and falls back.
    static const int kOrder[16] = {0, 1, 2, 3, 4, 5, 6, 7, 6, 5, 4, 3, 2, 1, 2, 3};
    for (int step = 0; step < kSixteenthsPerBar; ++step) {
        const int index = kOrder[step];
        const float note = chord.pad[static_cast<size_t>(index % 4)] + 12.0f * static_cast<float>(index / 4) + 12.0f;
        const float velocity = (step % 4 == 0 ? 0.9f : 0.6f) * (section == Section::Breakdown ? 0.7f : 1.0f);
        pluckNote(b.arp, sixteenth(bar, static_cast<float>(step)), note, velocity, step % 2 == 0 ? -0.35f : 0.35f);
    }
}

// Pumps the sustained parts under the kick drum.
std::vector<float> duckingUnderKicks(size_t frames) {
    std::vector<float> gain(frames, 1.0f);
    for (int bar = 0; bar < Song::kBars; ++bar) {
        if (sectionOf(bar) == Section::Breakdown) continue;
        for (int beat = 0; beat < 4; ++beat) {
            const long at = sixteenth(bar, static_cast<float>(beat * 4));
            for (long i = 0; i < Song::framesPerSixteenth() * 4; ++i) {
                const float t = static_cast<float>(i) / static_cast<float>(LoopBuffer::kSampleRate);
                gain[static_cast<size_t>((at + i) % static_cast<long>(frames))] = 1.0f - 0.55f * std::exp(-t / 0.09f);
            }
        }
    }
    return gain;
}

}  // namespace

long Song::loopFrames() { return sixteenth(kBars, 0.0f); }

LoopBuffer Song::render() {
    const size_t frames = static_cast<size_t>(loopFrames());
    Buses b(frames);
    for (int bar = 0; bar < kBars; ++bar) {
        writeDrums(b, bar);
        writeBass(b, bar);
        writeHarmony(b, bar);
    }
    leadLine(b.lead, place(kTheme, 8), 0.9f);
    leadLine(b.lead, place(kBreakdownCall, 16), 0.75f);
    leadLine(b.lead, place(kClimax, 20), 1.0f);

    const std::vector<float> ducking = duckingUnderKicks(frames);
    b.bass.applyGain(ducking);
    b.pad.applyGain(ducking);
    b.arp.applyGain(ducking);

    LoopBuffer mix(frames);
    mix.mix(b.drums, 0.85f);
    mix.mix(b.bass, 0.6f);
    mix.mix(b.pad, 0.45f);
    mix.mix(b.arp, 0.45f);
    mix.mix(b.lead, 1.4f);
    mix.mix(b.effects, 0.6f);
    mix.mix(pingPongEcho(b.arp, 3 * framesPerSixteenth(), 0.45f), 0.25f);
    mix.mix(pingPongEcho(b.lead, 3 * framesPerSixteenth(), 0.35f), 0.4f);

    LoopBuffer send(frames);
    send.mix(b.pad, 0.8f);
    send.mix(b.lead, 0.6f);
    send.mix(b.arp, 0.3f);
    send.mix(b.drums, 0.08f);
    mix.mix(roomReverb(send, 0.8f, 0.35f), 1.0f);
    master(mix, 1.25f);  // rounds off the kick transients
    return mix;
}
