#pragma once
// The harmony and the tunes of the soundtrack, in MIDI note numbers
// (60 = middle C), in A minor; the second drop moves them a whole tone up.
#include <array>
#include <span>
#include <vector>

namespace assetgen {

struct Chord {
    int bassRoot;                 // the root in the bass octave (see bassNote)
    std::array<int, 3> pad;       // the pad's voicing around middle C
    std::array<int, 4> arpeggio;  // the tones the pluck cycles through, under the lead's register
};

enum ChordName { kAm, kF, kC, kG, kDm, kE, kChordCount };

const Chord& chord(ChordName name);

// The bass keeps its roots between A1 (55 Hz, the lowest that small
// speakers still carry) and G#2: a transposed root is folded into that octave.
inline constexpr int kLowestBass = 33;
int bassNote(int midi);

// A tune event on one of the 16 rows of a bar.
inline constexpr int kHold = -1;
inline constexpr int kRelease = -2;
// Added to a note that the lead slides into from the note before.
inline constexpr int kGlide = 1000;

using BarTune = std::array<int, 16>;  // note, kHold or kRelease per row

// Parses 16 space-separated tokens: a note such as "a4" or "g#5" ("~e5":
// slide into it), "-" to hold the previous note, "." to release it.
BarTune parseTune(const char* text);

// Four-bar tunes: 0-4 of the main part, 5 the figure over the intro's
// second half, 6 the figure of the build.
std::span<const char* const> tuneBars(int tune);
inline constexpr int kTuneCount = 7;

}  // namespace assetgen
