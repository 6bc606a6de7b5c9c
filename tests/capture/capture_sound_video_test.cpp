// The soundtrack against the module rendered at full volume, and the
// video as ffprobe decodes it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "capture_test_support.h"
#include "sound/module_renderer.h"

namespace {

constexpr int32_t kRate = 44100;

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

// The module from its start, looping, at full volume: what the soundtrack
// holds before the fade.
std::vector<int16_t> renderModule(size_t frames) {
    const std::vector<uint8_t> file = readBytes("qzt_dmbl.xm");
    ModuleRenderer renderer;
    if (!renderer.load(file.data(), file.size())) return {};
    std::vector<int16_t> samples(frames * 2);
    renderer.render(samples.data(), frames, kFullVolume);
    return samples;
}

// The volume a fade frame reading t hands to the music, as silence below 0.
int32_t fadeGain(int32_t t) {
    const int32_t volume = (150000 - t) * 255 / 10000 + 255;
    return volume < 0 ? 0 : volume;
}

double meanMagnitude(const std::vector<int16_t>& samples, size_t from, size_t count) {
    double sum = 0;
    const size_t end = std::min(samples.size(), from + count);
    for (size_t i = from; i < end; ++i) sum += std::abs(int32_t{samples[i]});
    return sum / double(count);
}

TEST(CaptureSoundtrack, FullUntilTheFadeThenFollowingEachFadeFrame) {
    ScratchDir scratch;
    const ChildResult run = runCapture("--fps 20 --wav " + (scratch / "s.wav"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<uint8_t> wav = readBytes(scratch / "s.wav");
    const size_t frames = size_t{160000} * kRate / 1000;  // up to the last frame's reading
    ASSERT_EQ(wav.size(), 44u + frames * 4u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le16(wav, 20), 1);  // PCM
    EXPECT_EQ(le16(wav, 22), 2);  // stereo
    EXPECT_EQ(le32(wav, 24), 44100u);
    EXPECT_EQ(le16(wav, 34), 16);  // bits
    EXPECT_EQ(le32(wav, 40), frames * 4u);

    std::vector<int16_t> sound(frames * 2);
    for (size_t i = 0; i < sound.size(); ++i) sound[i] = static_cast<int16_t>(le16(wav, 44 + 2 * i));
    const std::vector<int16_t> module = renderModule(frames);
    ASSERT_EQ(module.size(), sound.size());

    // Before the fade: the module itself. Then each fade frame (from frame
    // 3001 at 20 fps, 50 ms apart) sets the gain from its reading on.
    const size_t fadeStart = size_t{150050} * kRate / 1000;
    EXPECT_TRUE(std::equal(module.begin(), module.begin() + 2 * fadeStart, sound.begin()));
    size_t mismatches = 0;
    for (size_t f = fadeStart; f < frames; ++f) {
        const int32_t reading = static_cast<int32_t>((f * 1000 / kRate) / 50 * 50);
        const int32_t gain = fadeGain(reading);
        for (size_t c = 0; c < 2; ++c) {
            const bool differs = sound[2 * f + c] != module[2 * f + c] * gain / 255;
            if (differs && mismatches < 5) {
                ADD_FAILURE() << "frame " << f << " gain " << gain << " got " << sound[2 * f + c]
                              << " module " << module[2 * f + c];
            }
            mismatches += differs;
        }
    }
    EXPECT_EQ(mismatches, 0u);

    // The level falls second by second through the fade, to silence.
    double previous = 2.0;
    for (int second = 150; second < 160; ++second) {
        const size_t at = size_t(second) * kRate * 2;
        const double musicLevel = meanMagnitude(module, at, kRate * 2);
        ASSERT_GT(musicLevel, 10.0) << "the music is silent in second " << second;
        const double share = meanMagnitude(sound, at, kRate * 2) / musicLevel;
        EXPECT_LT(share, previous) << "second " << second;
        previous = share;
    }
    EXPECT_LT(previous, 0.1);
    // The last fade frame (159950 ms) leaves a gain of 2/255: below 1% of full scale.
    const size_t tail = size_t{50} * kRate / 1000;
    for (size_t i = sound.size() - 2 * tail; i < sound.size(); ++i) {
        ASSERT_LE(std::abs(int32_t{sound[i]}), 257) << "sample " << i;
    }
}

std::string probe(const std::string& arguments) {
    const ChildResult run = runProgram(words("ffprobe -v error " + arguments), std::chrono::minutes(5));
    return run.exitCode == 0 ? run.out : "(ffprobe failed)";
}

TEST(CaptureVideo, DecodesToEveryFrameWithTheSoundtrack) {
    if (!programAvailable("ffmpeg") || !programAvailable("ffprobe")) GTEST_SKIP() << "no ffmpeg";
    ScratchDir scratch;
    const std::string video = scratch / "demo.mp4";
    const ChildResult run = runCapture("--fps 5 --video " + video);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(probe("-count_frames -select_streams v:0 -show_entries "
                    "stream=codec_name,pix_fmt,width,height,nb_read_frames -of default=nw=1 " +
                    video),
              "codec_name=h264\nwidth=640\nheight=480\npix_fmt=yuv420p\nnb_read_frames=801\n");
    EXPECT_EQ(probe("-select_streams a -show_entries stream=codec_type -of default=nw=1 " + video),
              "codec_type=audio\n");
    const double seconds = std::atof(probe("-show_entries format=duration -of csv=p=0 " + video).c_str());
    EXPECT_NEAR(seconds, 160.0, 0.5);
    // Nothing is left behind but the video.
    EXPECT_EQ(scratch.entries(), std::vector<std::string>{"demo.mp4"});
}

TEST(CaptureVideo, SizeScalesThePicture) {
    if (!programAvailable("ffmpeg") || !programAvailable("ffprobe")) GTEST_SKIP() << "no ffmpeg";
    ScratchDir scratch;
    const std::string video = scratch / "small.mp4";
    // Scaled down to keep the encoding short; the scale filter is the same.
    const ChildResult run = runCapture("--fps 1 --size 320x240 --video " + video);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(probe("-select_streams v:0 -show_entries stream=width,height -of default=nw=1 " + video),
              "width=320\nheight=240\n");
}

}  // namespace
