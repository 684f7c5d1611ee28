#pragma once
// Channel record fields as texts: frequencies ("146.52500") and signalling ("OFF",
// "CTC 88.5", "DCS 023", "-DCS 754", "TTS 5"), both directions.

#include "catalog/NumberText.h"

#include <QString>
#include <cstdint>

namespace orv {

// Three frequency bytes (count bits 0-7, 8-15, 16-17 plus the raster flag in bit 2 of the
// third) as MHz formatted "000.00000".
QString decodeFrequency(std::uint8_t lo, std::uint8_t mid, std::uint8_t hi, const NumberFormat& fmt);
// The frequency of the count on its raster, in MHz.
double frequencyMHz(std::uint8_t lo, std::uint8_t mid, std::uint8_t hi);

// Stores a frequency text on the nearer raster (6.25 kHz on a tie). Bits 3-7 of hi are kept;
// count bits above bit 17 are dropped. A text that is not a non-negative number leaves the
// bytes as they are and returns false.
bool encodeFrequency(const QString& text, std::uint8_t& lo, std::uint8_t& mid, std::uint8_t& hi,
                     const NumberFormat& fmt);

QString ctcToText(std::uint8_t lo, std::uint8_t hi, const NumberFormat& fmt); // "#00.0": 67.0, 100.0, 250.3
QString dcsToText(std::uint8_t lo, std::uint8_t hi); // three octal digits: 023, 754

// Signalling as text from the type byte (its upper nibble) and the two value bytes.
QString signallingToText(std::uint8_t type, std::uint8_t lo, std::uint8_t hi, const NumberFormat& fmt);
// Stores a signalling text: the upper nibble of type and both value bytes are rewritten, the
// lower nibble of type kept. Returns false when the text could not be stored as given (it is
// then stored as OFF); "OFF" itself also returns false but is stored correctly.
bool textToSignalling(const QString& text, std::uint8_t& type, std::uint8_t& lo, std::uint8_t& hi,
                      const NumberFormat& fmt);

} // namespace orv
