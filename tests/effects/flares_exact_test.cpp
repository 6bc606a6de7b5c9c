// drawFlares against the plain blend of the whole flare at every vertex:
// same bytes for flares with dark borders, holes and lit edges, on frames
// with random (also saturating and top-byte) pixels, at vertices along and
// just inside every edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "effects/wireframe.h"

namespace {

// Every vertex drawFlares accepts gets the whole flare added with addBlend.
void referenceFlares(const VertexList& vertices, Image& target, const Image& flare) {
    for (int32_t i = 0; i < vertices.count; ++i) {
        const MeshVertex& v = vertices.items[i];
        if (1 < v.screenX && v.screenX < target.getWidth() - 1 && 1 < v.screenY && v.screenY < target.getHeight() - 1)
            target.addBlend(flare, v.screenX - 16, v.screenY - 16);
    }
}

void randomFrame(Image& image, std::mt19937& rng) {
    for (int32_t i = 0; i < image.getWidth() * image.getHeight(); ++i) image.getPixels()[i] = rng();
}

// A flare lit inside a disc of the given radius around (16, 16), dark
// elsewhere; dark pixels may still carry top-byte bits, which add nothing.
void discFlare(Image& flare, int32_t radius, std::mt19937& rng) {
    for (int32_t y = 0; y < flare.getHeight(); ++y) {
        for (int32_t x = 0; x < flare.getWidth(); ++x) {
            const int32_t d2 = (x - 16) * (x - 16) + (y - 16) * (y - 16);
            const uint32_t top = rng() & 0xFF000000u;
            flare.getPixels()[y * flare.getWidth() + x] = top | (d2 <= radius * radius ? (rng() & 0x00FFFFFF) : 0u);
        }
    }
}

void verticesAlongTheEdges(VertexList& list, int32_t W, int32_t H, std::mt19937& rng) {
    std::vector<std::pair<int32_t, int32_t>> places;
    for (int32_t d : {0, 1, 2, 3, 5, 14, 15, 16, 17, 18, 31, 33}) {
        places.push_back({d, int32_t(rng() % H)});
        places.push_back({W - 1 - d, int32_t(rng() % H)});
        places.push_back({int32_t(rng() % W), d});
        places.push_back({int32_t(rng() % W), H - 1 - d});
        places.push_back({d, H - 1 - d});
    }
    for (int32_t k = 0; k < 40; ++k) places.push_back({int32_t(rng() % W), int32_t(rng() % H)});
    list.allocate(int32_t(places.size()));
    for (size_t i = 0; i < places.size(); ++i) {
        list.items[i].screenX = places[i].first;
        list.items[i].screenY = places[i].second;
    }
}

TEST(DrawFlaresExact, SameBytesAsTheWholeFlareBlend) {
    std::mt19937 rng(42);
    Image flare(32, 32);
    for (int32_t radius : {0, 1, 5, 13, 16, 30, 64}) {
        discFlare(flare, radius, rng);
        for (auto [W, H] : {std::pair{640, 480}, std::pair{37, 29}}) {
            Image expected(W, H), actual(W, H);
            randomFrame(expected, rng);
            actual.copyOpaque(expected, 0, 0);
            VertexList vertices;
            verticesAlongTheEdges(vertices, W, H, rng);
            referenceFlares(vertices, expected, flare);
            drawFlares(vertices, actual, flare);
            ASSERT_TRUE(std::equal(expected.getPixels(), expected.getPixels() + W * H, actual.getPixels()))
                << "radius " << radius << " frame " << W << "x" << H;
        }
    }
}

// Lit pixels scattered over rows (a lone pixel, a gap in the middle, a lit
// edge column) and flares of other sizes than 32 x 32.
TEST(DrawFlaresExact, IrregularAndOtherSizedFlares) {
    std::mt19937 rng(7);
    for (auto [fw, fh] : {std::pair{32, 32}, std::pair{12, 12}, std::pair{5, 40}, std::pair{33, 3}, std::pair{8, 70}}) {
        Image flare(fw, fh);
        for (int32_t i = 0; i < fw * fh; ++i) flare.getPixels()[i] = (rng() % 5 == 0) ? (rng() & 0x00FFFFFF) : 0u;
        flare.getPixels()[fw - 1] = 0x00FFFFFF;       // row 0: lit last column only
        flare.getPixels()[(fh - 1) * fw] = 0x000100;  // last row: lit first column
        Image expected(96, 80), actual(96, 80);
        randomFrame(expected, rng);
        actual.copyOpaque(expected, 0, 0);
        VertexList vertices;
        verticesAlongTheEdges(vertices, 96, 80, rng);
        referenceFlares(vertices, expected, flare);
        drawFlares(vertices, actual, flare);
        ASSERT_TRUE(std::equal(expected.getPixels(), expected.getPixels() + 96 * 80, actual.getPixels()))
            << fw << "x" << fh;
    }
}

}  // namespace
