#pragma once
// Every wait of the protocol, once per request kind. The radio is a slow processor behind a
// 9600-baud line: these pauses, polls and settles are what it has always been given, and the
// tests check them to the millisecond on the virtual clock. Two kinds that happen to share
// their numbers still have a name each, so that one can change without the other.

#include "link/Protocol.h"

namespace orv {

// The waits of one request/reply step (RadioLink::sendAndWait): wait `pre`, send, wait until
// sent, wait `settle`, then poll up to `polls` times (wait `before`, test for `need` bytes,
// wait `after` unless stopAtOnce and the test succeeded), wait `takeDelay`, take the reply.
struct StepTiming {
    int pre = 0;
    int settle = 0;
    int need = 1;
    int polls = 0;
    int before = 0;
    int after = 0;
    bool stopAtOnce = false;
    int takeDelay = 0;
};

namespace timing {

// --- request/reply steps -------------------------------------------------------------------

// clang-format off
// The handshake's opening code (attempted).
inline constexpr StepTiming OpeningCode{.settle = 20, .polls = 41, .before = 10, .after = 5};
// The identity request 0x02.
inline constexpr StepTiming IdentityRequest{.pre = 40, .settle = 20, .need = protocol::IdentityReplySize,
                                            .polls = 61, .after = 5, .stopAtOnce = true};
// The handshake's final acknowledgement 0x06.
inline constexpr StepTiming FinalAck{.pre = 40, .settle = 20, .polls = 61, .after = 5};
// "END" (its answer is not looked at).
inline constexpr StepTiming End{.pre = 30, .polls = 31, .before = 20};

// A read block "R" of the Read command.
inline constexpr StepTiming ReadBlock{.pre = 25, .need = protocol::BlockReplySize, .polls = 81, .before = 10};
// A read block "R" of the verify after a write: the Read command's waits.
inline constexpr StepTiming VerifyBlock = ReadBlock;
// A write block "W" of the Write command.
inline constexpr StepTiming WriteBlock{.pre = 30, .polls = 51, .before = 20};
// A read block "R" of the radio information read.
inline constexpr StepTiming InfoReadBlock{.pre = 25, .need = protocol::BlockReplySize, .polls = 81,
                                         .before = 10};
// A read block "R" of the radio ID read (0x3E0, 0x3E8).
inline constexpr StepTiming IdReadBlock{.pre = 25, .need = protocol::BlockReplySize, .polls = 81, .before = 10};
// A write block "W" of the radio information write.
inline constexpr StepTiming InfoWriteBlock{.pre = 30, .polls = 51, .before = 20};

// A tune-area read block "R" (test channels, tune values) before tune mode.
inline constexpr StepTiming TuneAreaReadBlock{.pre = 30, .need = protocol::BlockReplySize, .polls = 61,
                                             .before = 20};
// The tune acknowledgement 0x06 after the tune area was read.
inline constexpr StepTiming TuneAck{.pre = 30, .polls = 41, .before = 20};
// The tune-mode code.
inline constexpr StepTiming TuneModeCode{.pre = 30, .polls = 41, .before = 20, .takeDelay = 20};
// A test-channel write block "W".
inline constexpr StepTiming TestChannelWriteBlock{.pre = 30, .polls = 41, .before = 10};

// Tune channel "C" before an item (attempted).
inline constexpr StepTiming TuneChannel{.polls = 21, .before = 20, .after = 5};
// Tune channel "C" again after an item was left (attempted).
inline constexpr StepTiming TuneChannelAfterItem{.polls = 61, .before = 20, .after = 5};
// Signalling "S" of the test channel.
inline constexpr StepTiming TuneSignalling{.pre = 40, .polls = 21, .before = 10, .after = 5,
                                           .stopAtOnce = true};
// Narrow "n" before a narrow item.
inline constexpr StepTiming TuneNarrow{.pre = 30, .polls = 21, .before = 20, .after = 5};
// Item enter: the item command with its stored value (need: its confirmation, withNeed).
inline constexpr StepTiming ItemEnter{.pre = 80, .polls = 41, .before = 10};
// Live value: the item command with the value bar's value (attempted; need as ItemEnter).
inline constexpr StepTiming LiveValue{.polls = 61, .before = 20, .after = 5};
// Item leave: the item command with the value kept or stored (need as ItemEnter).
inline constexpr StepTiming ItemLeave{.pre = 20, .polls = 60, .before = 20, .after = 5};
// The probe "R" of 0x2F0 / 0x2F8 that ends tune mode (attempted).
inline constexpr StepTiming Probe{.need = protocol::BlockReplySize, .polls = 41, .before = 20, .after = 5};
// The probe acknowledgement 0x06.
inline constexpr StepTiming ProbeAck{.pre = 20, .polls = 61, .before = 20, .after = 5};
// clang-format on

// `t` waiting for `need` bytes.
constexpr StepTiming withNeed(StepTiming t, int need) {
    t.need = need;
    return t;
}

// --- other waits (ms) --------------------------------------------------------------------------

inline constexpr int PortSettleMs = 80;     // after opening the port and discarding its buffers
inline constexpr int Attempts = 3;          // tries of an attempted step, until a byte arrives
inline constexpr int AttemptPauseMs = 80;   // before each try of an attempted step
inline constexpr int ReadPauseMs = 50;      // after the handshake, before the Read command's blocks
inline constexpr int WritePauseMs = 60;     // after the handshake, before the Write command's blocks
inline constexpr int VerifyPauseMs = ReadPauseMs; // after the handshake, before the verify's blocks
inline constexpr int InfoReadPauseMs = 50;  // after the handshake, before the information read's blocks
inline constexpr int IdReadPauseMs = 50;    // after the handshake, before the radio ID read's blocks
inline constexpr int InfoWritePauseMs = 20; // after the handshake, before the information write's blocks
inline constexpr int TuneAreaPauseMs = 0;   // before each tune-area block (the send buffer is discarded)
inline constexpr int AfterEndMs = 20;       // after "END", before the exchange reports completion
inline constexpr int AfterTuneCodeMs = 20;  // after the tune-mode code was answered
inline constexpr int BeforeProbeAckMs = 60; // between the probe's reply and the closing 0x06

} // namespace timing
} // namespace orv
