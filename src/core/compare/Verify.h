#pragma once
// What the verify after a write found: the image as it went out, the same with the written
// blocks as the radio holds them, and every difference between the two.

#include "compare/CompareSide.h"
#include "compare/Difference.h"
#include "image/RadioData.h"

#include <QString>
#include <optional>

namespace orv::compare {

struct VerifyReport {
    RadioData sent;                    // the image as the write put it on the wire
    std::optional<RadioData> readBack; // nothing when the read back failed
    Differences differences;           // between sent and readBack
    bool holdsWritten() const { return readBack.has_value() && differences.isEmpty(); }
};

// "Verify: the radio holds what was written."
QString verifyPassedText();
// "Verify failed: N difference(s) between what was written and what the radio holds."
QString verifyFailedText(qsizetype differences);

// The differences between what went out and what came back, both opened as the window opens
// a file. Every byte of the written blocks counts, the date stamp and the data-version bytes
// included: outside those blocks the two images are equal, so nothing else can show.
Differences writtenDifferences(const RadioData& sent, const RadioData& readBack, int dataVersion, const SideOpener& opener);

} // namespace orv::compare
