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
    bar.padVolume = 48;
    addSection(bars, 4, kVerse, bar);
    bar.arp = Arp::Eighths;
    bar.arpShape = ArpShape::Up;
    bar.arpVolume = 24;
    addSection(bars, 4, kVerse, bar);
    bar.drums = Drums::IntroHats;
    bar.arpShape = ArpShape::UpDown;
    bar.arpVolume = 31;
    addSection(bars, 4, kVerse, bar);
    bar.drums = Drums::IntroPulse;
    bar.bass = Bass::Whole;
    bar.bassVolume = 43;
    bar.arpShape = ArpShape::Broken;
    bar.arpVolume = 34;
    bar.leadVolume = 28;
    addSection(bars, 4, kVerse, bar, {5, 5});
    // The hook, first heard here over a soft half-time kick.
    bar.drums = Drums::IntroKick;
    bar.arp = Arp::Sixteenths;
    bar.arpShape = ArpShape::UpDown;
    bar.arpVolume = 26;
    bar.leadVolume = 38;
    addSection(bars, 4, kVerse, bar, {0, 0});
    bars.back().snareFill = true;  // a soft run into the build
}

void addBuild(std::vector<BarPlan>& bars) {
    BarPlan bar;
    bar.padVolume = 48;
    bar.drums = Drums::BuildSoft;
    bar.bass = Bass::Gallop;
    bar.bassVolume = 46;
    bar.arp = Arp::Sixteenths;
    bar.arpShape = ArpShape::Pedal;
    bar.arpVolume = 34;
    bar.leadVolume = 32;
    addSection(bars, 4, kVerse, bar, {6, 6});
    bar.drums = Drums::BuildSnare;
    bar.bass = Bass::Offbeat;
    bar.bassVolume = 53;
    bar.arpVolume = 38;
    addSection(bars, 4, kVerse, bar, {6, 6});
    bar.bass = Bass::Gallop;
    bar.riser = true;
    bar.drums = Drums::RollEighths;
    addSection(bars, 1, {kF, kF, kF, kF}, bar);
    bar.drums = Drums::RollSixteenths;
    addSection(bars, 1, {kG, kG, kG, kG}, bar);
}

BarPlan fullBand(Bass bass, ArpShape shape, int transpose) {
    BarPlan bar;
    bar.transpose = transpose;
    bar.padVolume = 58;
    bar.drums = Drums::Full;
    bar.bass = bass;
    bar.bassVolume = 62;
    bar.arp = Arp::Sixteenths;
    bar.arpShape = shape;
    bar.arpVolume = 31;
    bar.leadVolume = 62;
    bar.crash = true;
    return bar;
}

// Pad, a slow arpeggio, soft hats and the tune with its echo: no kick, no bass.
void addBreak(std::vector<BarPlan>& bars) {
    BarPlan quiet;
    quiet.drums = Drums::Break;
    quiet.padVolume = 42;
    quiet.arp = Arp::Eighths;
    quiet.arpShape = ArpShape::Down;
    quiet.arpVolume = 31;
    quiet.leadVolume = 40;
    addSection(bars, 4, kVerse, quiet, {0, 0});
}

// Four bars that grow louder, bar by bar, into the second drop: F G, then
// the same a whole tone up (G A), which leads into B minor.
void addRebuild(std::vector<BarPlan>& bars) {
    static const Drums kDrums[4] = {Drums::BuildSoft, Drums::BuildSnare, Drums::RollEighths,
                                    Drums::RollSixteenths};
    for (int i = 0; i < 4; ++i) {
        BarPlan bar = fullBand(Bass::Gallop, ArpShape::Pedal, i < 2 ? 0 : kSecondKey);
        bar.chord = i % 2 == 0 ? kF : kG;
        bar.crash = false;
        bar.drums = kDrums[i];
        bar.drumVolume = 40 + 8 * i;
        bar.padVolume = 45 + 2 * i;
        bar.bassVolume = 41 + 5 * i;
        bar.arpVolume = 29 + 2 * i;
        bar.riser = i == 3;
        bars.push_back(bar);
    }
}

// The same band with the arpeggio in eighths, or without it.
BarPlan withArp(BarPlan bar, Arp arp) {
    bar.arp = arp;
    if (arp == Arp::None) bar.padVolume += 4;
    return bar;
}

// The first chorus drops the arpeggio: pad, driving bass and the tune carry
// it. The second drop's verse walks in eighths, its chorus runs in sixteenths.
void addMainPart(std::vector<BarPlan>& bars) {
    addSection(bars, 8, kVerse, fullBand(Bass::Offbeat, ArpShape::UpDown, 0), {0, 1});
    addSection(bars, 8, kChorus, withArp(fullBand(Bass::Driving, ArpShape::Broken, 0), Arp::None), {2, 3});
    addBreak(bars);
    addRebuild(bars);
    addSection(bars, 8, kVerse, withArp(fullBand(Bass::Offbeat, ArpShape::Down, kSecondKey), Arp::Eighths),
               {4, 1});
    addSection(bars, 8, kChorus, fullBand(Bass::Driving, ArpShape::Pedal, kSecondKey), {3, 2});
    addSection(bars, 5, kVerse, withArp(fullBand(Bass::Offbeat, ArpShape::UpDown, kSecondKey), Arp::None),
               {0, 1});
}

void addOutro(std::vector<BarPlan>& bars) {
    BarPlan bar;
    bar.transpose = kSecondKey;
    bar.padVolume = 50;
    bar.drums = Drums::OutroKick;
    bar.bass = Bass::Offbeat;
    bar.bassVolume = 48;
    bar.arp = Arp::Sixteenths;
    bar.arpShape = ArpShape::Broken;
    bar.arpVolume = 34;
    addSection(bars, 4, kVerse, bar);
    bar.drums = Drums::OutroHats;
    bar.bass = Bass::Whole;
    bar.bassVolume = 41;
    bar.arp = Arp::Eighths;
    bar.arpShape = ArpShape::Up;
    bar.arpVolume = 29;
    addSection(bars, 4, kVerse, bar);
    bar.drums = Drums::None;
    bar.bass = Bass::None;
    bar.arpVolume = 22;
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
