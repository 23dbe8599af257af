#pragma once

#include "tools/content/music/LoopBuffer.h"

#include <vector>

// The instruments of the music tracks. Each call renders one hit or note into a bus;
// `at` and lengths are in frames, notes are MIDI numbers (fractions allowed), velocity
// is 0..1. Tails that run past the end of the loop continue at its start.

void kickDrum(LoopBuffer& bus, long at, float velocity);
void snareDrum(LoopBuffer& bus, long at, float velocity);
void handClap(LoopBuffer& bus, long at, float velocity);
void hiHat(LoopBuffer& bus, long at, float velocity, bool open);
void crashCymbal(LoopBuffer& bus, long at, float velocity);
/// A rising noise sweep that ends at `at + length` (leads into a new section).
void noiseRiser(LoopBuffer& bus, long at, long length, float velocity);

/// A short, filtered two-saw bass note with a sub sine.
void bassNote(LoopBuffer& bus, long at, long length, float note, float velocity);
/// A sustained chord of detuned saws, slowly filtered, spread across the stereo field.
void padChord(LoopBuffer& bus, long at, long length, const std::vector<float>& notes, float velocity);
/// A plucked square-saw note for the arpeggio.
void pluckNote(LoopBuffer& bus, long at, float note, float velocity, float pan);

/// One note of a lead line.
struct LeadNote {
    long at;
    long length;
    float note;
};
/// A singing lead: notes that touch glide into each other, long notes get vibrato.
void leadLine(LoopBuffer& bus, const std::vector<LeadNote>& notes, float velocity);

// The title track's softer instruments.

/// A dark chord of detuned saws behind a low filter that breathes slowly: it swells in
/// over a second and a half and dies away over about three after `length`.
void slowPad(LoopBuffer& bus, long at, long length, const std::vector<float>& notes, float velocity);
/// A deep sine drone with a little warmth above it, swelling in and out.
void droneBass(LoopBuffer& bus, long at, long length, float note, float velocity);
/// A struck metal bar (two-operator FM): bright at first, ringing for seconds.
void bellNote(LoopBuffer& bus, long at, float note, float velocity, float pan);
/// Filtered noise that swells in and dies away again over `length`, brightening at its height.
void windGust(LoopBuffer& bus, long at, long length, float velocity);
