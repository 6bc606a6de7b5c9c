#include <gtest/gtest.h>

#include "effects/wireframe.h"

namespace {

MeshVertex projected(int32_t screenX, int32_t screenY, int32_t z, int32_t depth) {
    MeshVertex v(0, 0, z);
    v.screenX = screenX;
    v.screenY = screenY;
    v.depth = depth;
    return v;
}

TEST(EdgeColour, HeightAndDepthBytes) {
    EXPECT_EQ(edgeColour(projected(0, 0, 100, 300)), 0x0005DC2Cu);
    EXPECT_EQ(edgeColour(projected(0, 0, -100, 300)), 0xFFFA242Cu);
    EXPECT_EQ(edgeColour(projected(0, 0, 0, 280)), 0x00000018u);
    EXPECT_EQ(edgeColour(projected(0, 0, -11, 255)), 0xFFFF5BFFu);
    EXPECT_EQ(edgeColour(projected(0, 0, 0, -40)), 0x000000D8u);  // depth behind the eye
}

uint32_t at(const Image& image, int32_t x, int32_t y) { return image.getPixels()[y * image.getWidth() + x]; }

TEST(DrawWireframe, EachEdgeInItsStartColourLaterLinesWin) {
    MeshVertex a = projected(10, 10, 1, 1);
    MeshVertex b = projected(20, 10, 2, 2);
    MeshVertex c = projected(10, 20, 3, 3);
    TriangleList triangles(1);
    triangles.items[0] = MeshTriangle(&a, &b, &c);
    Image target(32, 32);
    drawWireframe(triangles, target);
    const uint32_t colourA = edgeColour(a), colourB = edgeColour(b), colourC = edgeColour(c);
    EXPECT_EQ(at(target, 15, 10), colourA);  // a -> b along the row
    EXPECT_EQ(at(target, 15, 15), colourB);  // b -> c, the diagonal
    EXPECT_EQ(at(target, 10, 15), colourC);  // c -> a along the column
    EXPECT_EQ(at(target, 10, 10), colourC);  // a is last touched by c -> a
    EXPECT_EQ(at(target, 20, 10), colourB);  // b: a -> b, then b -> c
    EXPECT_EQ(at(target, 10, 20), colourC);  // c: b -> c, then c -> a
    EXPECT_EQ(at(target, 19, 19), 0u);       // the cell's other half is empty
}

TEST(DrawWireframe, GridLeavesRowAndColumnFourteenUndrawn) {
    VertexList vertices;
    TriangleList triangles;
    buildMesh(vertices, triangles);
    // The grid laid flat on the frame: vertex (x, y) at pixel (x + 320, y + 240).
    for (int32_t i = 0; i < vertices.count; ++i) {
        vertices.items[i].screenX = vertices.items[i].x + 320;
        vertices.items[i].screenY = vertices.items[i].y + 240;
        vertices.items[i].depth = 280;
    }
    Image wire(640, 480);
    drawWireframe(triangles, wire);
    EXPECT_NE(at(wire, 420, 165 + 240), 0u);  // along row 13
    EXPECT_NE(at(wire, 165 + 320, 100), 0u);  // along column 13
    EXPECT_EQ(at(wire, 420, 195 + 240), 0u);  // along row 14
    EXPECT_EQ(at(wire, 195 + 320, 100), 0u);  // along column 14
}

class DrawFlares : public ::testing::Test {
protected:
    DrawFlares() : target(640, 480), flare(32, 32) {
        flare.fill(0x00010101);
        flare.getPixels()[16 * 32 + 16] = 0x00102030;  // the centre pixel
    }
    void flareAt(int32_t x, int32_t y) {
        VertexList list(1);
        list.items[0] = projected(x, y, 0, 280);
        drawFlares(list, target, flare);
    }
    uint32_t sum() const {
        uint64_t s = 0;
        for (int32_t i = 0; i < 640 * 480; ++i) s += target.getPixels()[i];
        return uint32_t(s);
    }
    Image target, flare;
};

TEST_F(DrawFlares, CentrePixelLandsOnTheVertex) {
    flareAt(100, 200);
    EXPECT_EQ(at(target, 100, 200), 0x00102030u);
    EXPECT_EQ(at(target, 84, 184), 0x00010101u);   // flare (0, 0)
    EXPECT_EQ(at(target, 115, 215), 0x00010101u);  // flare (31, 31)
    EXPECT_EQ(at(target, 116, 200), 0u);
    EXPECT_EQ(at(target, 83, 200), 0u);
}

TEST_F(DrawFlares, OnlyInsideTheOuterPixelRing) {
    flareAt(1, 240);
    flareAt(639, 240);
    flareAt(320, 1);
    flareAt(320, 479);
    flareAt(-5000, 100000);
    EXPECT_EQ(sum(), 0u);

    flareAt(2, 240);  // clipped on the left by the blend
    EXPECT_EQ(at(target, 2, 240), 0x00102030u);
    EXPECT_EQ(at(target, 0, 240), 0x00010101u);
    flareAt(638, 240);
    EXPECT_EQ(at(target, 638, 240), 0x00102030u);
    flareAt(320, 2);
    EXPECT_EQ(at(target, 320, 2), 0x00102030u);
    flareAt(320, 478);
    EXPECT_EQ(at(target, 320, 478), 0x00102030u);
}

}  // namespace
