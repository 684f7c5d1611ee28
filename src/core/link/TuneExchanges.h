#pragma once
// The exchanges of the radio's service (tune) mode: entering it (reading the test channels
// and tune values, then the tune-mode code), entering, driving and leaving one tune item,
// writing the test channels, and ending the mode with a probe. Each is one function on a
// RadioLink and leaves a failure's reason on it (RadioLink::failure()); what the user sees
// around them is the tune session's.

#include "Feedback.h"
#include "image/RadioData.h"
#include "link/RadioLink.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>

namespace orv {

inline constexpr int TuneItemCount = 7;
inline constexpr int TuneValueMax = 255;

// One tune item: its tree key and caption, its command letter, the commands that prepare it
// and the reply that confirms it.
struct TuneItem {
    const char* key;
    const char* caption;
    char letter;
    std::string_view confirm; // the radio's reply to the item command
    bool signalling;          // the test channel's transmit signalling is sent first
    bool narrow;              // then the narrow command
    QByteArray confirmation() const { return QByteArray(confirm.data(), qsizetype(confirm.size())); }
};
// Item code 0..6 ("Battery" .. "DCSDevN").
const TuneItem& tuneItem(int code);
// The item code of a tree key, or -1.
int tuneItemCode(const QString& key);

// Tune-mode commands.
QByteArray tuneChannelCommand(int testChannel);                  // "C", n
QByteArray tuneSignallingCommand(const RadioData& data, int testChannel); // "S", t, s1, s2
QByteArray tuneItemCommand(int code, int value, bool store);     // letter, v, 0x01 / 0x02

// The radio entered tune mode: the tune area it sent and its identity.
struct TuneModeEntry {
    RadioData data; // the caller's data with the test channels and tune values from the radio
    int modelCode = 0;
    RadioLink::Identity identity;
};

// The Tune command's exchange: handshake, the 22 test-channel blocks and 2 tune-value
// blocks, 0x06, the tune-mode code; progress and failure messages through the feedback; the
// port is closed at the end. Only replies for the tune area are kept. Nothing on failure.
std::optional<TuneModeEntry> enterTuneMode(RadioLink& link, Feedback& feedback, const RadioData& current);

// Puts the radio into item `code` on test channel `testChannel` (channel, signalling, narrow,
// then the item with its stored value). Opens the port and leaves it open. 1 entered, 0 failed.
int enterTuneItem(RadioLink& link, int code, int testChannel, const RadioData& data);
// A live value for the active item; true when the radio confirmed it.
bool sendTuneValue(RadioLink& link, int code, int value);
// Leaves the item with `value`, storing it in the radio when `store`, then selects the test
// channel again. The port stays open. 1 left, 0 failed.
int leaveTuneItem(RadioLink& link, int code, int testChannel, int value, bool store);

// Writes the test-channel records of `data` (handshake, 22 blocks, back to tune mode) with
// progress and messages; the port is closed at the end. 1 written, 0 failed.
int writeTuneChannels(RadioLink& link, Feedback& feedback, const RadioData& data);

// Ends tune mode with a probe (block 0x2F0 after entering, 0x2F8 after an item was left) and
// the acknowledgement. True when the radio acknowledged. The port is closed at the end.
bool leaveTuneModeProbe(RadioLink& link, bool itemWasLeft);

} // namespace orv
