#include "bar_writer.h"

#include "instruments.h"

namespace assetgen {

namespace {

uint8_t xmNote(int midi) { return static_cast<uint8_t>(midi - 11); }  // middle C (60) is C-4 (49)
uint8_t xmVolume(int v) { return static_cast<uint8_t>(0x10 + (v < 0 ? 0 : (v > 64 ? 64 : v))); }

class BarWriter {
public:
    explicit BarWriter(XmPattern& p) : pattern(p) {}
    void note(int row, Channel ch, int midi, Instrument ins, int volume) {
        XmCell& c = pattern.at(row, ch);
        c.note = xmNote(midi);
        c.instrument = ins;
        c.volume = xmVolume(volume);
    }
    void drum(int row, Channel ch, Instrument ins, int volume) { note(row, ch, kDrumNote, ins, volume); }
    void keyOff(int row, Channel ch) { pattern.at(row, ch).note = kXmKeyOff; }
    void volume(int row, Channel ch, int v) { pattern.at(row, ch).volume = xmVolume(v); }
    void effect(int row, Channel ch, uint8_t fx, uint8_t param) {
        pattern.at(row, ch).effect = fx;
        pattern.at(row, ch).param = param;
    }

private:
    XmPattern& pattern;
};

void writeHats(BarWriter& w, int closedLoud, int closedSoft, int open) {
    for (int row = 0; row < kRowsPerBar; ++row) {
        if (open > 0 && row % 4 == 2)
            w.drum(row, kChHat, kInsOpenHat, open);
        else if (row % 4 == 0)
            w.drum(row, kChHat, kInsClosedHat, closedLoud);
        else if (closedSoft > 0)
            w.drum(row, kChHat, kInsClosedHat, closedSoft);
    }
}

void writeEighthHats(BarWriter& w, int volume) {
    for (int row = 0; row < kRowsPerBar; row += 2)
        w.drum(row, kChHat, kInsClosedHat, row % 4 == 0 ? volume + 4 : volume);
}

void writeKicks(BarWriter& w, int volume) {
    for (int row = 0; row < kRowsPerBar; row += 4) w.drum(row, kChKick, kInsKick, volume);
}

void writeBackbeat(BarWriter& w, int volume) {
    w.drum(4, kChSnare, kInsSnare, volume);
    w.drum(12, kChSnare, kInsSnare, volume);
}

void writeFullDrums(BarWriter& w, const BarPlan& bar) {
    writeKicks(w, 64);
    if (bar.fill) w.drum(14, kChKick, kInsKick, 44);
    writeBackbeat(w, 56);
    if (bar.snareFill) {
        for (int row = 13; row < kRowsPerBar; ++row) w.drum(row, kChSnare, kInsSnare, 36 + 6 * (row - 13));
    }
    writeHats(w, 34, 22, 30);
}

void writeDrums(BarWriter& w, const BarPlan& bar) {
    switch (bar.drums) {
        case Drums::None: break;
        case Drums::IntroHats: writeEighthHats(w, 14); break;
        case Drums::BuildSoft:
            writeKicks(w, 44);
            writeEighthHats(w, 18);
            break;
        case Drums::BuildSnare:
            writeKicks(w, 52);
            writeBackbeat(w, 36);
            writeHats(w, 26, 16, 20);
            break;
        case Drums::RollEighths:
            writeKicks(w, 56);
            for (int row = 0; row < kRowsPerBar; row += 2) w.drum(row, kChSnare, kInsSnare, 20 + 2 * row);
            writeEighthHats(w, 20);
            break;
        case Drums::RollSixteenths:
            for (int row = 0; row < kRowsPerBar; ++row) w.drum(row, kChSnare, kInsSnare, 28 + (row * 12) / 5);
            break;
        case Drums::Full: writeFullDrums(w, bar); break;
        case Drums::Break: writeEighthHats(w, 16); break;
        case Drums::OutroKick:
            writeKicks(w, 52);
            writeHats(w, 28, 18, 24);
            break;
        case Drums::OutroHats: writeEighthHats(w, 14); break;
    }
}

void writeBass(BarWriter& w, const BarPlan& bar, BarContext context) {
    const int root = chord(bar.chord).bassRoot;
    const int v = bar.bassVolume;
    switch (bar.bass) {
        case Bass::None:
            if (context.previous != nullptr && context.previous->bass != Bass::None) w.keyOff(0, kChBass);
            break;
        case Bass::Whole:
            w.note(0, kChBass, root, kInsBass, v);
            w.keyOff(14, kChBass);
            break;
        case Bass::Eighths:
            for (int row = 0; row < kRowsPerBar; row += 2)
                w.note(row, kChBass, row % 8 == 6 ? root + 12 : root, kInsBass, v);
            break;
        case Bass::Offbeat:
            w.keyOff(0, kChBass);
            for (int row = 2; row < kRowsPerBar; row += 4) {
                w.note(row, kChBass, row == 14 ? root + 12 : root, kInsBass, v);
                if (row + 2 < kRowsPerBar) w.keyOff(row + 2, kChBass);
            }
            break;
        case Bass::Driving:
            for (int row = 0; row < kRowsPerBar; ++row) {
                if (row % 4 == 0)
                    w.keyOff(row, kChBass);
                else
                    w.note(row, kChBass, row % 4 == 3 ? root + 12 : root, kInsBass, row % 4 == 1 ? v : v - 8);
            }
            break;
    }
}

void writeArp(BarWriter& w, const BarPlan& bar) {
    static const int kOrder[6] = {0, 1, 2, 3, 2, 1};
    if (bar.arp == Arp::None) return;
    const int step = bar.arp == Arp::Eighths ? 2 : 1;
    const Chord& c = chord(bar.chord);
    for (int row = 0, i = 0; row < kRowsPerBar; row += step, ++i) {
        const int tone = c.arpeggio[static_cast<size_t>(kOrder[i % 6])];
        w.note(row, kChArp, tone, kInsPluck, row % 4 == 0 ? bar.arpVolume + 6 : bar.arpVolume);
    }
}

void writePad(BarWriter& w, const BarPlan& bar, BarContext context) {
    const Chord& c = chord(bar.chord);
    const bool sameChord = context.previous != nullptr && context.previous->chord == bar.chord;
    for (int voice = 0; voice < 3; ++voice) {
        const Channel ch = static_cast<Channel>(kChPad + voice);
        if (!sameChord)
            w.note(0, ch, c.pad[static_cast<size_t>(voice)], kInsPad, bar.padVolume);
        else if (context.previous->padVolume != bar.padVolume)
            w.volume(0, ch, bar.padVolume);
    }
}

void writeLead(BarWriter& w, const BarPlan& bar, BarContext context) {
    if (bar.tune < 0) {
        if (context.previous != nullptr && context.previous->tune >= 0) w.keyOff(0, kChLead);
        return;
    }
    const BarTune tune = parseTune(tuneBars(bar.tune)[static_cast<size_t>(bar.tuneBar)]);
    for (int row = 0; row < kRowsPerBar; ++row) {
        const int event = tune[static_cast<size_t>(row)];
        if (event == kRelease)
            w.keyOff(row, kChLead);
        else if (event != kHold)
            w.note(row, kChLead, event, kInsLead, bar.leadVolume);
    }
}

// A pad tone that slides up over the bar and swells: tension before a drop.
void writeRiser(BarWriter& w, const BarPlan& bar, BarContext context) {
    const bool continues = context.previous != nullptr && context.previous->riser;
    if (!continues) w.note(0, kChFx, chord(bar.chord).pad[0], kInsPad, 16);
    for (int row = continues ? 0 : 1; row < kRowsPerBar; ++row) {
        w.volume(row, kChFx, (continues ? 40 : 16) + row * 2);
        w.effect(row, kChFx, 0x1, 0x01);  // portamento up, 5/16 semitone a row
    }
}

void writeFx(BarWriter& w, const BarPlan& bar, BarContext context) {
    if (bar.crash)
        w.drum(0, kChFx, kInsCrash, 48);
    else if (bar.riser)
        writeRiser(w, bar, context);
    else if (context.previous != nullptr && context.previous->riser)
        w.keyOff(0, kChFx);
}

}  // namespace

XmPattern composeBar(const BarPlan& bar, BarContext context) {
    XmPattern pattern(kRowsPerBar, kChannelCount);
    BarWriter w(pattern);
    writeDrums(w, bar);
    writeBass(w, bar, context);
    writeArp(w, bar);
    writePad(w, bar, context);
    writeLead(w, bar, context);
    writeFx(w, bar, context);
    return pattern;
}

}  // namespace assetgen
