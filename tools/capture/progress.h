#pragma once
// Progress on standard error: a bar with the frame, percent, frames per
// second and time left, redrawn a few times a second and only when standard
// error is a terminal; and one summary line at the end in any case.
#include <chrono>
#include <cstdint>
#include <cstdio>

class Progress {
public:
    using Clock = std::chrono::steady_clock;

    Progress(std::FILE* stream, bool interactive, int32_t totalFrames);

    // Marks the start of the frame loop.
    void startFrames();
    // Called after every frame; cheap when nothing is drawn.
    void frameDone(int32_t frame);
    // Clears the bar and prints the summary line.
    void finish(int32_t frames, int32_t fps, int32_t lengthMs, const char* written);

    double frameSeconds() const;

private:
    void drawBar(int32_t framesDone, double seconds);

    std::FILE* stream;
    bool interactive;
    int32_t totalFrames;
    Clock::time_point runStart;
    Clock::time_point framesStart;
    Clock::time_point framesEnd;
    Clock::time_point nextDraw;
    bool barShown = false;
};
