#pragma once
// Making a typed frequency valid: limited to the selected model's extended range and snapped
// to the nearer of the radio's two channel rasters, 6.25 kHz and 5 kHz.

#include "NumberText.h"

#include <QString>
#include <cstdint>

namespace orv {

struct ModelInfo;

// The model value whose radios only use the 6.25 kHz raster (446 MHz channels).
inline constexpr std::uint8_t Only625ModelByte = 0x20;

// f limited to the model's extended range; unchanged when there is no model.
double clampToBand(double f, const ModelInfo* model);

// A frequency clamped to the model's extended range and snapped to the nearer raster (6.25 kHz
// on a tie, always 6.25 kHz for model byte 0x20), rounded to 5 decimals, with the raster used.
struct ValidFrequency {
    double mhz;
    bool raster625;
};
ValidFrequency validFrequency(double mhz, const ModelInfo* model, std::uint8_t modelByte);

// Reads a typed frequency (with the format's decimal separator), clamps it to the model's extended
// range, snaps it to the nearer raster (6.25 kHz on a tie, always 6.25 kHz for model byte
// 0x20) and rounds it to 5 decimals. Returns false, leaving freq unchanged, for an empty or
// non-numeric text.
bool getValidFreq(const QString& text, double& freq, const ModelInfo* model, std::uint8_t modelByte,
                  const NumberFormat& fmt);

// True exactly for "6,25" and "6.25".
bool isStep625Text(const QString& text);

} // namespace orv
