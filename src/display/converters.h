#pragma once
// Conversion of 0x00RRGGBB frame rows into the display surface's layout.
#include <cstdint>

using RowConverter = void (*)(const uint32_t* source, uint8_t* destination, uint32_t count);

void convertRowXrgb32(const uint32_t* source, uint8_t* destination, uint32_t count);
void convertRowXbgr32(const uint32_t* source, uint8_t* destination, uint32_t count);
void convertRowRgb24(const uint32_t* source, uint8_t* destination, uint32_t count);
void convertRowBgr24(const uint32_t* source, uint8_t* destination, uint32_t count);
void convertRowRgb565(const uint32_t* source, uint8_t* destination, uint32_t count);
void convertRowBgr565(const uint32_t* source, uint8_t* destination, uint32_t count);
void convertRowRgb555(const uint32_t* source, uint8_t* destination, uint32_t count);
void convertRowBgr555(const uint32_t* source, uint8_t* destination, uint32_t count);

// The converter for a surface layout, or nullptr when none matches.
RowConverter selectRowConverter(uint32_t bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);
