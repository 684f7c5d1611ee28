#pragma once
// A plan without warnings for the tests of the check: channel n receives and transmits
// 140 + n MHz (inside 136~174 MHz), so that a test sees only the warnings it makes.

#include "document/Document.h"

namespace orv::test {

inline void giveChannelsTheirOwnFrequencies(Document& doc) {
    for (int ch = 1; ch <= addr::ChannelCount; ++ch) {
        const QString f = doc.numbers().fixed(140.0 + ch, 3, 5);
        doc.setChannelCell(ch, ColRxFreq, f);
        doc.setChannelCell(ch, ColTxFreq, f);
    }
}

} // namespace orv::test
