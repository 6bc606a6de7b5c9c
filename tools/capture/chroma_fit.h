#pragma once
// The frame as the planes of a 4:2:0 video (BT.709, limited range), chosen
// for how a player shows them rather than converted pixel by pixel.
//
// A player rebuilds each pixel's colour by interpolating the colour samples,
// one per 2x2 pixels, bilinearly from their centres. The grid's lines are
// one frame pixel wide and strongly coloured, so averaging each 2x2 block's
// colour and letting the player interpolate it smears them into their
// neighbours. Here the colour samples are instead the least-squares fit of
// the interpolated colour to every pixel's own colour, and each pixel's
// brightness is then chosen, knowing the colour the player will give it, so
// that the RGB it shows (clipped to 0-255, as players clip) is the nearest
// to the composed one.
#include <cstdint>
#include <vector>

#include "raster/image.h"

class ChromaFit {
public:
    // The video's size; both sides even. Every buffer is allocated here.
    ChromaFit(int32_t width, int32_t height);

    // Scales the frame to the video's size by nearest neighbour and fills
    // planes(): Y (width x height), then Cb and Cr (each width/2 x height/2).
    void convert(const Image& frame);
    const std::vector<uint8_t>& planes() const { return yuv; }

    // The two colour samples a player blends for one pixel of an axis.
    struct Blend {
        int32_t near, far;
    };

private:
    // The interpolation of n colour samples to 2n pixels, as equations to
    // solve for the samples: the tridiagonal normal matrix, factored once.
    struct Axis {
        explicit Axis(int32_t samples);
        // Solves in place for one row of samples, or for each column.
        void solveRow(float* values) const;
        void solveColumns(float* values, int32_t columns) const;

        std::vector<float> lower;         // the elimination's factors
        std::vector<float> inversePivot;  // 1 / the eliminated diagonal
        std::vector<float> upper;         // the normal matrix's off-diagonal
    };

    void fitChroma(const Image& frame);
    const uint32_t* sourceRowOf(const Image& frame, int32_t y) const;
    void fitLuma(const Image& frame);

    int32_t width, height;
    std::vector<int32_t> sourceColumn, sourceRow;  // nearest-neighbour scaling
    std::vector<Blend> columnBlends;               // the samples of each column
    Axis across, down;
    std::vector<float> columnSums;  // Cb and Cr, chroma width x full height; then one row of each
    std::vector<float> fitted;      // Cb and Cr at the colour samples, centred on 0
    std::vector<uint8_t> yuv;
};
