#pragma once
// The CTC tone and DCS code tables shared by the codec, the signalling dialog and the
// preset channel plan.

#include <array>

namespace orv {

// Index 0 = no tone, 1..38 the standard tones in Hz.
extern const std::array<double, 39> CtcToneTable;
// The 83 standard DCS codes, each held as a number whose decimal digits are the octal code
// (code 023 is 23).
extern const std::array<int, 83> DcsCodeTable;

} // namespace orv
