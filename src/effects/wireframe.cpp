// The projected mesh drawn as lines, and a light flare on every vertex.
#include "effects/wireframe.h"

namespace {

constexpr int32_t kFlareHalf = 16;

// Each edge is drawn in the colour of the vertex it starts at.
void drawEdge(Image& target, const MeshVertex& from, const MeshVertex& to) {
    drawLine(target, from.screenX, from.screenY, to.screenX, to.screenY, edgeColour(from));
}

}  // namespace

// 15 x height in bits 8 and up (3840 = 15 << 8), the low byte of the depth
// in bits 0..7. A negative height sets the top byte.
uint32_t edgeColour(const MeshVertex& v) {
    return static_cast<uint32_t>(v.z) * 3840u + (static_cast<uint32_t>(v.depth) & 0xFFu);
}

void drawWireframe(const TriangleList& triangles, Image& target) {
    for (int32_t i = 0; i < triangles.count; ++i) {
        const MeshTriangle& t = triangles.items[i];
        drawEdge(target, *t.corner0, *t.corner1);
        drawEdge(target, *t.corner1, *t.corner2);
        drawEdge(target, *t.corner2, *t.corner0);
    }
}

// Flares only for vertices strictly inside the frame's outer two rows and
// columns; the flare's centre pixel (16, 16) lands on the vertex.
void drawFlares(const VertexList& vertices, Image& target, const Image& flare) {
    const int32_t W = target.getWidth();
    const int32_t H = target.getHeight();
    for (int32_t i = 0; i < vertices.count; ++i) {
        const MeshVertex& v = vertices.items[i];
        if (1 < v.screenX && v.screenX < W - 1 && 1 < v.screenY && v.screenY < H - 1) {
            target.addBlend(flare, v.screenX - kFlareHalf, v.screenY - kFlareHalf);
        }
    }
}
