#pragma once
// The compare engine: every difference between two radio data sets, field by field as the
// window shows them, in the image's order (channels, test channels, settings, model, tune
// values, radio information, then the spare table).
//
// Nothing may differ without being listed. The image is cut into regions: one channel
// record, one test channel, the settings block, the model block, the tune values, the
// information text, the date stamp, the radio ID, and every run of bytes outside these (the
// spare table is one more). When bytes of a region differ but no field of that region shows
// a difference (a raster flag, a reserved byte, a region without fields), the differing bytes
// are listed as ranges. A scope leaves out what it does not cover before that rule is
// applied, so it holds within the scope too.
//
// The engine only reads: neither side is ever changed.

#include "compare/CompareSide.h"
#include "compare/Difference.h"

namespace orv::compare {

// The differences between two sides as the window shows them.
Differences compareSides(const ShownSide& a, const ShownSide& b, Scope scope);

// The differences between two data sets, each opened as the window opens a file (only as far
// as it can differ from the other: SideOpener::openPair).
Differences compareDataSets(const DataSet& a, const DataSet& b, const SideOpener& opener, Scope scope);

} // namespace orv::compare
