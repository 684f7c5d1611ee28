#pragma once
// The verify after a write: a second, short exchange that reads back exactly the blocks the
// Write command sends. It has its own handshake, a read request for each of those 38 blocks
// and "END", with the Read command's waits, and shows its own progress step ("Verifying
// ..."). It never writes to the radio.

#include "Feedback.h"
#include "image/RadioData.h"
#include "link/RadioLink.h"

#include <optional>

namespace orv {

// Reads back the written blocks. `written` is the image as the write put it on the wire
// (imageAsWritten); the result is `written` with those blocks as the radio holds them, so
// everything else stays equal. A block must come back from its own address with its 8
// bytes: anything else ends the exchange, as does a failed handshake or line, with its
// message shown and its reason left on the link; nothing is returned then. The port is
// closed at the end.
std::optional<RadioData> readBackWritten(RadioLink& link, Feedback& feedback, const RadioData& written);

} // namespace orv
