// The lead and its echo: the echo channel repeats the lead's notes and
// releases three rows (a dotted eighth) later, softer, from the other side.
#include "bar_cells.h"

namespace assetgen {

namespace {

constexpr int kEchoDelayRows = 3;
// The echo's volume as a share of the lead's, in 64ths.
constexpr int kEchoShare = 26;
// Tone portamento of a slide: half a semitone a tick, a whole tone in 4 ticks.
constexpr uint8_t kSlideSpeed = 0x08;

// The lead's events in the bar, transposed: notes, holds and releases;
// a bar without a tune releases the note of a bar before that had one.
BarTune leadEvents(const BarPlan& bar, const BarPlan* previous) {
    BarTune events{};
    events.fill(kHold);
    if (bar.tune < 0) {
        if (previous != nullptr && previous->tune >= 0) events[0] = kRelease;
        return events;
    }
    events = parseTune(tuneBars(bar.tune)[static_cast<size_t>(bar.tuneBar)]);
    for (int& event : events)
        if (event >= 0) event += bar.transpose;
    return events;
}

void writeEvent(BarWriter& w, int row, Channel ch, int event, Instrument ins, int volume) {
    if (event == kRelease)
        w.keyOff(row, ch);
    else if (event >= kGlide)
        w.glide(row, ch, event - kGlide, kSlideSpeed);
    else if (event != kHold)
        w.note(row, ch, event, ins, volume);
}

}  // namespace

void writeLeadAndEcho(BarWriter& w, const BarPlan& bar, BarContext context) {
    const BarTune now = leadEvents(bar, context.previous);
    for (int row = 0; row < kRowsPerBar; ++row)
        writeEvent(w, row, kChLead, now[static_cast<size_t>(row)], kInsLead, bar.leadVolume);

    // The echo's first rows repeat the end of the bar before.
    const BarTune before = context.previous != nullptr ? leadEvents(*context.previous, nullptr) : BarTune{};
    for (int row = 0; row < kRowsPerBar; ++row) {
        const int from = row - kEchoDelayRows;
        const bool early = from < 0;
        if (early && context.previous == nullptr) continue;
        const int event =
            early ? before[static_cast<size_t>(from + kRowsPerBar)] : now[static_cast<size_t>(from)];
        const int volume = (early ? context.previous->leadVolume : bar.leadVolume) * kEchoShare / 64;
        writeEvent(w, row, kChEcho, event, kInsEcho, volume);
    }
}

}  // namespace assetgen
