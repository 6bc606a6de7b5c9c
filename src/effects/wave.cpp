// The wave that sets the grid's heights every frame, and the projection
// that spins, tilts and divides the grid onto the frame.
#include "effects/wave.h"

#include <algorithm>

#include "raster/portable_trig.h"

namespace {

constexpr double kWaveHalf = 0.5;
constexpr double kViewScale = 150.0;
constexpr double kWidthStretch = -3.0;
constexpr int32_t kViewDistance = 280;
constexpr int32_t kCentreX = 320;
constexpr int32_t kCentreY = 360;

// The column term of the wave depends on the column alone, so it is
// computed once per column instead of once per vertex; the arithmetic is
// the same, so the heights are too.
void calmWave(MeshVertex* v, int32_t rows, double p, double q) {
    const double pc = 5.0 * portableSin(p * kWaveHalf) + 7.0;
    const double pr = 5.0 * portableSin(q * kWaveHalf) + 7.0;
    double column[kMeshSide];
    for (int32_t k = 0; k < kMeshSide; ++k) column[k] = portableSin(p + k / pc);
    for (int32_t r = 0; r < rows; ++r) {
        const double rowTerm = portableSin(q + r / pr);
        for (int32_t k = 0; k < kMeshSide; ++k) {
            v[kMeshSide * r + k].z = static_cast<int32_t>((column[k] + rowTerm) * 100.0);
        }
    }
}

void strongWave(MeshVertex* v, int32_t rows, double p, double q) {
    const double qc = 6.0 * portableSin(p * kWaveHalf) + 7.0;
    const double qr = 6.0 * portableSin(q * kWaveHalf) + 7.0;
    double column[kMeshSide];
    for (int32_t k = 0; k < kMeshSide; ++k) column[k] = portableSin(p + k / qc) * 130.0;
    for (int32_t r = 0; r < rows; ++r) {
        const double rowTerm = portableSin(q + r / qr) * 100.0;
        for (int32_t k = 0; k < kMeshSide; ++k) {
            v[kMeshSide * r + k].z = static_cast<int32_t>(column[k] + rowTerm);
        }
    }
}

}  // namespace

void waveMesh(VertexList& vertices, double p, double q, int32_t time) {
    // Whole rows of the grid only, and never more rows than the list holds.
    const int32_t rows = std::clamp(vertices.count / kMeshSide, 0, kMeshSide);
    if (time < kStrongWaveTime) {
        calmWave(vertices.items, rows, p, q);
    } else {
        strongWave(vertices.items, rows, p, q);
    }
}

void projectMesh(VertexList& vertices, double spin, double tilt) {
    const double sS = portableSin(spin);
    const double cS = portableCos(spin);
    const double sT = portableSin(tilt);
    const double cT = portableCos(tilt);
    for (int32_t i = 0; i < vertices.count; ++i) {
        MeshVertex& m = vertices.items[i];
        const double x = m.x;
        const double y = m.y;
        const double z = m.z;
        const double u = x * cS + y * sS;
        m.depth = static_cast<int32_t>(z * cT - u * sT) + kViewDistance;
        // A vertex at or behind the eye is divided by 1; its depth stays as computed.
        const int32_t divisor = m.depth > 0 ? m.depth : 1;
        const double f = kViewScale / divisor;
        const double v = y * cS - x * sS;
        m.screenX = kCentreX - static_cast<int32_t>((v * f) * kWidthStretch);
        m.screenY = static_cast<int32_t>((z * sT - u * cT) * f) + kCentreY;
    }
}
