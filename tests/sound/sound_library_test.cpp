// The sound library on SDL's dummy audio output: error codes, the clock of a
// playing song, and the volume applied by the mixer.
#include "sound/sound_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "sound/sample_format.h"
#include "sound/sound_inspection.h"
#include "support/process.h"
#include "tone_module.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The demo's module when the data files were generated, else a tone module.
const char kDemoModule[] = "qzt_dmbl.xm";

class SoundLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        folder_ = fs::temp_directory_path() / ("sound_test_" + std::to_string(currentProcessId()));
        fs::create_directories(folder_);
        tonePath_ = (folder_ / "tone.xm").string();
        ASSERT_TRUE(writeBytes(tonePath_, makeToneModule()));
    }
    void TearDown() override {
        for (FMUSIC_MODULE* song : songs_) FMUSIC_FreeSong(song);
        if (soundOutputIsOpen()) FSOUND_Close();
        fs::remove_all(folder_);
    }
    FMUSIC_MODULE* load(const std::string& path) {
        FMUSIC_MODULE* song = FMUSIC_LoadSong(path.c_str());
        if (song != nullptr) songs_.push_back(song);
        return song;
    }
    std::string playableModule() const { return fs::exists(kDemoModule) ? kDemoModule : tonePath_; }
    std::string writeFile(const char* name, const std::vector<uint8_t>& bytes) {
        const std::string path = (folder_ / name).string();
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }

    fs::path folder_;
    std::string tonePath_;
    std::vector<FMUSIC_MODULE*> songs_;
};

TEST_F(SoundLibrary, ReportsVersion3_2) { EXPECT_EQ(FSOUND_GetVersion(), 3.2f); }

TEST_F(SoundLibrary, ReportsMisuseAndBadFilesWithTheirCodes) {
    EXPECT_EQ(load(tonePath_), nullptr);
    EXPECT_EQ(FSOUND_GetError(), 2);  // not initialised

    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    EXPECT_EQ(FSOUND_GetError(), 0);
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    EXPECT_EQ(FSOUND_GetError(), 1);  // initialised twice

    EXPECT_EQ(load((folder_ / "missing.xm").string()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), 9);
    EXPECT_EQ(load(folder_.string()), nullptr);  // a folder opens but cannot be read
    EXPECT_EQ(FSOUND_GetError(), 9);

    EXPECT_EQ(load(writeFile("text.xm", {'n', 'o', 't', ' ', 'a', ' ', 's', 'o', 'n', 'g'})), nullptr);
    EXPECT_EQ(FSOUND_GetError(), 10);
    EXPECT_EQ(load(writeFile("empty.xm", {})), nullptr);
    EXPECT_EQ(FSOUND_GetError(), 10);

    EXPECT_NE(load(tonePath_), nullptr);
    EXPECT_EQ(FSOUND_GetError(), 0);

    FSOUND_Close();
    EXPECT_EQ(load(tonePath_), nullptr);
    EXPECT_EQ(FSOUND_GetError(), 2);
}

TEST_F(SoundLibrary, FailsWithCode3WhenNoOutputCanBeOpened) {
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    EXPECT_EQ(FSOUND_GetError(), 3);
    // The failure leaves nothing half open: the next start succeeds.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(FSOUND_Init(44100, 32, 0));
}

struct ClockRun {
    int maxStepMs = 0;
    double maxExcessMs = 0;  // step beyond the wall time between the reads
    bool fell = false;
};

// Reads the clock 10,000 times a few hundred microseconds apart while the
// volume is changed, as the fade does.
ClockRun readClock10000Times(FMUSIC_MODULE* song) {
    ClockRun run;
    int previous = FMUSIC_GetTime(song);
    Clock::time_point previousRead = Clock::now();
    for (int i = 0; i < 10'000; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(250));
        FMUSIC_SetMasterVolume(song, 255 - i % 300);
        const int now = FMUSIC_GetTime(song);
        const Clock::time_point read = Clock::now();
        const double wallMs = std::chrono::duration<double, std::milli>(read - previousRead).count();
        run.fell = run.fell || now < previous;
        run.maxStepMs = std::max(run.maxStepMs, now - previous);
        // The clock may run 10 % fast while it catches up; 1 ms for whole milliseconds.
        run.maxExcessMs = std::max(run.maxExcessMs, (now - previous) - (1.1 * wallMs + 1.0));
        previous = now;
        previousRead = read;
    }
    return run;
}

TEST_F(SoundLibrary, ClockRisesSmoothlyAtTheRateOfTheOutput) {
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FMUSIC_MODULE* song = load(playableModule());
    ASSERT_NE(song, nullptr);
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(FMUSIC_PlaySong(song));
    EXPECT_LT(FMUSIC_GetTime(song), 50);

    const ClockRun run = readClock10000Times(song);
    EXPECT_FALSE(run.fell);
    EXPECT_LE(run.maxExcessMs, 0.0);
    RecordProperty("max_step_ms", run.maxStepMs);

    // It sits where the output is: the start of the buffer handed last plus
    // the time since, give or take the steering's lag.
    const OutputProgress progress = songOutputProgress(song);
    const double outputMs =
        std::min(progress.framesBefore * 1000.0 / kSampleRate + (wallClockNs() - progress.wallNs) / 1e6,
                 progress.framesHanded * 1000.0 / kSampleRate);
    const int playedMs = FMUSIC_GetTime(song);
    EXPECT_NEAR(playedMs, outputMs, 40.0);

    // SDL's dummy output paces itself by sleeping, so it drifts by a few percent.
    const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const double rate = playedMs / wallMs;
    RecordProperty("rate_permille", static_cast<int>(std::lround(rate * 1000)));
    EXPECT_GT(wallMs, 2000.0);
    EXPECT_NEAR(rate, 1.0, 0.05);
}

TEST_F(SoundLibrary, PlayingAgainRestartsTheClock) {
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FMUSIC_MODULE* song = load(tonePath_);
    ASSERT_TRUE(FMUSIC_PlaySong(song));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_GT(FMUSIC_GetTime(song), 150);
    ASSERT_TRUE(FMUSIC_PlaySong(song));
    EXPECT_LT(FMUSIC_GetTime(song), 50);
}

TEST_F(SoundLibrary, FreeingAndClosingWhilePlayingStopsCleanly) {
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FMUSIC_MODULE* first = FMUSIC_LoadSong(tonePath_.c_str());
    ASSERT_TRUE(FMUSIC_PlaySong(first));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(FMUSIC_FreeSong(first));
    FMUSIC_MODULE* second = load(tonePath_);
    ASSERT_TRUE(FMUSIC_PlaySong(second));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    FSOUND_Close();
    // The clock of a song whose output closed keeps its last value.
    const int stopped = FMUSIC_GetTime(second);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(FMUSIC_GetTime(second), stopped);
}

// Renders the first frames of a freshly loaded song at a volume, the way the
// audio callback does.
std::vector<int16_t> renderAtVolume(const std::string& path, int volume) {
    FMUSIC_MODULE* song = FMUSIC_LoadSong(path.c_str());
    EXPECT_NE(song, nullptr);
    std::vector<int16_t> frames(2 * 4096);
    if (song == nullptr) return frames;
    FMUSIC_SetMasterVolume(song, volume);
    mixSongFrames(song, frames.data(), 4096, 0);
    FMUSIC_FreeSong(song);
    return frames;
}

TEST_F(SoundLibrary, VolumeScalesTheOutputLinearlyAndSilencesBelowZero) {
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    const std::vector<int16_t> full = renderAtVolume(tonePath_, 255);
    const std::vector<int16_t> half = renderAtVolume(tonePath_, 128);
    const std::vector<int16_t> silent = renderAtVolume(tonePath_, -1);
    const std::vector<int16_t> above = renderAtVolume(tonePath_, 300);

    int loudest = 0;
    for (int16_t sample : full) loudest = std::max(loudest, std::abs(int{sample}));
    ASSERT_GT(loudest, 1600);
    for (size_t i = 0; i < full.size(); ++i) {
        ASSERT_EQ(half[i], full[i] * 128 / 255) << i;
        ASSERT_EQ(silent[i], 0) << i;
        ASSERT_EQ(above[i], full[i]) << i;  // 255 is the loudest
    }
}

TEST_F(SoundLibrary, SongLoopsPastItsEnd) {
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FMUSIC_MODULE* song = load(tonePath_);  // 1.92 s long
    ASSERT_NE(song, nullptr);
    std::vector<int16_t> frames(2 * 1024);
    int loudestLate = 0;
    for (int buffer = 0; buffer < 4 * 44100 / 1024; ++buffer) {
        mixSongFrames(song, frames.data(), 1024, 0);
        if (buffer < 3 * 44100 / 1024) continue;  // from the third second on
        for (int16_t sample : frames) loudestLate = std::max(loudestLate, std::abs(int{sample}));
    }
    EXPECT_GT(loudestLate, 1600);
}

}  // namespace
