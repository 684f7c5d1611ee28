#pragma once
// The contents of a new image: default settings, and 16 channels on the model's start
// frequency (the fixed 446 MHz channel plan for model value 32).

#include "RadioData.h"

#include <QDateTime>

namespace orv {

struct ModelInfo;

// FunctionSettings = 68 03 03 05 01 00 30 06 FF FF 01 05 28 00 00 00.
void newImageSettings(RadioData& data);

// The 16 channel records for the model at catalog position `position` (model may be null
// when the catalog has no such position: the channels then stay at 0 MHz, out of use), the
// preset plan when ModelBlock byte 2 is 0x20, channel 16 out of use, and a fresh date stamp.
// Regions not named here keep their contents.
void newImageChannels(RadioData& data, int position, const ModelInfo* model, const QDateTime& now);

// The fixed channel plan of model value 32 (called by newImageChannels).
void presetFill(RadioData& data);

} // namespace orv
