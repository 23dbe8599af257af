#include "tools/content/music/TitleSong.h"

#include "tools/content/music/Instruments.h"
#include "tools/content/music/LoopEffects.h"

#include <array>
#include <vector>

namespace {

constexpr int kSixteenthsPerBar = 16;
constexpr float kOctave = 12.0f;

struct Chord {
    float root;                // MIDI note of the drone
    std::array<float, 4> pad;  // voicing
};

const Chord kAm9{45.0f, {57.0f, 60.0f, 64.0f, 71.0f}};
const Chord kFmaj7{41.0f, {53.0f, 57.0f, 60.0f, 64.0f}};
const Chord kDmAdd9{38.0f, {53.0f, 57.0f, 62.0f, 64.0f}};
const Chord kEsus4{40.0f, {52.0f, 57.0f, 59.0f, 64.0f}};
const Chord kE7b9{40.0f, {52.0f, 56.0f, 59.0f, 65.0f}};  // the flat ninth: the track's unease

// Eight bars of harmony, repeated: the first four hang on a suspension, the second four
// lean on the dominant, which pulls back to A minor.
const Chord* const kProgression[8] = {&kAm9, &kFmaj7, &kDmAdd9, &kEsus4, &kAm9, &kFmaj7, &kDmAdd9, &kE7b9};

const Chord& chordOf(int bar) { return *kProgression[bar % 8]; }

long sixteenth(int bar, float step) {
    return static_cast<long>((static_cast<float>(bar * kSixteenthsPerBar) + step) *
                             static_cast<float>(TitleSong::framesPerSixteenth()));
}

// The bells sing in the middle eight bars; the outer ones only breathe.
bool inMiddle(int bar) { return bar >= 4 && bar < 12; }

struct BellNote {
    int bar;
    float step;  // sixteenths into the bar
    float note;  // MIDI
};

const BellNote kMelody[] = {
    {4, 0, 76},  {4, 6, 72},  {4, 8, 71},  {4, 12, 72}, {5, 0, 69},  {5, 4, 72},  {5, 8, 76},  {5, 12, 77},
    {6, 0, 74},  {6, 6, 72},  {6, 8, 69},  {6, 12, 74}, {7, 0, 71},  {7, 8, 68},  {7, 12, 77},
    {8, 0, 76},  {8, 6, 79},  {8, 8, 76},  {8, 12, 72}, {9, 0, 77},  {9, 4, 76},  {9, 8, 72},  {9, 12, 69},
    {10, 0, 74}, {10, 6, 77}, {10, 8, 76}, {10, 12, 74}, {11, 0, 71}, {11, 8, 69},
};

struct Buses {
    explicit Buses(size_t frames) : pad(frames), drone(frames), bells(frames), melody(frames), wind(frames) {}
    LoopBuffer pad, drone, bells, melody, wind;
};

void writeHarmony(Buses& b, int bar) {
    const Chord& chord = chordOf(bar);
    const long barLength = sixteenth(1, 0.0f);
    const std::vector<float> voicing(chord.pad.begin(), chord.pad.end());
    slowPad(b.pad, sixteenth(bar, 0.0f), barLength, voicing, inMiddle(bar) ? 0.8f : 1.0f);
    droneBass(b.drone, sixteenth(bar, 0.0f), barLength, chord.root, 0.9f);
    if (bar % 4 == 3) windGust(b.wind, sixteenth(bar, 0.0f), 2 * barLength, 1.0f);
}

// Eighth notes climbing and turning over the chord, an octave above the pad; outside the
// middle, one low bell a bar marks the chord.
void writeBells(Buses& b, int bar) {
    const Chord& chord = chordOf(bar);
    if (!inMiddle(bar)) {
        bellNote(b.bells, sixteenth(bar, 0.0f), chord.pad[0] + kOctave, 0.55f, -0.2f);
        return;
    }
    static const int kOrder[8] = {0, 2, 1, 3, 2, 4, 3, 1};  // 4 is the lowest note an octave up
    for (int eighth = 0; eighth < 8; ++eighth) {
        const int index = kOrder[eighth];
        const float note = chord.pad[static_cast<size_t>(index % 4)] + kOctave * static_cast<float>(1 + index / 4);
        const float velocity = eighth % 4 == 0 ? 0.5f : 0.3f;
        const float pan = eighth % 2 == 0 ? -0.45f : 0.45f;
        bellNote(b.bells, sixteenth(bar, static_cast<float>(2 * eighth)), note, velocity, pan);
    }
}

}  // namespace

long TitleSong::loopFrames() { return sixteenth(kBars, 0.0f); }

LoopBuffer TitleSong::render() {
    const size_t frames = static_cast<size_t>(loopFrames());
    Buses b(frames);
    for (int bar = 0; bar < kBars; ++bar) {
        writeHarmony(b, bar);
        writeBells(b, bar);
    }
    for (const BellNote& m : kMelody) bellNote(b.melody, sixteenth(m.bar, m.step), m.note, 0.9f, 0.1f);

    LoopBuffer mix(frames);
    mix.mix(b.pad, 1.0f);
    mix.mix(b.drone, 0.55f);
    mix.mix(b.bells, 0.5f);
    mix.mix(b.melody, 0.8f);
    mix.mix(b.wind, 0.6f);
    mix.mix(pingPongEcho(b.melody, 3 * framesPerSixteenth(), 0.5f), 0.35f);
    mix.mix(pingPongEcho(b.bells, 3 * framesPerSixteenth(), 0.4f), 0.2f);

    LoopBuffer send(frames);
    send.mix(b.pad, 0.9f);
    send.mix(b.bells, 0.8f);
    send.mix(b.melody, 0.9f);
    send.mix(b.wind, 0.5f);
    mix.mix(roomReverb(send, 0.95f, 0.5f), 1.4f);
    master(mix, 1.05f);  // nothing stabs out of a calm mix: barely rounded off
    return mix;
}
