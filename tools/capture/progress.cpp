#include "progress.h"

#include <algorithm>

#include "program_name.h"

namespace {

constexpr int kFullBarWidth = 30;
constexpr int kMinBarWidth = 5;
constexpr int kUnknownTerminalColumns = 80;
constexpr int kMaxLine = 256;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

double secondsBetween(Progress::Clock::time_point from, Progress::Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// The columns a line may take: one less than the terminal has.
int usableColumns(int terminalColumns) {
    const int columns = terminalColumns > 0 ? terminalColumns : kUnknownTerminalColumns;
    return std::clamp(columns - 1, 1, kMaxLine - 1);
}

}  // namespace

Progress::Progress(std::FILE* out, bool isTerminal, int32_t total, ColumnsQuery columnsQuery)
    : stream(out),
      interactive(isTerminal),
      totalFrames(total),
      columns(columnsQuery),
      runStart(Clock::now()),
      framesStart(runStart),
      framesEnd(runStart),
      nextDraw(runStart) {}

void Progress::startFrames() {
    framesStart = Clock::now();
    framesEnd = framesStart;
    nextDraw = framesStart;
}

void Progress::frameDone(int32_t frame) {
    // Reading the clock every frame costs far less than composing one.
    framesEnd = Clock::now();
    if (!interactive || framesEnd < nextDraw) return;
    nextDraw = framesEnd + kRedrawInterval;
    drawBar(frame + 1, secondsBetween(framesStart, framesEnd));
}

// The figures come first in the budget of columns; the bar takes what is
// left, up to its full width, and is left out when too little is.
void Progress::drawBar(int32_t framesDone, double seconds) {
    const double share = totalFrames > 0 ? double(framesDone) / totalFrames : 1.0;
    const double rate = seconds > 0 ? framesDone / seconds : 0.0;
    const double left = rate > 0 ? (totalFrames - framesDone) / rate : 0.0;
    char figures[kMaxLine];
    const int figuresWidth =
        std::snprintf(figures, sizeof figures, "frame %d/%d %5.1f%% %.0f fps %.1f s left", framesDone,
                      totalFrames, share * 100.0, rate, left);
    const int usable = usableColumns(columns != nullptr ? columns() : 0);
    const int barWidth = std::min(kFullBarWidth, usable - figuresWidth - 3);
    char line[kMaxLine];
    int width = 0;
    if (barWidth >= kMinBarWidth) {
        const int filled = static_cast<int>(share * barWidth);
        line[width++] = '[';
        for (int i = 0; i < barWidth; ++i) line[width++] = i < filled ? '#' : '.';
        line[width++] = ']';
        line[width++] = ' ';
    }
    const int figuresShown = std::min(figuresWidth, usable - width);
    std::copy(figures, figures + figuresShown, line + width);
    width += figuresShown;
    // Spaces over what a longer line before left on screen.
    const int padded = std::max(width, shownWidth);
    std::fprintf(stream, "\r%.*s%*s", width, line, padded - width, "");
    std::fflush(stream);
    shownWidth = padded;
}

double Progress::frameSeconds() const { return secondsBetween(framesStart, framesEnd); }

void Progress::finish(int32_t frames, int32_t fps, int32_t lengthMs, const char* written) {
    if (shownWidth > 0) std::fprintf(stream, "\r%*s\r", shownWidth, "");
    const double loopSeconds = frameSeconds();
    const double totalSeconds = secondsBetween(runStart, Clock::now());
    const double rate = loopSeconds > 0 ? frames / loopSeconds : 0.0;
    std::fprintf(stream,
                 "%s: %d frames at %d fps (%.3f s of demo) in %.2f s, frames %.0f/s "
                 "(%.1fx real time)%s\n",
                 programName(), frames, fps, lengthMs / 1000.0, totalSeconds, rate, rate / fps, written);
    std::fflush(stream);
}
