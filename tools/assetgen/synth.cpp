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
// mixed with noise and kept between about 4 and 13 kHz, the top falling
// steeply so that nothing is left over 16 kHz to hiss.
Signal metal(double seconds, double decaySeconds, uint32_t seed) {
    static const double kPitches[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    const int rate = kCymbalRate;
    Signal s(static_cast<size_t>(seconds * rate));
    Random noise(seed);
    OnePole low1(0.45), low2(0.45);
    constexpr double kQ = 0.7071;
    LowPass2 top1(13000.0, rate, kQ), top2(13000.0, rate, kQ), top3(13000.0, rate, kQ);
    double amp = 1.0;
    const double k = decayFactor(decaySeconds, rate);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double tone = 0.0;
        for (double p : kPitches) tone += square(p * 1.7 * t);
        const double raw = tone * (1.0 / 6.0) * 0.6 + noise.signedUnit() * 0.7;
        s[i] = top3(top2(top1(low2.highPass(low1.highPass(raw))))) * amp;
        amp *= k;
    }
    fadeTail(s, s.size() / 8);
    return s;
}

}  // namespace

// A sine that falls from about 190 Hz to 50 Hz within the first 40 ms,
// driven into soft saturation for weight, over a click of bright noise.
Signal kickDrum() {
    const int rate = kDrumRate;
    Signal s(static_cast<size_t>(0.42 * rate));
    Random noise(101);
    OnePole clickBody(0.5);
    double phase = 0.0, sweep = 1.0, amp = 1.0, click = 1.0;
    const double sweepK = decayFactor(0.028, rate), ampK = decayFactor(0.24, rate),
                 clickK = decayFactor(0.0025, rate);
    for (double& v : s) {
        phase += (50.0 + 140.0 * sweep) / rate;
        const double n = noise.signedUnit();
        v = softClip(1.9 * amp * sineTurns(phase)) + 0.6 * click * (n - clickBody.lowPass(n));
        sweep *= sweepK;
        amp *= ampK;
        click *= clickK;
    }
    fadeTail(s, s.size() / 10);
    return s;
}

// A drum skin's two modes, their pitch dropping a little as the skin
// settles, under a longer burst of wire noise between 1.5 and 9 kHz.
Signal snareDrum() {
    const int rate = kDrumRate;
    Signal s(static_cast<size_t>(0.34 * rate));
    Random noise(202);
    OnePole low(0.35);
    LowPass2 top(9000.0, rate, 0.7071);
    double tone = 1.0, hiss = 1.0, drop = 1.0, phase1 = 0.0, phase2 = 0.0;
    const double toneK = decayFactor(0.06, rate), hissK = decayFactor(0.1, rate),
                 dropK = decayFactor(0.02, rate);
    for (size_t i = 0; i < s.size(); ++i) {
        phase1 += (185.0 + 40.0 * drop) / rate;
        phase2 += (330.0 + 50.0 * drop) / rate;
        const double body = 0.7 * sineTurns(phase1) + 0.35 * sineTurns(phase2);
        const double n = top(noise.signedUnit());
        s[i] = 0.8 * tone * body + 1.2 * hiss * (n - low.lowPass(n));
        tone *= toneK;
        hiss *= hissK;
        drop *= dropK;
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
