#pragma once
// A block read that must come back whole from the address asked for: the verify after a write
// and the radio ID read take nothing else for the radio's bytes.

#include "image/RadioData.h"
#include "link/RadioLink.h"
#include "link/Timings.h"

namespace orv {

// Asks for the block at `address` and stores its 8 bytes into `into`. False when the link
// failed or the reply was not a data reply of that address with 8 bytes; the reason is then
// noted on the link and `into` is unchanged.
bool readOwnBlock(RadioLink& link, int address, const StepTiming& timing, RadioData& into);

} // namespace orv
