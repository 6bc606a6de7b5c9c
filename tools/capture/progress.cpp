#include "progress.h"

namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

double secondsBetween(Progress::Clock::time_point from, Progress::Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace

Progress::Progress(std::FILE* out, bool isTerminal, int32_t total)
    : stream(out),
      interactive(isTerminal),
      totalFrames(total),
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

void Progress::drawBar(int32_t framesDone, double seconds) {
    const double share = totalFrames > 0 ? double(framesDone) / totalFrames : 1.0;
    const int filled = static_cast<int>(share * kBarWidth);
    char bar[kBarWidth + 1];
    for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kBarWidth] = '\0';
    const double rate = seconds > 0 ? framesDone / seconds : 0.0;
    const double left = rate > 0 ? (totalFrames - framesDone) / rate : 0.0;
    std::fprintf(stream, "\r[%s] frame %d/%d %5.1f%% %7.0f fps %5.1f s left ", bar, framesDone, totalFrames,
                 share * 100.0, rate, left);
    std::fflush(stream);
    barShown = true;
}

double Progress::frameSeconds() const { return secondsBetween(framesStart, framesEnd); }

void Progress::finish(int32_t frames, int32_t fps, int32_t lengthMs, const char* written) {
    if (barShown) std::fprintf(stream, "\r%*s\r", kBarWidth + 60, "");
    const double loopSeconds = frameSeconds();
    const double totalSeconds = secondsBetween(runStart, Clock::now());
    const double rate = loopSeconds > 0 ? frames / loopSeconds : 0.0;
    std::fprintf(stream,
                 "demo_capture: %d frames at %d fps (%.3f s of demo) in %.2f s, frames %.0f/s "
                 "(%.1fx real time)%s\n",
                 frames, fps, lengthMs / 1000.0, totalSeconds, rate, rate / fps, written);
    std::fflush(stream);
}
