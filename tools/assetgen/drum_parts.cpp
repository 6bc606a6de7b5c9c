// The drum kit's parts: kick, snare and hats, at the bar's drum volume.
#include "bar_cells.h"

namespace assetgen {

namespace {

class DrumWriter {
public:
    DrumWriter(BarWriter& writer, int drumVolume) : w(writer), scale(drumVolume) {}
    void hit(int row, Channel ch, Instrument ins, int volume) { w.drum(row, ch, ins, volume * scale / 64); }

private:
    BarWriter& w;
    int scale;
};

void writeHats(DrumWriter& d, int closedLoud, int closedSoft, int open) {
    for (int row = 0; row < kRowsPerBar; ++row) {
        if (open > 0 && row % 4 == 2)
            d.hit(row, kChHat, kInsOpenHat, open);
        else if (row % 4 == 0)
            d.hit(row, kChHat, kInsClosedHat, closedLoud);
        else if (closedSoft > 0)
            d.hit(row, kChHat, kInsClosedHat, closedSoft);
    }
}

void writeEighthHats(DrumWriter& d, int volume) {
    for (int row = 0; row < kRowsPerBar; row += 2)
        d.hit(row, kChHat, kInsClosedHat, row % 4 == 0 ? volume + 4 : volume);
}

void writeKicks(DrumWriter& d, int volume) {
    for (int row = 0; row < kRowsPerBar; row += 4) d.hit(row, kChKick, kInsKick, volume);
}

void writeBackbeat(DrumWriter& d, int volume) {
    d.hit(4, kChSnare, kInsSnare, volume);
    d.hit(12, kChSnare, kInsSnare, volume);
}

void writeFullDrums(DrumWriter& d, const BarPlan& bar) {
    writeKicks(d, 64);
    if (bar.fill) d.hit(14, kChKick, kInsKick, 44);
    writeBackbeat(d, 64);
    if (bar.snareFill) {
        for (int row = 13; row < kRowsPerBar; ++row) d.hit(row, kChSnare, kInsSnare, 36 + 6 * (row - 13));
    }
    writeHats(d, 50, 32, 42);
}

}  // namespace

void writeDrums(BarWriter& w, const BarPlan& bar) {
    DrumWriter d(w, bar.drumVolume);
    switch (bar.drums) {
        case Drums::None: break;
        case Drums::IntroHats: writeEighthHats(d, 14); break;
        case Drums::IntroPulse:
            d.hit(0, kChKick, kInsKick, 26);
            writeEighthHats(d, 14);
            break;
        case Drums::IntroKick:
            d.hit(0, kChKick, kInsKick, 34);
            d.hit(8, kChKick, kInsKick, 30);
            writeEighthHats(d, 16);
            if (bar.snareFill) {
                for (int row = 12; row < kRowsPerBar; ++row)
                    d.hit(row, kChSnare, kInsSnare, 18 + 6 * (row - 12));
            }
            break;
        case Drums::BuildSoft:
            writeKicks(d, 44);
            writeEighthHats(d, 18);
            break;
        case Drums::BuildSnare:
            writeKicks(d, 52);
            writeBackbeat(d, 36);
            writeHats(d, 26, 16, 20);
            break;
        case Drums::RollEighths:
            writeKicks(d, 56);
            for (int row = 0; row < kRowsPerBar; row += 2) d.hit(row, kChSnare, kInsSnare, 20 + 2 * row);
            writeEighthHats(d, 20);
            break;
        case Drums::RollSixteenths:
            for (int row = 0; row < kRowsPerBar; ++row) d.hit(row, kChSnare, kInsSnare, 28 + (row * 12) / 5);
            break;
        case Drums::Full: writeFullDrums(d, bar); break;
        case Drums::Break: writeEighthHats(d, 16); break;
        case Drums::OutroKick:
            writeKicks(d, 52);
            writeHats(d, 28, 18, 24);
            break;
        case Drums::OutroHats: writeEighthHats(d, 14); break;
    }
}

}  // namespace assetgen
