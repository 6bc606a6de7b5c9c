#pragma once
// The module's instruments, numbered as the patterns use them.
#include <cstdint>
#include <vector>

#include "xm_writer.h"

namespace assetgen {

enum Instrument : uint8_t {
    kInsKick = 1,
    kInsSnare,
    kInsClosedHat,
    kInsOpenHat,
    kInsCrash,
    kInsBass,
    kInsLead,
    kInsPluck,
    kInsPad,
    kInsEcho,
};

// The note at which every drum plays its sample at the recorded pitch.
inline constexpr int kDrumNote = 60;  // middle C

std::vector<XmInstrument> makeInstruments();

}  // namespace assetgen
