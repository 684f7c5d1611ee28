#pragma once
// Why an exchange with the radio failed. The link keeps the first reason since it was last
// cleared; the messages the user sees stay the exchanges' own.

#include <QString>

namespace orv {

// Why an exchange failed, for the history, the fleet and the exchange runner's typed result.
enum class LinkFailure {
    None,
    PortUnavailable, // the port could not be opened (no device, no permission, busy)
    NoAnswer,        // the radio did not answer (opening code, a block, END's acknowledgement)
    WrongRadio,      // the identity reply was not this radio family's ("RZ4K8")
    RefusedBlock,    // the radio answered a write with something other than 0x06
    BadReply,        // a reply too short, with a bad header, length or address, or not the
                     // expected confirmation
    LineLost,        // a serial operation failed (cable pulled, device gone)
    Stopped,         // the cancel token was set
    Mismatch,        // the verify after a write found other bytes in the radio than were written
};

// A stable name for logs and the history: "none", "port-unavailable", "no-answer",
// "wrong-radio", "refused-block", "bad-reply", "line-lost", "stopped", "mismatch".
QString linkFailureName(LinkFailure f);

} // namespace orv
