#pragma once
// The radio ID read: a short exchange that tells which radio is on the port without reading
// the rest of its memory. It has its own handshake, a read request for each of the two blocks
// of the radio ID (0x3E0 and 0x3E8) and "END". A fleet's port uses it to identify each radio
// before anything else and, when radios are swapped on one cable, polls with it until the
// next radio answers. It shows no progress and no completion message; it never writes.

#include "Feedback.h"
#include "image/RadioData.h"
#include "link/RadioLink.h"

#include <optional>

namespace orv {

// Reads the radio ID. Returns `current` with the 16 ID bytes as the radio holds them; nothing
// when the handshake, a block (which must come back from its own address with 8 bytes) or
// the line failed - its message shown, its reason left on the link. The port is closed at
// the end.
std::optional<RadioData> readRadioIdBlocks(RadioLink& link, Feedback& feedback, const RadioData& current);

} // namespace orv
