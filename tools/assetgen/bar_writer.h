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
    kChArp,
    kChPad,
    kChPad2,
    kChPad3,
    kChFx,
    kChannelCount
};

// What a bar needs to know about the bar before it.
struct BarContext {
    const BarPlan* previous = nullptr;
};

XmPattern composeBar(const BarPlan& bar, BarContext context);

}  // namespace assetgen
