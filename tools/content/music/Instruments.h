#pragma once

#include "tools/content/music/LoopBuffer.h"

#include <vector>

// The instruments of the music track. Each call renders one hit or note into a bus;
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
