// The pitched accompaniment: bass, arpeggio, pad, and the riser and crash.
#include <array>

#include "bar_cells.h"

namespace assetgen {

namespace {

// Panning (0 left .. 255 right) of the pad's three voices and of the
// arpeggio's two sides.
constexpr std::array<uint8_t, 3> kPadPanning = {0x38, 0x80, 0xc8};
constexpr std::array<uint8_t, 2> kArpPanning = {0x50, 0xb0};
// Tone portamento speed of the pad at a chord change: about a semitone a
// tick, so the voices slide into the new chord within a few ticks.
constexpr uint8_t kPadGlide = 0x18;

int bassRoot(const BarPlan& bar) { return bassNote(chord(bar.chord).bassRoot + bar.transpose); }

// The last note of the bar: a step into the next bar's root (a semitone
// below when the line rises, a whole tone above when it falls, the root
// itself when it falls by a step only), or the fifth when the chord stays.
int passingNote(const BarPlan& bar, BarContext context) {
    const int root = bassRoot(bar);
    if (context.next == nullptr || context.next->bass == Bass::None) return root + 7;
    const int target = bassRoot(*context.next);
    if (target == root) return root + 7;
    if (target > root) return target - 1;
    return root - target <= 2 ? root : target + 2;
}

void writeWholeBass(BarWriter& w, const BarPlan& bar, BarContext context) {
    const int root = bassRoot(bar), v = bar.bassVolume;
    w.note(0, kChBass, root, kInsBass, v);
    w.note(8, kChBass, root + 7, kInsBass, v - 4);
    w.note(12, kChBass, root + 12, kInsBass, v - 8);
    w.note(14, kChBass, passingNote(bar, context), kInsBass, v - 8);
}

// Two sixteenths after each offbeat, the kicks' rows keyed off: root and
// octave, the third beat on the fifth, the very last passing into the next bar.
void writeGallopBass(BarWriter& w, const BarPlan& bar, BarContext context) {
    static const int kLow[4] = {0, 0, 7, 0};
    const int root = bassRoot(bar), v = bar.bassVolume;
    for (int beat = 0; beat < 4; ++beat) {
        w.keyOff(4 * beat, kChBass);
        w.note(4 * beat + 2, kChBass, root + kLow[beat], kInsBass, v);
        const int second = beat == 3 ? passingNote(bar, context) : root + 12;
        w.note(4 * beat + 3, kChBass, second, kInsBass, v - 6);
    }
}

// Between the kicks: root, root, fifth, octave, and a pick-up into the next bar.
void writeOffbeatBass(BarWriter& w, const BarPlan& bar, BarContext context) {
    static const int kFigure[4] = {0, 0, 7, 12};
    const int root = bassRoot(bar);
    w.keyOff(0, kChBass);
    for (int beat = 0; beat < 4; ++beat) {
        const int row = 4 * beat + 2;
        w.note(row, kChBass, root + kFigure[beat], kInsBass, bar.bassVolume);
        if (beat < 3) w.keyOff(row + 2, kChBass);
    }
    w.note(15, kChBass, passingNote(bar, context), kInsBass, bar.bassVolume - 10);
}

// Three sixteenths after every kick: root, root, octave; the third beat on
// the fifth; the very last one passing into the next bar.
void writeDrivingBass(BarWriter& w, const BarPlan& bar, BarContext context) {
    const int root = bassRoot(bar), v = bar.bassVolume;
    for (int beat = 0; beat < 4; ++beat) {
        const int base = beat == 2 ? root + 7 : root;
        w.keyOff(4 * beat, kChBass);
        w.note(4 * beat + 1, kChBass, base, kInsBass, v);
        w.note(4 * beat + 2, kChBass, base, kInsBass, v - 8);
        w.note(4 * beat + 3, kChBass, beat == 3 ? passingNote(bar, context) : root + 12, kInsBass, v - 8);
    }
}

}  // namespace

void writeBass(BarWriter& w, const BarPlan& bar, BarContext context) {
    switch (bar.bass) {
        case Bass::None:
            if (context.previous != nullptr && context.previous->bass != Bass::None) w.keyOff(0, kChBass);
            break;
        case Bass::Whole: writeWholeBass(w, bar, context); break;
        case Bass::Gallop: writeGallopBass(w, bar, context); break;
        case Bass::Offbeat: writeOffbeatBass(w, bar, context); break;
        case Bass::Driving: writeDrivingBass(w, bar, context); break;
    }
}

void writeArp(BarWriter& w, const BarPlan& bar) {
    static const std::array<int, 8> kShapes[] = {
        /* Up     */ {0, 1, 2, 3, 0, 1, 2, 3},
        /* UpDown */ {0, 1, 2, 3, 2, 1, 0, 1},
        /* Down   */ {3, 2, 1, 0, 3, 2, 1, 0},
        /* Broken */ {0, 2, 1, 3, 0, 2, 1, 3},
        /* Pedal  */ {0, 3, 1, 3, 2, 3, 1, 3},
    };
    if (bar.arp == Arp::None) return;
    const std::array<int, 8>& shape = kShapes[static_cast<size_t>(bar.arpShape)];
    const int step = bar.arp == Arp::Eighths ? 2 : 1;
    const Chord& c = chord(bar.chord);
    for (int row = 0, i = 0; row < kRowsPerBar; row += step, ++i) {
        const int tone = c.arpeggio[static_cast<size_t>(shape[static_cast<size_t>(i % 8)])] + bar.transpose;
        w.note(row, kChArp, tone, kInsPluck, row % 4 == 0 ? bar.arpVolume + 6 : bar.arpVolume);
        w.effect(row, kChArp, kFxSetPanning, kArpPanning[static_cast<size_t>(i % 2)]);
    }
}

// The pad starts once and then only glides from chord to chord.
void writePad(BarWriter& w, const BarPlan& bar, BarContext context) {
    const BarPlan* previous = context.previous;
    for (size_t voice = 0; voice < 3; ++voice) {
        const Channel ch = static_cast<Channel>(kChPad + static_cast<int>(voice));
        const int tone = chord(bar.chord).pad[voice] + bar.transpose;
        if (previous == nullptr) {
            w.note(0, ch, tone, kInsPad, bar.padVolume);
            w.effect(0, ch, kFxSetPanning, kPadPanning[voice]);
            continue;
        }
        if (tone != chord(previous->chord).pad[voice] + previous->transpose) w.glide(0, ch, tone, kPadGlide);
        if (previous->padVolume != bar.padVolume) w.volume(0, ch, bar.padVolume);
    }
}

// A pad tone that slides up over the bar and swells: tension before a drop.
void writeRiser(BarWriter& w, const BarPlan& bar, BarContext context) {
    const bool continues = context.previous != nullptr && context.previous->riser;
    if (!continues) w.note(0, kChFx, chord(bar.chord).pad[0] + bar.transpose, kInsPad, 16);
    for (int row = continues ? 0 : 1; row < kRowsPerBar; ++row) {
        w.volume(row, kChFx, (continues ? 40 : 16) + row * 2);
        w.effect(row, kChFx, kFxPortamentoUp, 0x01);  // 5/16 semitone a row
    }
}

void writeFx(BarWriter& w, const BarPlan& bar, BarContext context) {
    if (bar.crash) w.drum(0, kChCrash, kInsCrash, 48);
    if (bar.riser)
        writeRiser(w, bar, context);
    else if (context.previous != nullptr && context.previous->riser)
        w.keyOff(0, kChFx);
}

}  // namespace assetgen
