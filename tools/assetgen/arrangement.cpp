#include "arrangement.h"

#include <array>

namespace assetgen {

namespace {

constexpr std::array<ChordName, 4> kVerse = {kAm, kF, kC, kG};
constexpr std::array<ChordName, 4> kChorus = {kDm, kAm, kF, kE};
// A whole tone up: the second drop is in B minor.
constexpr int kSecondKey = 2;

// Appends `count` bars of `base`, walking through the four-chord progression
// and the two given four-bar tunes (or none).
void addSection(std::vector<BarPlan>& bars, int count, const std::array<ChordName, 4>& progression,
                BarPlan base, std::array<int, 2> tunes = {-1, -1}) {
    for (int i = 0; i < count; ++i) {
        BarPlan bar = base;
        bar.chord = progression[static_cast<size_t>(i % 4)];
        bar.tune = tunes[static_cast<size_t>((i / 4) % 2)];
        bar.tuneBar = i % 4;
        bar.crash = base.crash && i == 0;
        bar.fill = base.drums == Drums::Full && i % 4 == 3;
        bar.snareFill = base.drums == Drums::Full && i % 8 == 7;
        bars.push_back(bar);
    }
}

void addIntro(std::vector<BarPlan>& bars) {
    BarPlan bar;
    bar.padVolume = 38;
    addSection(bars, 4, kVerse, bar);
    bar.arp = Arp::Eighths;
    bar.arpShape = ArpShape::Up;
    bar.arpVolume = 20;
    addSection(bars, 4, kVerse, bar);
    bar.drums = Drums::IntroHats;
    bar.arpShape = ArpShape::UpDown;
    bar.arpVolume = 26;
    addSection(bars, 4, kVerse, bar);
    bar.bass = Bass::Whole;
    bar.bassVolume = 36;
    bar.arpShape = ArpShape::Broken;
    bar.arpVolume = 28;
    bar.leadVolume = 22;
    addSection(bars, 4, kVerse, bar, {5, 5});
    bar.arp = Arp::Sixteenths;
    bar.arpShape = ArpShape::UpDown;
    bar.arpVolume = 24;
    addSection(bars, 4, kVerse, bar, {5, 5});
}

void addBuild(std::vector<BarPlan>& bars) {
    BarPlan bar;
    bar.padVolume = 38;
    bar.drums = Drums::BuildSoft;
    bar.bass = Bass::Eighths;
    bar.bassVolume = 38;
    bar.arp = Arp::Sixteenths;
    bar.arpShape = ArpShape::Pedal;
    bar.arpVolume = 28;
    bar.leadVolume = 26;
    addSection(bars, 4, kVerse, bar, {6, 6});
    bar.drums = Drums::BuildSnare;
    bar.bass = Bass::Offbeat;
    bar.bassVolume = 44;
    bar.arpVolume = 32;
    addSection(bars, 4, kVerse, bar, {6, 6});
    bar.bass = Bass::Eighths;
    bar.riser = true;
    bar.drums = Drums::RollEighths;
    addSection(bars, 1, {kF, kF, kF, kF}, bar);
    bar.drums = Drums::RollSixteenths;
    addSection(bars, 1, {kG, kG, kG, kG}, bar);
}

BarPlan fullBand(Bass bass, ArpShape shape, int transpose) {
    BarPlan bar;
    bar.transpose = transpose;
    bar.padVolume = 46;
    bar.drums = Drums::Full;
    bar.bass = bass;
    bar.bassVolume = 52;
    bar.arp = Arp::Sixteenths;
    bar.arpShape = shape;
    bar.arpVolume = 26;
    bar.leadVolume = 50;
    bar.crash = true;
    return bar;
}

// Pad, a slow arpeggio, soft hats and the tune with its echo: no kick, no bass.
void addBreak(std::vector<BarPlan>& bars) {
    BarPlan quiet;
    quiet.drums = Drums::Break;
    quiet.padVolume = 34;
    quiet.arp = Arp::Eighths;
    quiet.arpShape = ArpShape::Down;
    quiet.arpVolume = 26;
    quiet.leadVolume = 32;
    addSection(bars, 4, kVerse, quiet, {0, 0});
}

// Four bars that grow louder, bar by bar, into the second drop: F G, then
// the same a whole tone up (G A), which leads into B minor.
void addRebuild(std::vector<BarPlan>& bars) {
    static const Drums kDrums[4] = {Drums::BuildSoft, Drums::BuildSnare, Drums::RollEighths,
                                    Drums::RollSixteenths};
    for (int i = 0; i < 4; ++i) {
        BarPlan bar = fullBand(Bass::Eighths, ArpShape::Pedal, i < 2 ? 0 : kSecondKey);
        bar.chord = i % 2 == 0 ? kF : kG;
        bar.crash = false;
        bar.drums = kDrums[i];
        bar.drumVolume = 40 + 8 * i;
        bar.padVolume = 36 + 2 * i;
        bar.bassVolume = 34 + 4 * i;
        bar.arpVolume = 24 + 2 * i;
        bar.riser = i == 3;
        bars.push_back(bar);
    }
}

void addMainPart(std::vector<BarPlan>& bars) {
    addSection(bars, 8, kVerse, fullBand(Bass::Offbeat, ArpShape::UpDown, 0), {0, 1});
    addSection(bars, 8, kChorus, fullBand(Bass::Driving, ArpShape::Broken, 0), {2, 3});
    addBreak(bars);
    addRebuild(bars);
    addSection(bars, 8, kVerse, fullBand(Bass::Offbeat, ArpShape::Down, kSecondKey), {4, 1});
    addSection(bars, 8, kChorus, fullBand(Bass::Driving, ArpShape::Pedal, kSecondKey), {3, 2});
    addSection(bars, 5, kVerse, fullBand(Bass::Offbeat, ArpShape::UpDown, kSecondKey), {0, 1});
}

void addOutro(std::vector<BarPlan>& bars) {
    BarPlan bar;
    bar.transpose = kSecondKey;
    bar.padVolume = 40;
    bar.drums = Drums::OutroKick;
    bar.bass = Bass::Offbeat;
    bar.bassVolume = 40;
    bar.arp = Arp::Sixteenths;
    bar.arpShape = ArpShape::Broken;
    bar.arpVolume = 28;
    addSection(bars, 4, kVerse, bar);
    bar.drums = Drums::OutroHats;
    bar.bass = Bass::Whole;
    bar.bassVolume = 34;
    bar.arp = Arp::Eighths;
    bar.arpShape = ArpShape::Up;
    bar.arpVolume = 24;
    addSection(bars, 4, kVerse, bar);
    bar.drums = Drums::None;
    bar.bass = Bass::None;
    bar.arpVolume = 18;
    addSection(bars, 1, kVerse, bar);
}

}  // namespace

std::vector<BarPlan> arrangeSong() {
    std::vector<BarPlan> bars;
    addIntro(bars);
    addBuild(bars);
    addMainPart(bars);
    addOutro(bars);
    return bars;
}

}  // namespace assetgen
