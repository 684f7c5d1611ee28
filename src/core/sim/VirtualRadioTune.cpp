// The virtual radio's service (tune) mode: entered from programming mode with the tune-mode
// code, it selects test channels, takes the transmit signalling and the narrow switch, runs
// the tune items live or stores their values at 0x2F0, and ends on a probe read answered by
// the program's 0x06.
#include "VirtualRadio.h"

#include "link/AccessCodes.h"

namespace orv::sim {

namespace {

using protocol::Ack;
using protocol::Nak;
constexpr char Channel = protocol::TuneChannel;
constexpr char Signalling = protocol::TuneSignalling;
constexpr char Narrow = protocol::TuneNarrow;
constexpr char Probe = protocol::ReadCommand;
constexpr int ProbePage = 0x02; // the probe reads page 2 (0x200-0x2FF): the tune values
constexpr char Live = protocol::TuneLive;
constexpr char Store = protocol::TuneStore;
constexpr int TuneItemCount = 7;
static_assert(addr::TuneValues + TuneItemCount <= addr::ImageSize);

// Item code of an item letter ("Q" and "D" are the narrow items 5 and 6 after "n"); -1 for
// any other byte.
int itemCode(char letter, bool narrow) {
    switch (letter) {
    case protocol::TuneBattery:
        return 0;
    case protocol::TuneSquelchTight:
        return 1;
    case protocol::TuneSquelchOpen:
        return 2;
    case protocol::TuneCtcDeviation:
        return narrow ? 5 : 3;
    case protocol::TuneDcsDeviation:
        return narrow ? 6 : 4;
    default:
        return -1;
    }
}

// The reply that tells the program the item command was carried out.
QByteArray confirmingReply(char letter) {
    switch (letter) {
    case protocol::TuneBattery:
        return protocol::bytes(protocol::TuneBatteryConfirmation);
    case protocol::TuneSquelchTight:
    case protocol::TuneSquelchOpen:
        return protocol::bytes(protocol::TuneSquelchConfirmation);
    default:
        return protocol::bytes(protocol::TuneDeviationConfirmation);
    }
}

// Bytes in the tune command that begins with `first`; 0 when none does.
int commandLength(char first) {
    if (first == Ack || first == Narrow)
        return 1;
    if (first == Channel)
        return 2;
    if (itemCode(first, false) >= 0)
        return 3;
    if (first == Signalling || first == Probe)
        return 4;
    return 0;
}

} // namespace

QByteArray VirtualRadio::enterTune() {
    ++m_log.tuneCodes;
    if (m_faults.noTuneAck)
        return {};
    m_mode = Mode::Tune;
    m_tune = TuneState{};
    m_probed = false;
    ++m_log.tuneEntries;
    if (m_faults.tuneSilentAfter >= 0 && m_log.tuneCommands.size() >= m_faults.tuneSilentAfter)
        m_mode = Mode::Silent; // acknowledges the code, then nothing more
    return QByteArray(1, Ack);
}

// "C" n | "S" t s1 s2 | "n" | letter v m | "R" 0x02 lo 0x08 | 0x06. The bytes of an opening
// code are held too, so its letters cannot run items; the whole code is caught before here.
VirtualRadio::Held VirtualRadio::heldInTune(const QByteArray& bytes) const {
    static const QByteArray opening = access::openingCode();
    const int size = int(bytes.size());
    const int length = commandLength(bytes[0]);
    const bool probeInStep = bytes[0] != Probe || ((size < 2 || bytes[1] == ProbePage) &&
                                                   (size < 4 || bytes[3] == addr::BlockSize));
    if (length > 0 && probeInStep)
        return size == length ? Held::Whole : Held::Partial;
    return opening.startsWith(bytes) ? Held::Partial : Held::Nothing;
}

QByteArray VirtualRadio::tuneCommand(const QByteArray& cmd, bool afterProbe) {
    QByteArray reply(1, Ack);
    switch (cmd[0]) {
    case Ack:
        if (afterProbe) {
            m_mode = Mode::Idle;
            ++m_log.tuneExits;
        }
        break;
    case Narrow:
        m_tune.narrow = true;
        break;
    case Channel: {
        const int n = std::uint8_t(cmd[1]);
        if (n >= 1 && n <= addr::TestChannelCount) {
            m_tune.channel = n;
            m_tune.narrow = false;
        } else {
            reply = QByteArray(1, Nak);
        }
        break;
    }
    case Signalling:
        m_tune.signalling = cmd.mid(1);
        break;
    case Probe: // a plain block reply: the block faults are for programming mode
        reply = blockReply(256 * ProbePage + std::uint8_t(cmd[2]));
        m_probed = true;
        break;
    default:
        reply = tuneItem(cmd);
        break;
    }
    m_log.tuneCommands.append(cmd);
    if (m_faults.tuneSilentAfter >= 0 && m_log.tuneCommands.size() >= m_faults.tuneSilentAfter)
        m_mode = Mode::Silent;
    return reply;
}

// m = 0x01 applies v live (entering, moving, leaving without storing); m = 0x02 also stores
// it as the item's tune value.
QByteArray VirtualRadio::tuneItem(const QByteArray& cmd) {
    const char letter = cmd[0];
    const std::uint8_t value = cmd[1];
    const std::uint8_t how = cmd[2];
    if (m_faults.tuneRefuse.contains(letter) || (how != Live && how != Store))
        return QByteArray(1, Nak);
    const int code = itemCode(letter, m_tune.narrow);
    if (how == Store)
        m_memory.image[size_t(addr::TuneValues + code)] = value;
    m_tune.liveItem = code;
    m_tune.liveValue = value;
    QByteArray reply = m_faults.tuneBareAck ? QByteArray(1, Ack) : confirmingReply(letter);
    if (m_faults.tuneLongReply)
        reply.append('\0');
    return reply;
}

} // namespace orv::sim
