#include "score.h"

namespace assetgen {

namespace {

constexpr int A1 = 33, C2 = 36, D2 = 38, E2 = 40, F2 = 41, G2 = 43;

const Chord kChords[kChordCount] = {
    /* Am */ {A1, {57, 60, 64}, {57, 60, 64, 69}},
    /* F  */ {F2, {57, 60, 65}, {53, 57, 60, 65}},
    /* C  */ {C2, {55, 60, 64}, {55, 60, 64, 67}},
    /* G  */ {G2, {55, 59, 62}, {55, 59, 62, 67}},
    /* Dm */ {D2, {57, 62, 65}, {57, 62, 65, 69}},
    /* E  */ {E2, {56, 59, 64}, {56, 59, 64, 68}},
};

// Tune 0 and 1 run over Am F C G; tune 2 and 3 over Dm Am F E; tune 4,
// busier, over Am F C G again.
const char* const kTunes[kTuneCount][4] = {
    {"a4 - - - c5 - e5 - - - d5 - c5 - - -", "a4 - - - - - . . c5 - a4 - c5 - f5 -",
     "~e5 - - - - - d5 - c5 - - - d5 - e5 -", "d5 - - - b4 - - - g4 - - - . . . ."},
    {"a4 - - - c5 - e5 - - - d5 - c5 - - -", "a4 - - - - - . . c5 - a4 - c5 - f5 -",
     "g5 - - - - - e5 - c5 - - - e5 - g5 -", "~a5 - - - - - - - g5 - - - ~b5 - - -"},
    {"f5 - - - e5 - d5 - - - a4 - d5 - f5 -", "e5 - - - - - c5 - a4 - - - c5 - e5 -",
     "f5 - - - g5 - a5 - - - g5 - f5 - c5 -", "e5 - - - - - - - g#5 - - - b5 - - -"},
    {"a5 - - - g5 - f5 - - - e5 - d5 - f5 -", "e5 - - - c5 - a4 - - - c5 - e5 - a5 -",
     "~c6 - - - a5 - f5 - - - a5 - g5 - f5 -", "e5 - - - - - - - - - - - . . . ."},
    {"e5 - a5 - e5 - c5 - e5 - a5 - b5 - c6 -", "a5 - - - - - f5 - c5 - f5 - a5 - c6 -",
     "g5 - - - e5 - c5 - g5 - - - e5 - c5 -", "d5 - g5 - b5 - d6 - - - b5 - g5 - d5 -"},
    // Calls with room after them, for the echo to answer.
    {"a4 - - - c5 - - - e5 - - - - - . .", "f5 - - - e5 - c5 - - - - - . . . .",
     "e5 - - - g5 - - - c5 - - - - - . .", "d5 - - - b4 - - - g4 - - - - - . ."},
    {"a4 - c5 - e5 - a5 - - - g5 - e5 - - -", "f5 - - - e5 - c5 - - - a4 - c5 - - -",
     "g5 - - - e5 - c5 - - - e5 - g5 - - -", "b5 - - - a5 - g5 - - - d5 - . . . ."},
};

int noteFromName(const char* p, int length) {
    static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    int note = kSemitone[p[0] - 'a'];
    int at = 1;
    if (at < length && p[at] == '#') {
        ++note;
        ++at;
    }
    const int octave = p[at] - '0';
    return 12 * (octave + 1) + note;
}

}  // namespace

const Chord& chord(ChordName name) { return kChords[name]; }

int bassNote(int midi) {
    while (midi < kLowestBass) midi += 12;
    while (midi >= kLowestBass + 12) midi -= 12;
    return midi;
}

BarTune parseTune(const char* text) {
    BarTune bar{};
    bar.fill(kHold);
    int row = 0;
    const char* p = text;
    while (*p != '\0' && row < 16) {
        while (*p == ' ') ++p;
        const char* start = p;
        while (*p != ' ' && *p != '\0') ++p;
        const int length = static_cast<int>(p - start);
        if (length == 0) break;
        if (*start == '.')
            bar[static_cast<size_t>(row)] = kRelease;
        else if (*start == '~')
            bar[static_cast<size_t>(row)] = kGlide + noteFromName(start + 1, length - 1);
        else if (*start != '-')
            bar[static_cast<size_t>(row)] = noteFromName(start, length);
        ++row;
    }
    return bar;
}

std::span<const char* const> tuneBars(int tune) { return kTunes[tune]; }

}  // namespace assetgen
