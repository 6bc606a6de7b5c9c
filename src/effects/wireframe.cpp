// The projected mesh drawn as lines, and a light flare on every vertex.
#include "effects/wireframe.h"

#include <algorithm>

#include "raster/saturating_add.h"

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
//
// Every flare is the same picture, added RGB-saturating. A pixel whose RGB
// is 0 adds nothing, so each flare row is added only over the span between
// its first and last lit pixel (widened to whole groups of four pixels where
// the row allows): the same bytes as the blend of the whole flare, with the
// dark corners and rows of a round light left out.
void drawFlares(const VertexList& vertices, Image& target, const Image& flare) {
    const int32_t W = target.getWidth();
    const int32_t H = target.getHeight();
    const int32_t fw = flare.getWidth();
    const int32_t fh = flare.getHeight();
    constexpr int32_t kMaxSpanRows = 64;
    auto inside = [&](const MeshVertex& v) {
        return 1 < v.screenX && v.screenX < W - 1 && 1 < v.screenY && v.screenY < H - 1;
    };
    if (fh > kMaxSpanRows || fw <= 0) {
        for (int32_t i = 0; i < vertices.count; ++i) {
            const MeshVertex& v = vertices.items[i];
            if (inside(v)) target.addBlend(flare, v.screenX - kFlareHalf, v.screenY - kFlareHalf);
        }
        return;
    }

    // Columns [first, end) of every flare row that can change the target.
    int32_t first[kMaxSpanRows], end[kMaxSpanRows];
    const uint32_t* fp = flare.getPixels();
    for (int32_t r = 0; r < fh; ++r) {
        const uint32_t* row = fp + int64_t{r} * fw;
        int32_t a = 0, b = fw;
        while (a < fw && (row[a] & 0x00FFFFFF) == 0) ++a;
        while (b > a && (row[b - 1] & 0x00FFFFFF) == 0) --b;
        const int32_t groups = (b - a + 3) / 4;
        b = std::min(a + 4 * groups, fw);
        a = std::max(b - 4 * groups, 0);
        first[r] = a;
        end[r] = b;
    }

    uint32_t* pixels = target.getPixels();
    for (int32_t i = 0; i < vertices.count; ++i) {
        const MeshVertex& v = vertices.items[i];
        if (!inside(v)) continue;
        const int64_t x = int64_t{v.screenX} - kFlareHalf;
        const int64_t y = int64_t{v.screenY} - kFlareHalf;
        const int64_t r0 = std::max<int64_t>(0, -y);
        const int64_t r1 = std::min<int64_t>(fh, H - y);
        for (int64_t r = r0; r < r1; ++r) {
            const int64_t c0 = std::max<int64_t>(first[r], -x);
            const int64_t c1 = std::min<int64_t>(end[r], W - x);
            if (c0 < c1) addRowSaturated(pixels + (y + r) * W + x + c0, fp + r * fw + c0, c1 - c0);
        }
    }
}
