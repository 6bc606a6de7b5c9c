// The grid of the main effect, its triangles, and the shift-register
// generator whose only use is the jitter that takes the grid apart.
#include "effects/mesh.h"

#include "raster/portable_trig.h"

namespace {

// The double nearest one third; it is multiplied in, never divided by 3.
constexpr double kThird = 0.3333333333333333;
constexpr int32_t kGridStart = -225;
constexpr int32_t kGridStep = 30;
constexpr int32_t kJitterRange = 250;

void buildVertices(VertexList& vertices) {
    vertices.allocate(kMeshVertexCount);
    for (int32_t r = 0; r < kMeshSide; ++r) {
        const int32_t y = kGridStart + kGridStep * r;
        const double rowTerm = 15.0 * portableSin(r * kThird);
        for (int32_t k = 0; k < kMeshSide; ++k) {
            const int32_t x = kGridStart + kGridStep * k;
            const int32_t z = static_cast<int32_t>(10.0 * portableSin(k * kThird) + rowTerm);
            vertices.items[kMeshSide * r + k] = MeshVertex(x, y, z);
        }
    }
}

// One triangle per grid cell: the cell's top-left, top-right and
// bottom-left corners, in that order.
void buildTriangles(VertexList& vertices, TriangleList& triangles) {
    constexpr int32_t cells = kMeshSide - 1;
    triangles.allocate(kMeshTriangleCount);
    MeshVertex* v = vertices.items;
    for (int32_t r = 0; r < cells; ++r) {
        for (int32_t k = 1; k <= cells; ++k) {
            triangles.items[cells * r + (k - 1)] =
                MeshTriangle(&v[kMeshSide * r + k - 1], &v[kMeshSide * r + k],
                             &v[kMeshSide * (r + 1) + k - 1]);
        }
    }
}

}  // namespace

int32_t randomBelow(RandomState& random, int32_t n) {
    const int32_t s = random.bits;
    const int32_t t = s ^ (s >> 3);
    random.bits = ((t & 1) << 30) | (s >> 1);
    return (t >> 1) % n;
}

void buildMesh(VertexList& vertices, TriangleList& triangles) {
    buildVertices(vertices);
    buildTriangles(vertices, triangles);
}

void jitterMesh(VertexList& vertices, int32_t time, RandomState& random) {
    if (time <= kJitterStartTime || vertices.count < 1) return;
    // Five draws in this order; each bound is drawn before the value it limits.
    MeshVertex& moved = vertices.items[randomBelow(random, vertices.count)];
    const int32_t a = randomBelow(random, kJitterRange);
    moved.x = randomBelow(random, kJitterRange - a);
    const int32_t b = randomBelow(random, kJitterRange);
    moved.y = randomBelow(random, kJitterRange - b);
}
