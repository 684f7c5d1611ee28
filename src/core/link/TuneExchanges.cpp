#include "link/TuneExchanges.h"

#include "link/AccessCodes.h"
#include "link/Blocks.h"
#include "link/Protocol.h"
#include "link/Timings.h"

#include <array>

namespace orv {

namespace {

constexpr int EnterProgressMax = 690;
constexpr int WriteProgressMax = 1050;
constexpr int TestChannelBlocks = (addr::TestChannelsEnd - addr::TestChannels) / addr::BlockSize; // 22

using protocol::Ack;
using protocol::ReadCommand;

const std::array<TuneItem, TuneItemCount>& items() {
    using namespace protocol;
    static const std::array<TuneItem, TuneItemCount> table{{
        {"Battery", "Battery Level", TuneBattery, TuneBatteryConfirmation, false, false},
        {"SqlTight", "Squelch Level 9", TuneSquelchTight, TuneSquelchConfirmation, false, false},
        {"SqlOpen", "Squelch Level 3", TuneSquelchOpen, TuneSquelchConfirmation, false, false},
        {"CTCDevW", "CTC Deviation(Wide)", TuneCtcDeviation, TuneDeviationConfirmation, true, false},
        {"DCSDevW", "DCS Deviation(Wide)", TuneDcsDeviation, TuneDeviationConfirmation, true, false},
        {"CTCDevN", "CTC Deviation(Narrow)", TuneCtcDeviation, TuneDeviationConfirmation, true, true},
        {"DCSDevN", "DCS Deviation(Narrow)", TuneDcsDeviation, TuneDeviationConfirmation, true, true},
    }};
    return table;
}

// The reply of a step answered by 0x06; anything else is noted on the link.
bool acknowledged(RadioLink& link, const QByteArray& reply) {
    if (!reply.isEmpty() && reply[0] == Ack)
        return true;
    link.noteReplyFailure(reply);
    return false;
}

// A reply confirms an item when it begins with the confirming bytes; a live value needs
// exactly them. Anything else is noted on the link.
bool confirms(RadioLink& link, const QByteArray& reply, int code, bool exact) {
    const QByteArray c = tuneItem(code).confirmation();
    if (reply.startsWith(c) && (!exact || reply.size() == c.size()))
        return true;
    link.noteReplyFailure(reply);
    return false;
}

// An item step's timing, waiting for the item's confirmation.
StepTiming itemTiming(const StepTiming& t, int code) {
    return timing::withNeed(t, int(tuneItem(code).confirm.size()));
}

bool inTuneArea(int address) {
    return (address >= addr::TestChannels && address < addr::TestChannelsEnd) ||
           (address >= addr::TuneValues && address < addr::TuneValues + 16);
}

int tuneBlockAddress(int i) {
    return i < TestChannelBlocks ? addr::TestChannels + addr::BlockSize * i
                                 : addr::TuneValues + addr::BlockSize * (i - TestChannelBlocks);
}

void copyTuneArea(const RadioData& from, RadioData& to) {
    std::copy(from.image.begin() + addr::TestChannels, from.image.begin() + addr::TestChannelsEnd,
              to.image.begin() + addr::TestChannels);
    std::copy(from.tuneValues().begin(), from.tuneValues().end(), to.tuneValues().begin());
}

} // namespace

const TuneItem& tuneItem(int code) { return items().at(std::size_t(code)); }

int tuneItemCode(const QString& key) {
    for (int k = 0; k < TuneItemCount; ++k)
        if (key == QLatin1String(items()[std::size_t(k)].key))
            return k;
    return -1;
}

QByteArray tuneChannelCommand(int testChannel) {
    QByteArray c;
    c.append(protocol::TuneChannel);
    c.append(char(testChannel & 0xFF));
    return c;
}

QByteArray tuneSignallingCommand(const RadioData& data, int testChannel) {
    QByteArray c(4, 0);
    c[0] = protocol::TuneSignalling;
    if (testChannel < 1 || testChannel > addr::TestChannelCount)
        return c;
    const ConstRecord r = data.testChannel(testChannel - 1);
    char type = 0;
    switch (r[7] >> 4) {
    case 0x2: case 0x3: type = 0x20; break;
    case 0x4: case 0x5: type = 0x40; break;
    case 0x6: case 0x7: type = 0x50; break;
    default: return c; // no transmit signalling: 0x00 0x00 0x00
    }
    c[1] = type;
    c[2] = char(r[8]);
    c[3] = char(r[9]);
    return c;
}

QByteArray tuneItemCommand(int code, int value, bool store) {
    QByteArray c;
    c.append(tuneItem(code).letter);
    c.append(char(value & 0xFF));
    c.append(store ? protocol::TuneStore : protocol::TuneLive);
    return c;
}

std::optional<TuneModeEntry> enterTuneMode(RadioLink& link, Feedback& feedback, const RadioData& current) {
    PortCloser closer(link);
    RadioLink::Handshake opened;
    if (!link.handshake(feedback, QStringLiteral("Radio Error"), opened))
        return std::nullopt;
    const auto fail = [&](const char* text) {
        feedback.message(QString::fromLatin1(text), QStringLiteral("Tune Error"), Icon::Exclamation);
        feedback.progressClose();
        return std::nullopt;
    };
    const char* interrupted = "Connecting interrupted. Please try again!";

    feedback.progressOpen(QStringLiteral("Connecting radio to tune, please wait ..."), EnterProgressMax,
                          QStringLiteral("Read"));
    RadioData copy = current;
    for (int i = 0; i < TestChannelBlocks + 2; ++i) {
        if (!link.pause(timing::TuneAreaPauseMs))
            return fail(interrupted);
        const QByteArray reply =
            link.sendAndWait(blocks::request(ReadCommand, tuneBlockAddress(i)), timing::TuneAreaReadBlock);
        blocks::Reply block;
        switch (blocks::parse(reply, block)) {
        case blocks::ReplyKind::Short:
        case blocks::ReplyKind::Bad:
            link.noteReplyFailure(reply);
            return fail(interrupted);
        case blocks::ReplyKind::Dropped:
            link.noteFailure(LinkFailure::BadReply);
            return fail("Connecting error, please connect again!");
        case blocks::ReplyKind::Data:
            // Only the tune area is taken; whatever else the radio sends is dropped.
            if (inTuneArea(block.address()))
                blocks::storeAt(copy, block.address(), block.bytes);
            break;
        }
        feedback.progressSet(30 * i);
    }
    if (!acknowledged(link, link.sendAndWait(QByteArray(1, Ack), timing::TuneAck)))
        return fail(interrupted);
    if (!acknowledged(link, link.sendAndWait(access::tuneCode(), timing::TuneModeCode)))
        return fail(interrupted);
    feedback.progressSet(30 * (TestChannelBlocks + 1));
    if (!link.wait(timing::AfterTuneCodeMs))
        return fail(interrupted);
    feedback.progressClose();

    TuneModeEntry entry{current, opened.modelCode, opened.identity};
    copyTuneArea(copy, entry.data);
    entry.data.modelBlock()[0] = opened.identity.modelBlock0;
    return entry;
}

int enterTuneItem(RadioLink& link, int code, int testChannel, const RadioData& data) {
    const TuneItem& item = tuneItem(code);
    link.openCommPort();
    if (!acknowledged(link, link.attempt(tuneChannelCommand(testChannel), timing::TuneChannel)))
        return 0;
    if (item.signalling &&
        !acknowledged(link, link.sendAndWait(tuneSignallingCommand(data, testChannel),
                                             timing::TuneSignalling)))
        return 0;
    if (item.narrow &&
        !acknowledged(link, link.sendAndWait(QByteArray(1, protocol::TuneNarrow), timing::TuneNarrow)))
        return 0;
    const int stored = data.tuneValues()[std::size_t(code)];
    const QByteArray reply =
        link.sendAndWait(tuneItemCommand(code, stored, false), itemTiming(timing::ItemEnter, code));
    return confirms(link, reply, code, false) ? 1 : 0;
}

bool sendTuneValue(RadioLink& link, int code, int value) {
    const QByteArray reply =
        link.attempt(tuneItemCommand(code, value, false), itemTiming(timing::LiveValue, code));
    return confirms(link, reply, code, true);
}

int leaveTuneItem(RadioLink& link, int code, int testChannel, int value, bool store) {
    const QByteArray reply =
        link.sendAndWait(tuneItemCommand(code, value, store), itemTiming(timing::ItemLeave, code));
    if (!confirms(link, reply, code, false))
        return 0;
    const QByteArray channel = link.attempt(tuneChannelCommand(testChannel), timing::TuneChannelAfterItem);
    return acknowledged(link, channel) ? 1 : 0;
}

int writeTuneChannels(RadioLink& link, Feedback& feedback, const RadioData& data) {
    PortCloser closer(link);
    RadioLink::Handshake opened;
    if (!link.handshake(feedback, QStringLiteral("Radio Error"), opened))
        return 0;
    const auto fail = [&](const char* text, const char* title) {
        feedback.progressClose();
        feedback.message(QString::fromLatin1(text), QString::fromLatin1(title), Icon::Exclamation);
        return 0;
    };
    const auto dataError = [&] { return fail("Writing data error, please write again!", "Data Error"); };

    feedback.progressOpen(QStringLiteral("Write data of Tuning to the radio ..."), WriteProgressMax,
                          QStringLiteral("Write"));
    for (int i = 0; i < TestChannelBlocks; ++i) {
        const int address = addr::TestChannels + addr::BlockSize * i;
        const QByteArray block = blocks::write(address, data.image.data() + address);
        const QByteArray reply = link.sendAndWait(block, timing::TestChannelWriteBlock);
        if (link.failed())
            return dataError();
        if (reply.isEmpty() || reply[0] != Ack) {
            link.noteReplyFailure(reply, LinkFailure::RefusedBlock);
            return fail("Writing data interrupted. Please write again!", "Writing Error");
        }
        feedback.progressSet(50 * i);
    }
    // Back to tune mode; the answer is not looked at.
    link.sendAndWait(access::tuneCode(), timing::TuneModeCode);
    if (link.failed())
        return dataError();
    feedback.progressSet(50 * (TestChannelBlocks - 1));
    if (!link.wait(timing::AfterTuneCodeMs))
        return dataError();
    feedback.progressClose();
    return 1;
}

bool leaveTuneModeProbe(RadioLink& link, bool itemWasLeft) {
    PortCloser closer(link);
    const int address = addr::TuneValues + (itemWasLeft ? addr::BlockSize : 0);
    const QByteArray probe = blocks::request(ReadCommand, address);
    link.openCommPort();
    const QByteArray reply = link.attempt(probe, timing::Probe);
    if (reply.size() < protocol::BlockReplySize || reply.mid(1, 3) != probe.mid(1, 3)) {
        link.noteReplyFailure(reply);
        return false;
    }
    return link.wait(timing::BeforeProbeAckMs) &&
           acknowledged(link, link.sendAndWait(QByteArray(1, Ack), timing::ProbeAck));
}

} // namespace orv
