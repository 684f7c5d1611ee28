#pragma once
// The fixed bytes and texts of the radio's serial protocol, shared by the program's side
// (link/), the virtual radio (sim/), the settings codec (the identity in ModelBlock) and the
// tools. The access codes are build-time values (AccessCodes.h); block addresses and sizes of
// the memory are in image/RadioData.h.

#include <QByteArray>

#include <string_view>

namespace orv::protocol {

// The acknowledgement, both ways: the radio's "yes" to a code, a command or a block, and the
// program's closing byte of the handshake and of tune mode.
inline constexpr char Ack = 0x06;
// The virtual radio's refusal (a write it will not store, a tune command it will not run).
inline constexpr char Nak = 0x15;

// The handshake: the program asks for the identity with 0x02 and the radio answers with its
// identity text, its model code, its data version and ModelBlock byte 0.
inline constexpr char IdentityRequest = 0x02;
inline constexpr std::string_view IdentityText{"RZ4K8"};
inline constexpr int IdentityReplySize = 8;
static_assert(IdentityText.size() + 3 == IdentityReplySize);
// Model codes above this one belong to no radio the program knows.
inline constexpr int HighestKnownModelCode = 32;

// Block commands: "R" (read) or "W" (write), address high, address low, 8; a write carries
// the 8 bytes. The radio answers a read with a 12-byte "W" reply and a write with 0x06.
inline constexpr char ReadCommand = 'R';  // 0x52
inline constexpr char WriteCommand = 'W'; // 0x57, also the header of a block reply
inline constexpr int BlockReplySize = 12;

// Closes programming mode.
inline constexpr std::string_view EndText{"END"};

// Tune mode: select a test channel ("C", n), its transmit signalling ("S", type, s1, s2), the
// narrow switch ("n"), and the items (letter, value, Live or Store).
inline constexpr char TuneChannel = 'C';      // 0x43
inline constexpr char TuneSignalling = 'S';   // 0x53
inline constexpr char TuneNarrow = 'n';       // 0x6E
inline constexpr char TuneLive = 0x01;        // apply the value now
inline constexpr char TuneStore = 0x02;       // apply it and store it as the item's tune value
inline constexpr char TuneBattery = 'B';      // 0x42, battery level
inline constexpr char TuneSquelchTight = 'M'; // 0x4D, squelch level 9
inline constexpr char TuneSquelchOpen = 'm';  // 0x6D, squelch level 3
inline constexpr char TuneCtcDeviation = 'Q'; // 0x51, CTC deviation (narrow after "n")
inline constexpr char TuneDcsDeviation = 'D'; // 0x44, DCS deviation (narrow after "n")
// What the radio answers to an item it carried out: battery "bN" 0x06, squelch "G" 0x00
// 0x06, the deviations 0x06 alone.
inline constexpr std::string_view TuneBatteryConfirmation{"bN\x06", 3};
inline constexpr std::string_view TuneSquelchConfirmation{"G\x00\x06", 3};
inline constexpr std::string_view TuneDeviationConfirmation{&Ack, 1};

// One of the texts above as bytes.
inline QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

} // namespace orv::protocol
