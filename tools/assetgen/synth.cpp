#include "synth.h"

#include <cmath>

#include "det_math.h"

namespace assetgen {

namespace {

// Per-sample factor of an exponential decay with time constant `seconds`.
double decayFactor(double seconds, int rate) { return 1.0 - 1.0 / (seconds * rate); }

// Gentle saturation that keeps |x| <= 1 for |x| <= 1.5.
double softClip(double x) {
    if (x > 1.5) x = 1.5;
    if (x < -1.5) x = -1.5;
    return x - x * x * x * (4.0 / 27.0);
}

// Fades the last `frames` samples linearly to 0 so the end never clicks.
void fadeTail(Signal& s, size_t frames) {
    for (size_t i = 0; i < frames && i < s.size(); ++i)
        s[s.size() - 1 - i] *= static_cast<double>(i) / frames;
}

class OnePole {
public:
    explicit OnePole(double amount) : a(amount) {}
    double lowPass(double x) { return y += a * (x - y); }
    double highPass(double x) { return x - lowPass(x); }

private:
    double a;
    double y = 0.0;
};

// A second-order low-pass (Butterworth when q = 1/sqrt(2)), its coefficients
// from the portable sine so they come out the same on every machine.
class LowPass2 {
public:
    LowPass2(double cornerHz, int rate, double q) {
        const double turns = cornerHz / rate;
        const double cosine = sineTurns(turns + 0.25), alpha = sineTurns(turns) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0 = (1.0 - cosine) / 2.0 / a0;
        b1 = (1.0 - cosine) / a0;
        a1 = -2.0 * cosine / a0;
        a2 = (1.0 - alpha) / a0;
    }
    double operator()(double x) {
        const double y = b0 * (x + x2) + b1 * x1 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    double b0, b1, a1, a2;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
};

double square(double turns) { return sineTurns(turns) >= 0.0 ? 1.0 : -1.0; }

// The metallic body of a cymbal: six square waves at inharmonic pitches,
// mixed with noise and kept between about 4 and 10 kHz: brighter noise is
// only hiss.
Signal metal(double seconds, double decaySeconds, uint32_t seed) {
    static const double kPitches[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    const int rate = kCymbalRate;
    Signal s(static_cast<size_t>(seconds * rate));
    Random noise(seed);
    OnePole low1(0.45), low2(0.45);
    constexpr double kQ = 0.7071;
    LowPass2 top1(10000.0, rate, kQ), top2(10000.0, rate, kQ);
    double amp = 1.0;
    const double k = decayFactor(decaySeconds, rate);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double tone = 0.0;
        for (double p : kPitches) tone += square(p * 1.7 * t);
        const double raw = tone * (1.0 / 6.0) * 0.6 + noise.signedUnit() * 0.7;
        s[i] = top2(top1(low2.highPass(low1.highPass(raw)))) * amp;
        amp *= k;
    }
    fadeTail(s, s.size() / 8);
    return s;
}

struct Partial {
    int cycles;  // whole cycles within the loop, so the loop joins seamlessly
    double amplitude;
    double phase = 0.0;  // in turns
};

// Sum of sine partials over a loop of `length` frames.
Signal additive(int length, const std::vector<Partial>& partials) {
    Signal s(static_cast<size_t>(length), 0.0);
    for (const Partial& p : partials) {
        for (int i = 0; i < length; ++i) {
            const int64_t step = static_cast<int64_t>(p.cycles) * i % length;
            s[static_cast<size_t>(i)] +=
                p.amplitude * sineTurns(static_cast<double>(step) / length + p.phase);
        }
    }
    return s;
}

// A sawtooth of `cycles` periods, its harmonics rolled off above `corner`.
void addSaw(std::vector<Partial>& partials, int cycles, int harmonics, double corner, double gain) {
    for (int k = 1; k <= harmonics; ++k) {
        const double roll = 1.0 / (1.0 + (k / corner) * (k / corner));
        partials.push_back({cycles * k, gain * roll / k});
    }
}

}  // namespace

Signal kickDrum() {
    const int rate = kDrumRate;
    Signal s(static_cast<size_t>(0.42 * rate));
    Random noise(101);
    OnePole clickTone(0.3);
    double phase = 0.0, sweep = 1.0, amp = 1.0, click = 1.0;
    const double sweepK = decayFactor(0.032, rate), ampK = decayFactor(0.15, rate),
                 clickK = decayFactor(0.003, rate);
    for (double& v : s) {
        phase += (46.0 + 120.0 * sweep) / rate;
        v = softClip(1.4 * amp * sineTurns(phase)) + 0.35 * click * clickTone.lowPass(noise.signedUnit());
        sweep *= sweepK;
        amp *= ampK;
        click *= clickK;
    }
    fadeTail(s, s.size() / 10);
    return s;
}

Signal snareDrum() {
    const int rate = kDrumRate;
    Signal s(static_cast<size_t>(0.34 * rate));
    Random noise(202);
    OnePole body(0.55), low(0.04);
    double tone = 1.0, hiss = 1.0;
    const double toneK = decayFactor(0.045, rate), hissK = decayFactor(0.085, rate);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double drum = 0.6 * sineTurns(182.0 * t) + 0.4 * sineTurns(331.0 * t);
        const double n = body.lowPass(noise.signedUnit());
        s[i] = 0.55 * tone * drum + 0.9 * hiss * (n - low.lowPass(n));
        tone *= toneK;
        hiss *= hissK;
    }
    fadeTail(s, s.size() / 8);
    return s;
}

Signal closedHat() { return metal(0.08, 0.016, 303); }
Signal openHat() { return metal(0.40, 0.11, 404); }

Signal crashCymbal() {
    const int rate = kDrumRate;
    Signal s(static_cast<size_t>(1.1 * rate));
    Random noise(505);
    OnePole low1(0.5), low2(0.7);
    double amp = 1.0;
    const double k = decayFactor(0.38, rate);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double ring = 0.25 * square(3170.0 * t) * square(4330.0 * t);
        s[i] = low2.lowPass(low1.highPass(noise.signedUnit() + ring)) * amp;
        amp *= k;
    }
    fadeTail(s, s.size() / 4);
    return s;
}

Signal bassCycle() {
    std::vector<Partial> partials = {{1, 0.55}};
    addSaw(partials, 1, 24, 5.0, 1.0);
    return additive(kToneCycle, partials);
}

// Harmonics falling only slowly up to the tenth, then steeply: a bright,
// reedy lead whose presence lies between 2 and 6 kHz.
Signal leadCycle() {
    std::vector<Partial> partials;
    for (int k = 1; k <= 24; ++k) {
        const double q = (k / 10.0) * (k / 10.0);
        const double roll = 1.0 / (1.0 + q * q);
        partials.push_back({k, (k % 2 == 1 ? 1.0 : 0.6) * roll / (0.5 + 0.5 * k)});
    }
    return additive(kToneCycle, partials);
}

// The lead as its echo sounds: the top dulled, as a tape delay would.
Signal echoCycle() {
    std::vector<Partial> partials;
    for (int k = 1; k <= 16; ++k) {
        const double roll = 1.0 / (1.0 + (k / 5.0) * (k / 5.0));
        partials.push_back({k, (k % 2 == 1 ? 1.0 : 0.6) * roll / k});
    }
    return additive(kToneCycle, partials);
}

Signal pluckCycle() {
    std::vector<Partial> partials = {{2, 0.35}, {3, 0.18}};
    for (int k = 1; k <= 20; ++k) {
        const double roll = 1.0 / (1.0 + (k / 4.0) * (k / 4.0));
        partials.push_back({k, roll / k});
    }
    return additive(kToneCycle, partials);
}

Signal padLoop() {
    // A saw with two voices a few cents above and below it. The voices'
    // harmonics start a quarter turn ahead of the middle saw's: their sum
    // then stays at right angles to it and never cancels it, so the pad
    // shimmers instead of beating.
    std::vector<Partial> partials;
    addSaw(partials, kPadLoopCycles, 20, 6.0, 1.0);
    const size_t voices = partials.size();
    addSaw(partials, kPadLoopCycles + 1, 20, 6.0, 0.5);
    addSaw(partials, kPadLoopCycles - 1, 20, 6.0, 0.5);
    for (size_t i = voices; i < partials.size(); ++i) partials[i].phase = 0.25;
    return additive(kPadCycle * kPadLoopCycles, partials);
}

std::vector<int16_t> toPcm16(const Signal& s, double peak) {
    double largest = 0.0;
    for (double v : s) largest = std::fmax(largest, std::fabs(v));
    const double scale = largest > 0.0 ? peak * 32767.0 / largest : 0.0;
    std::vector<int16_t> out;
    out.reserve(s.size());
    for (double v : s) out.push_back(static_cast<int16_t>(std::lround(v * scale)));
    return out;
}

}  // namespace assetgen
