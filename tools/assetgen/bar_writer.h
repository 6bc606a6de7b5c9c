#pragma once
// Writes the parts of one bar into its pattern.
#include "arrangement.h"
#include "xm_writer.h"

namespace assetgen {

enum Channel {
    kChKick,
    kChSnare,
    kChHat,
    kChBass,
    kChLead,
    kChEcho,  // the lead again, three rows later, on the other side
    kChArp,
    kChPad,
    kChPad2,
    kChPad3,
    kChFx,
    kChCrash,
    kChannelCount
};

// What a bar needs to know about its neighbours: the pad and the lead carry
// on from the bar before, the bass walks into the chord of the bar after.
struct BarContext {
    const BarPlan* previous = nullptr;
    const BarPlan* next = nullptr;
};

XmPattern composeBar(const BarPlan& bar, BarContext context);

}  // namespace assetgen
