// The 4:2:0 planes of the video, shown the way a player shows them: BT.709
// in limited range, each colour sample centred on its 2x2 pixels and
// interpolated bilinearly, RGB clipped to 0-255. Compared with the frame
// scaled by nearest neighbour, and with the usual conversion (each pixel's
// Y, each 2x2 block's mean colour) shown the same way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "chroma_fit.h"

namespace {

struct Picture {
    int32_t width, height;
    const Image& frame;
    uint32_t pixel(int32_t x, int32_t y) const {
        // The frame pixel under the centre of the picture's pixel.
        return frame.getPixels()[(2 * y + 1) * kScreenHeight / (2 * height) * kScreenWidth +
                                 (2 * x + 1) * kScreenWidth / (2 * width)];
    }
};

double channel(uint32_t word, int c) { return double((word >> (16 - 8 * c)) & 0xFF); }

// A colour sample as the player interpolates it at pixel p of an axis.
double interpolated(const uint8_t* plane, int32_t chromaWidth, int32_t chromaHeight, int32_t x, int32_t y) {
    const auto taps = [](int32_t p, int32_t n, int32_t& near, int32_t& far) {
        near = p / 2;
        far = std::clamp(p % 2 == 0 ? near - 1 : near + 1, 0, n - 1);
    };
    int32_t nx, fx, ny, fy;
    taps(x, chromaWidth, nx, fx);
    taps(y, chromaHeight, ny, fy);
    const auto at = [&](int32_t j, int32_t i) { return double(plane[j * chromaWidth + i]) - 128.0; };
    return 0.75 * (0.75 * at(ny, nx) + 0.25 * at(ny, fx)) + 0.25 * (0.75 * at(fy, nx) + 0.25 * at(fy, fx));
}

// The PSNR of the planes as shown against the picture.
double shownPsnr(const std::vector<uint8_t>& planes, const Picture& picture) {
    const int32_t w = picture.width, h = picture.height, cw = w / 2, ch = h / 2;
    const uint8_t* cb = planes.data() + w * h;
    const uint8_t* cr = cb + cw * ch;
    double squares = 0;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const double l = 255.0 / 219.0 * (planes[y * w + x] - 16.0);
            const double u = interpolated(cb, cw, ch, x, y) * 255.0 / 224.0;
            const double v = interpolated(cr, cw, ch, x, y) * 255.0 / 224.0;
            const double shown[3] = {l + 1.5748 * v, l - 0.1873 * u - 0.4681 * v, l + 1.8556 * u};
            for (int c = 0; c < 3; ++c) {
                const double error =
                    std::clamp(std::round(shown[c]), 0.0, 255.0) - channel(picture.pixel(x, y), c);
                squares += error * error;
            }
        }
    }
    return squares == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 * 3.0 * w * h / squares);
}

uint8_t byte(double value) { return uint8_t(std::clamp(std::lround(value), 0L, 255L)); }

// The usual conversion: each pixel's Y, each 2x2 block's mean Cb and Cr.
std::vector<uint8_t> averagedPlanes(const Picture& picture) {
    const int32_t w = picture.width, h = picture.height, cw = w / 2, ch = h / 2;
    std::vector<uint8_t> planes(size_t(w) * h * 3 / 2);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = picture.pixel(x, y);
            const double l = 0.2126 * channel(p, 0) + 0.7152 * channel(p, 1) + 0.0722 * channel(p, 2);
            planes[y * w + x] = byte(16.0 + l * 219.0 / 255.0);
        }
    }
    for (int32_t j = 0; j < ch; ++j) {
        for (int32_t i = 0; i < cw; ++i) {
            double u = 0, v = 0;
            for (const int32_t k : {0, 1, 2, 3}) {
                const uint32_t p = picture.pixel(2 * i + k % 2, 2 * j + k / 2);
                const double l = 0.2126 * channel(p, 0) + 0.7152 * channel(p, 1) + 0.0722 * channel(p, 2);
                u += (channel(p, 2) - l) / 1.8556 * 224.0 / 255.0 / 4.0;
                v += (channel(p, 0) - l) / 1.5748 * 224.0 / 255.0 / 4.0;
            }
            planes[size_t(w) * h + j * cw + i] = byte(128.0 + u);
            planes[size_t(w) * h + size_t(cw) * ch + j * cw + i] = byte(128.0 + v);
        }
    }
    return planes;
}

// Thin lines of saturated colours on black, as the grid draws them, and a
// smooth coloured gradient.
void paintLines(Image& frame) {
    constexpr uint32_t kColours[] = {0xFF2020, 0x20FF40, 0x3060FF, 0xFF30FF, 0xFFFF40};
    for (int32_t y = 0; y < kScreenHeight; ++y) {
        for (int32_t x = 0; x < kScreenWidth; ++x) {
            uint32_t& p = frame.getPixels()[y * kScreenWidth + x];
            if (x % 9 == 0) p = kColours[(x / 9) % 5];
            if (y % 11 == 0 || (x + y) % 13 == 0) p = kColours[(y / 11) % 5];
            if (y > 400) p = uint32_t(x * 255 / kScreenWidth) << 16 | uint32_t((y - 400) * 3) << 8 | 0x40;
        }
    }
}

TEST(ChromaFit, ShowsTheFrameNearerThanAveragingEachBlocksColour) {
    Image flat(kScreenWidth, kScreenHeight);
    flat.fill(0x336699);
    Image lines(kScreenWidth, kScreenHeight);
    paintLines(lines);
    struct Case {
        const char* name;
        const Image& frame;
        int32_t width, height;
        double leastPsnr, leastGain;
    };
    const Case cases[] = {
        {"one colour, scaled by two", flat, 1280, 960, 50.0, 0.0},
        {"thin lines, scaled by two", lines, 1280, 960, 26.0, 4.0},
        {"thin lines, not scaled", lines, 640, 480, 18.0, 2.0},
        {"thin lines, scaled by 1.5625", lines, 1000, 750, 20.0, 2.0},
    };
    for (const Case& c : cases) {
        ChromaFit fit(c.width, c.height);
        fit.convert(c.frame);
        ASSERT_EQ(fit.planes().size(), size_t(c.width) * c.height * 3 / 2) << c.name;
        const Picture picture{c.width, c.height, c.frame};
        const double fitted = shownPsnr(fit.planes(), picture);
        const double averaged = shownPsnr(averagedPlanes(picture), picture);
        EXPECT_GE(fitted, c.leastPsnr) << c.name;
        EXPECT_GE(fitted, averaged + c.leastGain) << c.name << ": averaged " << averaged;
        // The same frame twice gives the same planes: nothing is carried over.
        const std::vector<uint8_t> first = fit.planes();
        fit.convert(c.frame);
        EXPECT_EQ(fit.planes(), first) << c.name;
    }
}

}  // namespace
