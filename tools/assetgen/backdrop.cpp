#include "backdrop.h"

#include <cmath>

#include "det_math.h"
#include "noise.h"

namespace assetgen {

namespace {

struct Vec3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
Vec3 mixVec(Vec3 a, Vec3 b, double t) { return {mix(a.x, b.x, t), mix(a.y, b.y, t), mix(a.z, b.z, t)}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 normalised(Vec3 v) { return v * (1.0 / std::sqrt(dot(v, v))); }

// Sunlight comes from the upper left and a little from the viewer's side.
const Vec3 kSun = normalised({-0.62, -0.50, 0.60});
const Vec3 kAirColour = {0.30, 0.55, 1.00};

struct Disc {
    double cx, cy, radius;
};
constexpr Disc kPlanet = {470.0, 440.0, 300.0};
constexpr Disc kMoon = {112.0, 300.0, 30.0};
constexpr double kAirHeight = 26.0;

// Turns the view normal into the planet's own frame, so its poles and
// continents sit at a pleasing angle.
Vec3 planetFrame(Vec3 n) {
    const double tiltCos = sineTurns(0.25 + 0.06), tiltSin = sineTurns(0.06);
    const double spinCos = sineTurns(0.25 + 0.13), spinSin = sineTurns(0.13);
    const Vec3 t = {n.x, n.y * tiltCos - n.z * tiltSin, n.y * tiltSin + n.z * tiltCos};
    return {t.x * spinCos + t.z * spinSin, t.y, t.z * spinCos - t.x * spinSin};
}

double power32(double v) {
    for (int i = 0; i < 5; ++i) v *= v;
    return v;
}

// Faint violet clouds of gas behind the stars.
Vec3 nebula(int x, int y) {
    const double n = fractalNoise(x / 170.0, y / 170.0, 0.37, 5, 11);
    const double hue = fractalNoise(x / 260.0, y / 260.0, 4.1, 3, 12);
    const double amount = smoothStep(0.48, 0.78, n) * 0.42;
    return mixVec({0.45, 0.14, 0.55}, {0.12, 0.22, 0.60}, hue) * amount;
}

void drawStars(RgbImage& img) {
    Random rng(20240611u);
    for (int i = 0; i < 1500; ++i) {
        const int x = static_cast<int>(rng.below(kBackdropWidth));
        const int y = 1 + static_cast<int>(rng.below(kBackdropHeight - 1));
        const double u = rng.unit();
        const double b = 0.26 + 0.74 * u * u * u;
        const double tint = rng.signedUnit() * 0.18;
        const Rgb c = rgbFromUnit(b * (1.0 + tint), b, b * (1.0 - tint));
        img.add(x, y, c);
        if (b > 0.72) {
            const Rgb glow = rgbFromUnit(b * 0.42 * (1.0 + tint), b * 0.42, b * 0.42 * (1.0 - tint));
            img.add(x - 1, y, glow);
            img.add(x + 1, y, glow);
            img.add(x, y - 1, glow);
            img.add(x, y + 1, glow);
        }
    }
}

Vec3 surfaceColour(Vec3 p) {
    const double e = fractalNoise(p.x * 2.1 + 5.0, p.y * 2.1 + 5.0, p.z * 2.1 + 5.0, 6, 3);
    const double wet = fractalNoise(p.x * 3.0 + 1.0, p.y * 3.0, p.z * 3.0, 4, 5);
    const double seaLevel = 0.52;
    Vec3 c;
    if (e < seaLevel) {
        c = mixVec({0.02, 0.07, 0.24}, {0.05, 0.26, 0.46}, smoothStep(0.40, seaLevel, e));
    } else {
        const double height = smoothStep(seaLevel, 0.74, e);
        c = mixVec({0.12, 0.34, 0.10}, {0.42, 0.34, 0.19}, height);
        c = mixVec(c, {0.66, 0.52, 0.30}, smoothStep(0.50, 0.66, wet) * 0.8);
        c = mixVec(c, {0.62, 0.60, 0.58}, smoothStep(0.70, 0.80, e));
    }
    const double ice = smoothStep(0.86, 0.93, std::fabs(p.y) + (e - 0.5) * 0.35);
    c = mixVec(c, {0.90, 0.93, 0.97}, ice);
    const double cloud = fractalNoise(p.x * 4.4, p.y * 7.0, p.z * 4.4, 5, 9);
    return mixVec(c, {0.84, 0.86, 0.90}, smoothStep(0.54, 0.76, cloud) * 0.7);
}

// The lit planet at normal n, air glow along the limb included.
Vec3 planetPixel(Vec3 n) {
    const Vec3 p = planetFrame(n);
    const double diffuse = dot(n, kSun);
    // Kept below full brightness: the lines and flares must stand out against it.
    const double lit = smoothStep(-0.10, 0.30, diffuse) * (0.26 + 0.60 * clampUnit(diffuse));
    Vec3 c = surfaceColour(p) * lit;
    const Vec3 half = normalised(kSun + Vec3{0.0, 0.0, 1.0});
    const double e = fractalNoise(p.x * 2.1 + 5.0, p.y * 2.1 + 5.0, p.z * 2.1 + 5.0, 6, 3);
    if (e < 0.52) c = c + Vec3{0.5, 0.5, 0.45} * (power32(clampUnit(dot(n, half))) * 0.30);
    const double rim = 1.0 - n.z;
    const double air = rim * rim * (0.15 + 0.85 * smoothStep(-0.3, 0.4, diffuse));
    return mixVec(c, kAirColour * 0.8, clampUnit(air * 1.2));
}

// The glow of the atmosphere just outside the limb, brightest on the day side.
Vec3 airGlow(double dx, double dy, double d) {
    const double above = d - kPlanet.radius;
    if (above >= kAirHeight) return {};
    const double fall = 1.0 - above / kAirHeight;
    const double towardsSun =
        (dx * kSun.x + dy * kSun.y) / (d * std::sqrt(kSun.x * kSun.x + kSun.y * kSun.y));
    return kAirColour * (fall * fall * 0.85 * clampUnit(0.15 + 0.95 * towardsSun));
}

Vec3 moonPixel(Vec3 n) {
    const double maria = smoothStep(0.55, 0.68, fractalNoise(n.x * 2.5, n.y * 2.5, n.z * 2.5, 4, 21));
    const double grain = fractalNoise(n.x * 9.0, n.y * 9.0, n.z * 9.0, 3, 22);
    const double grey = 0.62 - maria * 0.22 + (grain - 0.5) * 0.25;
    const double lit = smoothStep(-0.05, 0.25, dot(n, kSun)) * (0.25 + 0.75 * clampUnit(dot(n, kSun)));
    return Vec3{grey, grey * 0.97, grey * 0.92} * lit;
}

// Blends a lit sphere over `under` with a one-pixel soft edge.
template <typename Shade>
Vec3 overDisc(Vec3 under, Disc disc, double px, double py, Shade shade) {
    const double dx = px - disc.cx, dy = py - disc.cy;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double cover = clampUnit(disc.radius - d + 0.5);
    if (cover <= 0.0) return under;
    const double r2 = disc.radius * disc.radius;
    const double z = std::sqrt(r2 - (d < disc.radius ? d * d : r2));
    const Vec3 n = {dx / disc.radius, dy / disc.radius, z / disc.radius};
    return mixVec(under, shade(n), cover);
}

Vec3 backdropPixel(int x, int y, Vec3 sky) {
    const double px = x + 0.5, py = y + 0.5;
    Vec3 c = overDisc(sky, kMoon, px, py, moonPixel);
    c = overDisc(c, kPlanet, px, py, planetPixel);
    const double dx = px - kPlanet.cx, dy = py - kPlanet.cy;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d > kPlanet.radius) c = c + airGlow(dx, dy, d);
    return c;
}

Vec3 toUnit(Rgb c) { return {c.r / 255.0, c.g / 255.0, c.b / 255.0}; }

}  // namespace

RgbImage makeBackdrop() {
    RgbImage img(kBackdropWidth, kBackdropHeight);
    drawStars(img);
    for (int y = 1; y < kBackdropHeight; ++y) {
        for (int x = 0; x < kBackdropWidth; ++x) {
            const Vec3 sky = toUnit(img.get(x, y)) + nebula(x, y);
            const Vec3 c = backdropPixel(x, y, sky);
            img.set(x, y, rgbFromUnit(c.x, c.y, c.z));
        }
    }
    // Row 0 stays black: the start-up darkening leaves the top row as it is.
    return img;
}

}  // namespace assetgen
