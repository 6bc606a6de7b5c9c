#pragma once
// The projected mesh drawn as coloured lines, and a light flare per vertex.
#include "effects/mesh.h"
#include "raster/image.h"

uint32_t edgeColour(const MeshVertex& v);
void drawLine(Image& target, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void drawWireframe(const TriangleList& triangles, Image& target);
void drawFlares(const VertexList& vertices, Image& target, const Image& flare);
