// The soundtrack against the module rendered at full volume, and the
// video as ffprobe decodes it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "capture_test_support.h"
#include "raster/image.h"
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
    // The summary line says what was written.
    EXPECT_NE(
        run.err.find("; video " + video + " (H.264 640x480 4:2:0 BT.709, crf 12, preset medium, AAC)\n"),
        std::string::npos)
        << run.err;
    // Nothing is left behind but the video.
    EXPECT_EQ(scratch.entries(), std::vector<std::string>{"demo.mp4"});
}

// Frame k of a video decoded to RGB; for YUV as a player shows it: by the
// matrix named (zimg's name: 709 or 170m), in limited range, the colour
// samples centred on their 2x2 pixels and interpolated bilinearly.
std::string decodedFrame(const std::string& video, int32_t frame, const std::string& matrix,
                         const char* pixelFormat = "rgb24") {
    const std::string convert =
        matrix.empty()
            ? ""
            : ",zscale=min=" + matrix + ":rin=limited:chromalin=center:filter=bilinear,format=gbrp";
    const ChildResult run =
        runProgram(words("ffmpeg -v error -i " + video + " -vf select=eq(n\\," + std::to_string(frame) + ")" +
                         convert + " -frames:v 1 -pix_fmt " + pixelFormat + " -f rawvideo -"),
                   std::chrono::minutes(5));
    return run.out;
}

// The PSNR in dB of a decoded RGB picture against a composed frame scaled up
// by nearest neighbour; 0 when the picture is not of that size.
double psnr(const std::string& rgb, const std::vector<uint32_t>& composed, size_t scale) {
    const size_t width = size_t{kScreenWidth} * scale, height = size_t{kScreenHeight} * scale;
    if (rgb.size() != width * height * 3 || composed.size() != size_t{kScreenWidth} * kScreenHeight) return 0;
    double squares = 0;
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            const uint32_t word = composed[y / scale * size_t{kScreenWidth} + x / scale];
            const uint8_t* got = reinterpret_cast<const uint8_t*>(rgb.data()) + (y * width + x) * 3;
            for (int c = 0; c < 3; ++c) {
                const double error = double(got[c]) - double((word >> (16 - 8 * c)) & 0xFF);
                squares += error * error;
            }
        }
    }
    return 10.0 * std::log10(255.0 * 255.0 / (squares / double(width * height * 3)));
}

TEST(CaptureVideo, ScaledAndConvertedByTheBt709MatrixItsTagsName) {
    if (!programAvailable("ffmpeg") || !programAvailable("ffprobe")) GTEST_SKIP() << "no ffmpeg";
    ScratchDir scratch;
    const std::string video = scratch / "v.mp4";
    // Few frames and the fastest preset keep the encoding short; the
    // conversion and the tags are those of every setting.
    const ChildResult run = runCapture("--fps 1 --size 1280x960 --preset ultrafast --video " + video +
                                       " --frames " + (scratch / "f") + " --raw --only 100");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(probe("-select_streams v:0 -show_entries stream=width,height,color_range,color_space,"
                    "color_transfer,color_primaries,chroma_location -of default=nw=1 " +
                    video),
              "width=1280\nheight=960\ncolor_range=tv\ncolor_space=bt709\ncolor_transfer=bt709\n"
              "color_primaries=bt709\nchroma_location=center\n");
    const std::vector<uint32_t> composed = rawPixels(readBytes(scratch / ("f/" + frameFileName(100, true))));
    const double byTags = psnr(decodedFrame(video, 100, "709"), composed, 2);
    const double byOtherMatrix = psnr(decodedFrame(video, 100, "170m"), composed, 2);
    EXPECT_GT(byTags, 37.5);
    EXPECT_GT(byTags, byOtherMatrix + 2.0);
}

TEST(CaptureVideo, LosslessMasterDecodesToTheComposedFramesAndSamples) {
    if (!programAvailable("ffmpeg") || !programAvailable("ffprobe")) GTEST_SKIP() << "no ffmpeg";
    ScratchDir scratch;
    const std::string video = scratch / "master.mkv";
    const ChildResult run =
        runCapture("--fps 5 --video " + video + " --lossless --wav " + (scratch / "s.wav") + " --frames " +
                   (scratch / "f") + " --raw --only 0,260,760");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("; video " + video + " (FFV1 640x480 RGB lossless, FLAC)\n"), std::string::npos)
        << run.err;
    EXPECT_EQ(probe("-show_entries stream=codec_name -of csv=p=0 " + video), "ffv1\nflac\n");
    for (const int32_t frame : {0, 260, 760}) {
        const std::vector<uint32_t> composed =
            rawPixels(readBytes(scratch / ("f/" + frameFileName(frame, true))));
        const std::string decoded = decodedFrame(video, frame, "", "bgr0");
        const std::vector<uint32_t> words = rawPixels(std::vector<uint8_t>(decoded.begin(), decoded.end()));
        ASSERT_EQ(words.size(), composed.size()) << "frame " << frame;
        size_t differing = 0;
        for (size_t i = 0; i < words.size(); ++i) differing += (words[i] ^ composed[i]) & 0xFFFFFF;
        EXPECT_EQ(differing, 0u) << "frame " << frame;
    }
    const std::vector<uint8_t> wav = readBytes(scratch / "s.wav");
    const ChildResult sound =
        runProgram(words("ffmpeg -v error -i " + video + " -map 0:a -f s16le -"), std::chrono::minutes(5));
    EXPECT_TRUE(wav.size() > 44 && sound.out.size() == wav.size() - 44 &&
                std::equal(sound.out.begin(), sound.out.end(), wav.begin() + 44,
                           [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; }));
}

}  // namespace
