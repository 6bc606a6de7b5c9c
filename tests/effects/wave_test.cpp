#include <gtest/gtest.h>

#include "effects/wave.h"

namespace {

struct Projected {
    int32_t depth, screenX, screenY;
};

Projected projectOne(int32_t x, int32_t y, int32_t z, double spin) {
    VertexList list(1);
    list.items[0] = MeshVertex(x, y, z);
    projectMesh(list, spin, kMeshTilt);
    const MeshVertex& v = list.items[0];
    return {v.depth, v.screenX, v.screenY};
}

void expectProjection(int32_t x, int32_t y, int32_t z, double spin, Projected expected) {
    const Projected p = projectOne(x, y, z, spin);
    EXPECT_EQ(p.depth, expected.depth) << "vertex " << x << "," << y << "," << z;
    EXPECT_EQ(p.screenX, expected.screenX) << "vertex " << x << "," << y << "," << z;
    EXPECT_EQ(p.screenY, expected.screenY) << "vertex " << x << "," << y << "," << z;
}

TEST(ProjectMesh, ListedVertices) {
    expectProjection(0, 0, 0, 1.0, {280, 320, 360});
    expectProjection(0, 0, 0, 2.7, {280, 320, 360});
    expectProjection(30, -60, 50, 1.0, {307, 236, 362});
    expectProjection(-225, -225, 0, 1.0, {131, 552, 672});
}

TEST(ProjectMesh, VertexBehindTheEyeIsDividedByOneAndKeepsItsDepth) {
    expectProjection(249, 0, -230, 3.0, {-40, -15492, 49349});
}

class WaveMesh : public ::testing::Test {
protected:
    void SetUp() override { buildMesh(vertices, triangles); }
    int32_t z(int32_t index) const { return vertices.items[index].z; }
    VertexList vertices;
    TriangleList triangles;
};

TEST_F(WaveMesh, FirstFrameCalmHeights) {
    waveMesh(vertices, 5.0, 1.0, 0);
    EXPECT_EQ(z(0), -11);  // -11.745 truncated toward zero
    EXPECT_EQ(z(1), -8);
    EXPECT_EQ(z(2), -4);
    EXPECT_EQ(z(3), 0);
    EXPECT_EQ(z(4), 6);
    EXPECT_EQ(z(15), -6);
}

TEST_F(WaveMesh, StrongHeights) {
    waveMesh(vertices, 92.10526315789474, 28.0, 70000);
    EXPECT_EQ(z(0), -82);
    EXPECT_EQ(z(1), -87);
    EXPECT_EQ(z(2), -92);
    EXPECT_EQ(z(3), -96);
    EXPECT_EQ(z(4), -99);
}

TEST_F(WaveMesh, FormChangesAtSixtySeconds) {
    waveMesh(vertices, 5.0, 1.0, 59999);
    EXPECT_EQ(z(0), -11);
    waveMesh(vertices, 92.10526315789474, 28.0, 60000);
    EXPECT_EQ(z(0), -82);
    waveMesh(vertices, 92.10526315789474, 28.0, 59999);
    EXPECT_NE(z(0), -82);
}

TEST(WaveMeshShortList, WritesOnlyTheVerticesThatExist) {
    VertexList list(20);  // one full row and part of another
    waveMesh(list, 5.0, 1.0, 0);
    EXPECT_EQ(list.items[0].z, -11);
    EXPECT_EQ(list.items[15].z, 0);  // a partial row is left alone
}

}  // namespace
