#include "song.h"

#include "arrangement.h"
#include "bar_writer.h"
#include "instruments.h"

namespace assetgen {

XmModule makeSong() {
    XmModule song;
    song.name = "qzt dmbl";
    song.channels = kChannelCount;
    song.speed = kSongSpeed;
    song.bpm = kSongBpm;
    song.restartPosition = 0;
    song.instruments = makeInstruments();
    const std::vector<BarPlan> bars = arrangeSong();
    for (size_t i = 0; i < bars.size(); ++i) {
        const BarContext context{i > 0 ? &bars[i - 1] : nullptr,
                                 i + 1 < bars.size() ? &bars[i + 1] : nullptr};
        song.orders.push_back(addPattern(song, composeBar(bars[i], context)));
    }
    return song;
}

}  // namespace assetgen
