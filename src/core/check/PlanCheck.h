#pragma once
// The check of the plan: warnings about the data as they stand in a document - the channel
// table, the settings and the test channels as the editors show them. None of them stops
// anything, and the check never changes the data.
//
// What is warned about:
//  - a channel in use with a receive or transmit frequency outside the model's standard band
//    (typing allows the wider extended range); the transmit side of a "No Tx" channel is not
//    looked at;
//  - a channel in use whose receive frequency is 0 MHz (or not a number);
//  - two channels in use with the same Rx Freq and Rx CTC/DCS texts;
//  - "Priority CH" naming a channel that is "No CH";
//  - a test channel in use with a frequency outside the standard band (the transmit side of a
//    "No Tx" test channel is not looked at).
// Without a selected model (or one whose standard band is unknown) nothing is checked against
// the band.

#include "image/SettingsCodec.h"

#include <QString>
#include <vector>

namespace orv {

class Document;

enum class CheckKind {
    OutsideBand,            // a channel's Rx Freq or Tx Freq
    NoReceiveFrequency,     // a channel's Rx Freq is 0 MHz
    SameReception,          // a channel receives what an earlier channel receives
    PriorityNotInUse,       // "Priority CH" names a "No CH" channel
    TestChannelOutsideBand, // a test channel's Rx Freq or Tx Freq
};

// Where a warning leads: a cell of the channel grid, a settings list, or a cell of the tune
// grid. Rows and columns are those of the grids: channel 1..16 with a ChannelColumn, test
// channel 1..11 with a TuneColumn.
struct CheckPlace {
    enum Area { ChannelGrid, SettingsList, TuneGrid };
    Area area = ChannelGrid;
    int row = 0;
    int column = 0;
    Setting setting = Setting::Monitor; // SettingsList only
    bool operator==(const CheckPlace&) const = default;
};

struct CheckWarning {
    CheckKind kind;
    // One line for a technician: "CH 3: Rx Freq 180.00000 MHz is outside the standard band
    // 136.00000~174.00000 MHz".
    QString text;
    CheckPlace place;
    bool operator==(const CheckWarning&) const = default;
};

// The warnings, channel by channel (Rx Freq before Tx Freq), then "Priority CH", then the
// test channels. Empty when there is nothing to say.
std::vector<CheckWarning> checkPlan(const Document& document);

// How a warning names its place: "CH 3", "Test CH 2", or the settings list's caption
// ("Priority CH").
QString checkPlaceName(const CheckPlace& place);

} // namespace orv
