#pragma once
// Progress on standard error: a bar with the frame, percent, frames per
// second and time left, redrawn a few times a second and only when standard
// error is a terminal; and one summary line at the end in any case.
//
// The bar stays on one line: it is drawn one column narrower than the
// terminal (a line that fills the last column wraps on many terminals), at
// most 79 columns when the terminal's width cannot be told, and with a
// shorter bar, or none, on a narrow one.
#include <chrono>
#include <cstdint>
#include <cstdio>

class Progress {
public:
    using Clock = std::chrono::steady_clock;
    // The terminal's width in columns, 0 when unknown; asked at every redraw,
    // so that the bar follows a resized window.
    using ColumnsQuery = int (*)();

    Progress(std::FILE* stream, bool interactive, int32_t totalFrames, ColumnsQuery columns);

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
    ColumnsQuery columns;
    Clock::time_point runStart;
    Clock::time_point framesStart;
    Clock::time_point framesEnd;
    Clock::time_point nextDraw;
    int shownWidth = 0;  // the columns of the bar on screen, 0 when none is
};
