// The player and the capture hand on the same sound: the sound library's
// mixing (what its audio callback gives SDL), driven with the readings of
// the capture's frame clock and the volumes the show's steps return, makes
// the samples of demo_capture's WAV, one for one, fade included.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "capture_test_support.h"
#include "scene/frame_clock.h"
#include "scene/show.h"
#include "sound/sample_format.h"
#include "sound/sound_inspection.h"
#include "sound/sound_library.h"

namespace {

constexpr int32_t kFps = 30;
constexpr size_t kWavHeaderBytes = 44;
constexpr int kCallbackFrames = 1024;  // what SDL asks the callback for at a time

std::vector<int16_t> wavSamples(const std::vector<uint8_t>& wav) {
    std::vector<int16_t> samples;
    for (size_t at = kWavHeaderBytes; at + 1 < wav.size(); at += 2) {
        samples.push_back(static_cast<int16_t>(wav[at] | wav[at + 1] << 8));
    }
    return samples;
}

// The library's mixing in callback-sized pieces up to a stereo frame.
void mixUntil(FMUSIC_MODULE* song, int64_t endFrame, int64_t& mixed, std::vector<int16_t>& out) {
    while (mixed < endFrame) {
        const int count = static_cast<int>(std::min<int64_t>(kCallbackFrames, endFrame - mixed));
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(count) * kChannels);
        mixSongFrames(song, out.data() + at, count, 0);
        mixed += count;
    }
}

TEST(OneSoundPath, ThePlayersSamplesAreTheCapturesWav) {
    ScratchDir scratch;
    const ChildResult run = runCapture("--fps " + std::to_string(kFps) + " --wav " + (scratch / "s.wav"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<int16_t> captured = wavSamples(readBytes(scratch / "s.wav"));

    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(FSOUND_Init(kSampleRate, 32, 0));
    FMUSIC_MODULE* song = FMUSIC_LoadSong("qzt_dmbl.xm");
    ASSERT_NE(song, nullptr);  // loaded, not played: only this test mixes it

    Show show;
    show.loadImages();
    show.setUp();
    std::vector<int16_t> played;
    int64_t mixed = 0;
    int32_t fadeFrames = 0;
    for (int32_t frame = 0;; ++frame) {
        const int32_t reading = frameReading(frame, kFps);
        const ShowStep step = show.step(reading);
        if (step.action == ShowAction::Stop) break;
        mixUntil(song, sampleFrameAt(reading), mixed, played);
        if (step.action == ShowAction::SetVolumeAndPresent) {
            FMUSIC_SetMasterVolume(song, step.volume);
            ++fadeFrames;
        }
    }
    FMUSIC_FreeSong(song);
    FSOUND_Close();

    EXPECT_EQ(fadeFrames, 300);
    ASSERT_EQ(played.size(), captured.size());
    size_t differing = 0;
    for (size_t i = 0; i < played.size(); ++i) {
        if (played[i] != captured[i] && differing++ < 5) {
            ADD_FAILURE() << "sample " << i << " (stereo frame " << i / 2 << "): played " << played[i]
                          << ", captured " << captured[i];
        }
    }
    EXPECT_EQ(differing, 0u);
    // The fade is in both: the last second is far below the first of the fade.
    const size_t second = size_t{kSampleRate} * kChannels;
    int64_t fadeStart = 0, fadeEnd = 0;
    for (size_t i = 0; i < second; ++i) {
        fadeStart += std::abs(int{played[size_t{150} * second + i]});
        fadeEnd += std::abs(int{played[played.size() - second + i]});
    }
    EXPECT_LT(fadeEnd * 20, fadeStart);
}

}  // namespace
