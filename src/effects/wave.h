#pragma once
// The wave over the grid's heights and the spin/tilt/perspective projection.
#include "effects/choreography.h"
#include "effects/mesh.h"

inline constexpr double kMeshTilt = -0.5;

// Heights of the grid for column phase p and row phase q; the music time
// chooses the calm form or, from 60 seconds on, the strong one.
void waveMesh(VertexList& vertices, double p, double q, int32_t time);
void projectMesh(VertexList& vertices, double spin, double tilt);
