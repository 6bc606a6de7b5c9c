#pragma once
// The wave over the grid's heights and the spin/tilt/perspective projection.
#include "effects/mesh.h"

inline constexpr double kMeshTilt = -0.5;
inline constexpr int32_t kStrongWaveTime = 60000;

// Reads the global musicTime to choose the calm or the strong form.
void waveMesh(VertexList& vertices, double p, double q);
void projectMesh(VertexList& vertices, double spin, double tilt);
