#pragma once
// The soundtrack's form, bar by bar: one bar is 16 rows, 2 seconds at
// speed 6 and 120 BPM, so bar n starts at 2n seconds.
#include <vector>

#include "score.h"

namespace assetgen {

inline constexpr int kRowsPerBar = 16;
inline constexpr int kSongSpeed = 6;
inline constexpr int kSongBpm = 120;

enum class Drums {
    None,
    IntroHats,
    IntroPulse,
    IntroKick,
    BuildSoft,
    BuildSnare,
    RollEighths,
    RollSixteenths,
    Full,
    Break,
    OutroKick,
    OutroHats
};
enum class Bass { None, Whole, Gallop, Offbeat, Driving };
enum class Arp { None, Eighths, Sixteenths };
// The order in which the arpeggio walks its four chord tones.
enum class ArpShape { Up, UpDown, Down, Broken, Pedal };

struct BarPlan {
    ChordName chord = kAm;
    int transpose = 0;  // semitones added to every pitched part: the key change
    Drums drums = Drums::None;
    int drumVolume = 64;  // scales every drum hit, 0..64
    Bass bass = Bass::None;
    Arp arp = Arp::None;
    ArpShape arpShape = ArpShape::UpDown;
    int padVolume = 40;
    int bassVolume = 0;
    int arpVolume = 0;
    int leadVolume = 0;  // the echo answers at a share of it
    int tune = -1;       // -1: the lead rests
    int tuneBar = 0;
    bool crash = false;
    bool riser = false;
    bool fill = false;       // a kick pick-up at the end of a four-bar phrase
    bool snareFill = false;  // a snare run at the end of an eight-bar phrase
};

// Bars 0-19 intro, 20-29 build, 30-74 main part (drop at bar 30, break at
// bar 46, rebuild at bar 50, second drop a whole tone higher at bar 54),
// 75-83 outro.
std::vector<BarPlan> arrangeSong();

}  // namespace assetgen
