#pragma once
// The 15x15 grid of the main effect, its triangles and the jitter that
// takes it apart one vertex per frame after 40 seconds.
#include <cstdint>

#include "effects/choreography.h"

struct MeshVertex {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    int32_t screenX = 0;
    int32_t screenY = 0;
    int32_t depth = 0;
    MeshVertex() = default;
    MeshVertex(int32_t x0, int32_t y0, int32_t z0) : x(x0), y(y0), z(z0) {}
};

struct MeshTriangle {
    MeshVertex* corner0 = nullptr;
    MeshVertex* corner1 = nullptr;
    MeshVertex* corner2 = nullptr;
    MeshTriangle() = default;
    MeshTriangle(MeshVertex* a, MeshVertex* b, MeshVertex* c) : corner0(a), corner1(b), corner2(c) {}
};

// One holder shape for both element types: a fixed-size owned array.
template <typename T>
struct ItemList {
    int32_t count = 0;
    T* items = nullptr;

    ItemList() = default;
    explicit ItemList(int32_t n) { allocate(n); }
    ~ItemList() { release(); }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;

    void allocate(int32_t n) {
        release();
        count = n;
        items = new T[n]();
    }
    void release() {
        delete[] items;
        items = nullptr;
        count = 0;
    }
};

using VertexList = ItemList<MeshVertex>;
using TriangleList = ItemList<MeshTriangle>;

inline constexpr int32_t kMeshSide = 15;
inline constexpr int32_t kMeshVertexCount = 225;
inline constexpr int32_t kMeshTriangleCount = 196;

inline constexpr int32_t kRandomSeed = 12345;

// The shift register of the only pseudo-random source; every run starts it
// at 12345, so every run jitters the mesh in the same sequence.
struct RandomState {
    int32_t bits = kRandomSeed;
};

// The next number in 0 .. n - 1; advances random.
int32_t randomBelow(RandomState& random, int32_t n);
void buildMesh(VertexList& vertices, TriangleList& triangles);
// Moves one vertex to a random place when time is past the jitter start.
void jitterMesh(VertexList& vertices, int32_t time, RandomState& random);
