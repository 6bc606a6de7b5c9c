#include "arrangement.h"

#include <array>

namespace assetgen {

namespace {

constexpr std::array<ChordName, 4> kVerse = {kAm, kF, kC, kG};
constexpr std::array<ChordName, 4> kChorus = {kDm, kAm, kF, kE};

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
    bar.padVolume = 40;
    addSection(bars, 4, kVerse, bar);
    bar.arp = Arp::Eighths;
    bar.arpVolume = 20;
    addSection(bars, 4, kVerse, bar);
    bar.drums = Drums::IntroHats;
    bar.arpVolume = 26;
    addSection(bars, 4, kVerse, bar);
    bar.bass = Bass::Whole;
    bar.bassVolume = 40;
    bar.arpVolume = 30;
    addSection(bars, 4, kVerse, bar);
    bar.arp = Arp::Sixteenths;
    bar.arpVolume = 26;
    addSection(bars, 4, kVerse, bar);
}

void addBuild(std::vector<BarPlan>& bars) {
    BarPlan bar;
    bar.padVolume = 42;
    bar.drums = Drums::BuildSoft;
    bar.bass = Bass::Eighths;
    bar.bassVolume = 40;
    bar.arp = Arp::Sixteenths;
    bar.arpVolume = 30;
    addSection(bars, 4, kVerse, bar);
    bar.drums = Drums::BuildSnare;
    bar.bass = Bass::Offbeat;
    bar.bassVolume = 44;
    bar.arpVolume = 34;
    addSection(bars, 4, kVerse, bar);
    bar.bass = Bass::Eighths;
    bar.riser = true;
    bar.drums = Drums::RollEighths;
    addSection(bars, 1, {kF, kF, kF, kF}, bar);
    bar.drums = Drums::RollSixteenths;
    addSection(bars, 1, {kG, kG, kG, kG}, bar);
}

BarPlan fullBand(Bass bass) {
    BarPlan bar;
    bar.padVolume = 44;
    bar.drums = Drums::Full;
    bar.bass = bass;
    bar.bassVolume = 50;
    bar.arp = Arp::Sixteenths;
    bar.arpVolume = 26;
    bar.leadVolume = 46;
    bar.crash = true;
    return bar;
}

void addMainPart(std::vector<BarPlan>& bars) {
    addSection(bars, 8, kVerse, fullBand(Bass::Offbeat), {0, 1});
    addSection(bars, 8, kChorus, fullBand(Bass::Driving), {2, 3});
    BarPlan quiet = fullBand(Bass::Whole);
    quiet.drums = Drums::Break;
    quiet.crash = false;
    quiet.leadVolume = 34;
    quiet.arpVolume = 32;
    addSection(bars, 4, kVerse, quiet, {0, 0});
    BarPlan again = fullBand(Bass::Offbeat);
    again.drums = Drums::BuildSnare;
    again.crash = false;
    addSection(bars, 3, kVerse, again);
    again.drums = Drums::RollSixteenths;
    again.riser = true;
    addSection(bars, 1, {kG, kG, kG, kG}, again);
    addSection(bars, 8, kVerse, fullBand(Bass::Offbeat), {4, 1});
    addSection(bars, 8, kChorus, fullBand(Bass::Driving), {3, 2});
    addSection(bars, 5, kVerse, fullBand(Bass::Offbeat), {0, 1});
}

void addOutro(std::vector<BarPlan>& bars) {
    BarPlan bar;
    bar.padVolume = 40;
    bar.drums = Drums::OutroKick;
    bar.bass = Bass::Offbeat;
    bar.bassVolume = 40;
    bar.arp = Arp::Sixteenths;
    bar.arpVolume = 28;
    addSection(bars, 4, kVerse, bar);
    bar.drums = Drums::OutroHats;
    bar.bass = Bass::Whole;
    bar.bassVolume = 34;
    bar.arp = Arp::Eighths;
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
