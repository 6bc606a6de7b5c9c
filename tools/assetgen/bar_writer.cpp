#include "bar_writer.h"

#include "bar_cells.h"

namespace assetgen {

XmPattern composeBar(const BarPlan& bar, BarContext context) {
    XmPattern pattern(kRowsPerBar, kChannelCount);
    BarWriter w(pattern);
    writeDrums(w, bar);
    writeBass(w, bar, context);
    writeArp(w, bar);
    writePad(w, bar, context);
    writeLeadAndEcho(w, bar, context);
    writeFx(w, bar, context);
    return pattern;
}

}  // namespace assetgen
