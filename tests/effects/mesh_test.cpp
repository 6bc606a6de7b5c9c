#include <gtest/gtest.h>

#include "effects/mesh.h"

namespace {

// Index of the single vertex whose x or y differs from the built grid, or -1.
int32_t movedVertex(const VertexList& before, const VertexList& after) {
    int32_t moved = -1;
    for (int32_t i = 0; i < after.count; ++i) {
        const MeshVertex& a = before.items[i];
        const MeshVertex& b = after.items[i];
        if (a.x != b.x || a.y != b.y) {
            if (moved >= 0) return -2;
            moved = i;
        }
    }
    return moved;
}

TEST(RandomBelow, FollowsTheShiftRegisterFromTheStartState) {
    RandomState random;
    EXPECT_EQ(randomBelow(random, 1000), 943);  // 6943 before the modulo
    EXPECT_EQ(random.bits, 6172);
    EXPECT_EQ(randomBelow(random, 1000), 471);  // 3471
    EXPECT_EQ(random.bits, 1073744910);
    EXPECT_EQ(randomBelow(random, 1000), 511);  // 603981511
}

TEST(RandomBelow, BoundOfOneStillAdvancesTheState) {
    RandomState random;
    EXPECT_EQ(randomBelow(random, 1), 0);
    EXPECT_EQ(random.bits, 6172);
}

TEST(BuildMesh, GridCornersAndStartHeights) {
    VertexList vertices;
    TriangleList triangles;
    buildMesh(vertices, triangles);
    ASSERT_EQ(vertices.count, 225);
    ASSERT_EQ(triangles.count, 196);
    const MeshVertex* v = vertices.items;
    EXPECT_EQ(v[0].x, -225);
    EXPECT_EQ(v[0].y, -225);
    EXPECT_EQ(v[14].x, 195);
    EXPECT_EQ(v[14].y, -225);
    EXPECT_EQ(v[210].x, -225);
    EXPECT_EQ(v[210].y, 195);
    EXPECT_EQ(v[224].x, 195);
    EXPECT_EQ(v[224].y, 195);
    EXPECT_EQ(v[0].z, 0);
    EXPECT_EQ(v[4].z, 9);
    EXPECT_EQ(v[112].z, 18);
    EXPECT_EQ(v[224].z, -24);  // truncated toward zero, not rounded down
}

TEST(BuildMesh, OneTrianglePerCellPointingIntoTheVertexArray) {
    VertexList vertices;
    TriangleList triangles;
    buildMesh(vertices, triangles);
    const MeshVertex* v = vertices.items;
    const struct {
        int32_t triangle, c0, c1, c2;
    } expected[] = {{0, 0, 1, 15}, {13, 13, 14, 28}, {14, 15, 16, 30}, {195, 208, 209, 223}};
    for (const auto& e : expected) {
        const MeshTriangle& t = triangles.items[e.triangle];
        EXPECT_EQ(t.corner0, v + e.c0) << "triangle " << e.triangle;
        EXPECT_EQ(t.corner1, v + e.c1) << "triangle " << e.triangle;
        EXPECT_EQ(t.corner2, v + e.c2) << "triangle " << e.triangle;
    }
}

TEST(JitterMesh, FirstMovesFromTheStartState) {
    VertexList grid, vertices;
    TriangleList gridTriangles, triangles;
    buildMesh(grid, gridTriangles);
    buildMesh(vertices, triangles);
    RandomState random;

    jitterMesh(vertices, 40001, random);
    ASSERT_EQ(movedVertex(grid, vertices), 193);
    EXPECT_EQ(vertices.items[193].x, 19);
    EXPECT_EQ(vertices.items[193].y, 85);
    EXPECT_EQ(vertices.items[193].z, grid.items[193].z);  // only the plane position moves

    grid.items[193] = vertices.items[193];
    jitterMesh(vertices, 41000, random);
    ASSERT_EQ(movedVertex(grid, vertices), 118);
    EXPECT_EQ(vertices.items[118].x, 54);
    EXPECT_EQ(vertices.items[118].y, 137);
}

TEST(JitterMesh, NothingUpToFortySeconds) {
    VertexList grid, vertices;
    TriangleList gridTriangles, triangles;
    buildMesh(grid, gridTriangles);
    buildMesh(vertices, triangles);
    RandomState random;
    jitterMesh(vertices, 40000, random);
    jitterMesh(vertices, 0, random);
    jitterMesh(vertices, -5, random);
    EXPECT_EQ(random.bits, kRandomSeed);
    EXPECT_EQ(movedVertex(grid, vertices), -1);
}

}  // namespace
