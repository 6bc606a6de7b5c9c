// What the generator writes into the module, read back from its patterns
// and samples: the pad starts once and then glides (no restart at a chord
// change), its detuned voices stay within 10 cents, the bass stays at 55 Hz
// or above and plays more than roots, the arpeggio changes its figure, and
// the second drop brings new harmony.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "arrangement.h"
#include "bar_writer.h"
#include "instruments.h"
#include "song.h"
#include "tone_designs.h"

namespace {

using assetgen::XmCell;
using assetgen::XmModule;

constexpr int kSecondDropBar = 54;  // 108 s
constexpr int kFirstDropBar = 30;   // 60 s

const XmModule& song() {
    static const XmModule module = assetgen::makeSong();
    return module;
}

int midiOf(const XmCell& cell) { return cell.note + 11; }
bool isNote(const XmCell& cell) { return cell.note >= 1 && cell.note <= 96; }

// Calls `visit(bar, row, cell)` for every cell of a channel, in playing order.
template <typename Visit>
void eachCell(int channel, Visit visit) {
    for (size_t bar = 0; bar < song().orders.size(); ++bar) {
        const assetgen::XmPattern& p = song().patterns[song().orders[bar]];
        for (int row = 0; row < p.rows; ++row) visit(static_cast<int>(bar), row, p.at(row, channel));
    }
}

TEST(SoundtrackScore, PadStartsOnceThenGlidesFromChordToChord) {
    for (int ch = assetgen::kChPad; ch <= assetgen::kChPad3; ++ch) {
        int starts = 0, glides = 0;
        eachCell(ch, [&](int bar, int row, const XmCell& c) {
            EXPECT_NE(c.note, assetgen::kXmKeyOff) << "bar " << bar << " row " << row;
            if (!isNote(c)) return;
            if (c.instrument != 0) {
                ++starts;
                EXPECT_EQ(bar, 0) << "the pad restarts in bar " << bar;
            } else {
                ++glides;
                EXPECT_EQ(c.effect, 0x3) << "bar " << bar << ": a new pitch without tone portamento";
            }
        });
        EXPECT_EQ(starts, 1) << "channel " << ch;
        EXPECT_GT(glides, 40) << "channel " << ch;
    }
}

// The pad's loop holds whole cycles only, so a DFT over the loop finds each
// voice at an integer bin: around the fundamental (the loop's cycle count)
// every bin that carries energy lies within 10 cents of it, and there is
// more than one. (The cutoff's swing through the loop adds sidebands one
// bin away, well under 5 % of the strongest.)
TEST(SoundtrackScore, PadVoicesAreDetunedByTenCentsAtMost) {
    const std::vector<assetgen::XmInstrument> instruments = assetgen::makeInstruments();
    const assetgen::XmSample& pad = instruments[assetgen::kInsPad - 1].samples[0];
    const assetgen::ToneSample tone = assetgen::renderTone(assetgen::padDesign(), 60, 65);
    ASSERT_EQ(pad.loopLength, static_cast<uint32_t>(tone.loopLength));
    const int n = tone.loopLength / tone.cycleFrames;
    const double length = pad.loopLength;
    std::vector<double> magnitude(static_cast<size_t>(2 * n), 0.0);
    for (int bin = n / 2; bin < 3 * n / 2; ++bin) {
        double re = 0.0, im = 0.0;
        for (uint32_t i = 0; i < pad.loopLength; ++i) {
            const double angle = 2.0 * std::numbers::pi * bin * static_cast<double>(i) / length;
            re += pad.frames[pad.loopStart + i] * std::cos(angle);
            im += pad.frames[pad.loopStart + i] * std::sin(angle);
        }
        magnitude[static_cast<size_t>(bin)] = std::hypot(re, im);
    }
    const double strongest = *std::max_element(magnitude.begin(), magnitude.end());
    int voices = 0;
    for (int bin = n / 2; bin < 3 * n / 2; ++bin) {
        if (magnitude[static_cast<size_t>(bin)] < 0.05 * strongest) continue;
        ++voices;
        EXPECT_LE(std::fabs(1200.0 * std::log2(double(bin) / n)), 10.0) << "a voice at bin " << bin;
    }
    EXPECT_GE(voices, 3);
}

TEST(SoundtrackScore, BassStaysAt55HzOrAboveAndPlaysMoreThanRoots) {
    std::vector<std::set<int>> pitchClasses(song().orders.size());
    eachCell(assetgen::kChBass, [&](int bar, int row, const XmCell& c) {
        if (!isNote(c)) return;
        const double hz = 440.0 * std::exp2((midiOf(c) - 69) / 12.0);
        EXPECT_GE(hz, 55.0 - 1e-9) << "bar " << bar << " row " << row;
        pitchClasses[static_cast<size_t>(bar)].insert(midiOf(c) % 12);
    });
    for (size_t bar = 0; bar < pitchClasses.size(); ++bar) {
        if (!pitchClasses[bar].empty()) {
            EXPECT_GE(pitchClasses[bar].size(), 2u) << "bar " << bar;
        }
    }
}

// A bar's figure: the rank of each arpeggio note among the bar's notes.
TEST(SoundtrackScore, ArpeggioChangesItsFigureFromSectionToSection) {
    std::vector<std::vector<int>> notes(song().orders.size());
    eachCell(assetgen::kChArp, [&](int bar, int, const XmCell& c) {
        if (isNote(c)) notes[static_cast<size_t>(bar)].push_back(midiOf(c));
    });
    std::set<std::vector<int>> figures;
    for (const std::vector<int>& bar : notes) {
        std::vector<int> sorted = bar;
        std::sort(sorted.begin(), sorted.end());
        std::vector<int> figure;
        for (int note : bar)
            figure.push_back(int(std::lower_bound(sorted.begin(), sorted.end(), note) - sorted.begin()));
        if (!figure.empty()) figures.insert(figure);
    }
    EXPECT_GE(figures.size(), 5u);
}

TEST(SoundtrackScore, SecondDropBringsPitchesTheFirstDropNeverPlays) {
    std::set<int> first, second;
    for (int ch = assetgen::kChPad; ch <= assetgen::kChPad3; ++ch) {
        eachCell(ch, [&](int bar, int, const XmCell& c) {
            if (!isNote(c)) return;
            if (bar >= kFirstDropBar && bar < kSecondDropBar - 4) first.insert(midiOf(c) % 12);
            if (bar >= kSecondDropBar && bar < kSecondDropBar + 16) second.insert(midiOf(c) % 12);
        });
    }
    std::vector<int> added;
    std::set_difference(second.begin(), second.end(), first.begin(), first.end(), std::back_inserter(added));
    EXPECT_GE(added.size(), 2u);
}

}  // namespace

namespace {

// At every beat the kick plays under a moving bass line (the intro's whole
// notes aside), the bass is keyed off (and its envelope falls silent within
// 4 ticks of a key off): the kick gets the low end to itself.
TEST(SoundtrackScore, BassMakesRoomForEveryKickOnTheBeat) {
    const std::vector<assetgen::BarPlan> bars = assetgen::arrangeSong();
    int kicks = 0;
    for (size_t bar = 0; bar < bars.size(); ++bar) {
        if (bars[bar].bass == assetgen::Bass::None || bars[bar].bass == assetgen::Bass::Whole) continue;
        const assetgen::XmPattern& p = song().patterns[song().orders[bar]];
        for (int row = 0; row < p.rows; row += 4) {
            if (!isNote(p.at(row, assetgen::kChKick))) continue;
            ++kicks;
            EXPECT_EQ(p.at(row, assetgen::kChBass).note, assetgen::kXmKeyOff)
                << "bar " << bar << " row " << row;
        }
    }
    EXPECT_GT(kicks, 150);
    const assetgen::XmEnvelope& envelope = song().instruments[assetgen::kInsBass - 1].volumeEnvelope;
    ASSERT_GE(envelope.sustainPoint, 0);
    const auto sustain = envelope.points[static_cast<size_t>(envelope.sustainPoint)];
    EXPECT_EQ(envelope.points.back().value, 0);
    EXPECT_LE(envelope.points.back().tick - sustain.tick, 4);
}

}  // namespace
