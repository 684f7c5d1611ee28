#include "link/TuneExchanges.h"

#include "link/AccessCodes.h"
#include "link/Blocks.h"

#include <array>

namespace orv {

namespace {

using blocks::Ack;

constexpr char ChannelCommand = 0x43;    // "C"
constexpr char SignallingCommand = 0x53; // "S"
constexpr char NarrowCommand = 0x6E;     // "n"
constexpr char LiveValue = 0x01;
constexpr char StoreValue = 0x02;
constexpr int EnterProgressMax = 690;
constexpr int WriteProgressMax = 1050;
constexpr int TestChannelBlocks = (addr::TestChannelsEnd - addr::TestChannels) / addr::BlockSize; // 22

const std::array<TuneItem, TuneItemCount> Items{{
    {"Battery", "Battery Level", 0x42, "bN\x06", 3, false, false},
    {"SqlTight", "Squelch Level 9", 0x4D, "G\x00\x06", 3, false, false},
    {"SqlOpen", "Squelch Level 3", 0x6D, "G\x00\x06", 3, false, false},
    {"CTCDevW", "CTC Deviation(Wide)", 0x51, "\x06", 1, true, false},
    {"DCSDevW", "DCS Deviation(Wide)", 0x44, "\x06", 1, true, false},
    {"CTCDevN", "CTC Deviation(Narrow)", 0x51, "\x06", 1, true, true},
    {"DCSDevN", "DCS Deviation(Narrow)", 0x44, "\x06", 1, true, true},
}};

bool startsWithAck(const QByteArray& reply) { return !reply.isEmpty() && reply[0] == Ack; }

// A reply confirms an item when it begins with the confirming bytes; a live value needs
// exactly them.
bool confirms(const QByteArray& reply, int code, bool exact) {
    const QByteArray c = tuneItem(code).confirmation();
    return reply.startsWith(c) && (!exact || reply.size() == c.size());
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

const TuneItem& tuneItem(int code) { return Items.at(std::size_t(code)); }

int tuneItemCode(const QString& key) {
    for (int k = 0; k < TuneItemCount; ++k)
        if (key == QLatin1String(Items[std::size_t(k)].key))
            return k;
    return -1;
}

QByteArray tuneChannelCommand(int testChannel) {
    QByteArray c;
    c.append(ChannelCommand);
    c.append(char(testChannel & 0xFF));
    return c;
}

QByteArray tuneSignallingCommand(const RadioData& data, int testChannel) {
    QByteArray c(4, 0);
    c[0] = SignallingCommand;
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
    c.append(store ? StoreValue : LiveValue);
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
        if (!link.pause(0))
            return fail(interrupted);
        const QByteArray reply =
            link.sendAndWait(30, blocks::request(blocks::ReadCommand, tuneBlockAddress(i)), 0, 12, 61, 20, 0);
        blocks::Reply block;
        switch (blocks::parse(reply, block)) {
        case blocks::ReplyKind::Short:
        case blocks::ReplyKind::Bad:
            return fail(interrupted);
        case blocks::ReplyKind::Dropped:
            return fail("Connecting error, please connect again!");
        case blocks::ReplyKind::Data:
            // Only the tune area is taken; whatever else the radio sends is dropped.
            if (inTuneArea(block.address()))
                blocks::storeAt(copy, block.address(), block.bytes);
            break;
        }
        feedback.progressSet(30 * i);
    }
    if (!startsWithAck(link.sendAndWait(30, QByteArray(1, Ack), 0, 1, 41, 20, 0)))
        return fail(interrupted);
    if (!startsWithAck(link.sendAndWait(30, access::tuneCode(), 0, 1, 41, 20, 0, false, 20)))
        return fail(interrupted);
    feedback.progressSet(30 * (TestChannelBlocks + 1));
    link.clock().delayMs(20);
    feedback.progressClose();

    TuneModeEntry entry{current, opened.modelCode, opened.identity};
    copyTuneArea(copy, entry.data);
    entry.data.modelBlock()[0] = opened.identity.modelBlock0;
    return entry;
}

int enterTuneItem(RadioLink& link, int code, int testChannel, const RadioData& data) {
    const TuneItem& item = tuneItem(code);
    link.openCommPort();
    if (!startsWithAck(link.attempt(0, tuneChannelCommand(testChannel), 0, 1, 21, 20, 5)))
        return 0;
    if (item.signalling &&
        !startsWithAck(link.sendAndWait(40, tuneSignallingCommand(data, testChannel), 0, 1, 21, 10, 5, true)))
        return 0;
    if (item.narrow && !startsWithAck(link.sendAndWait(30, QByteArray(1, NarrowCommand), 0, 1, 21, 20, 5)))
        return 0;
    const QByteArray reply = link.sendAndWait(80, tuneItemCommand(code, data.tuneValues()[std::size_t(code)], false),
                                              0, item.confirmLength, 41, 10, 0);
    return confirms(reply, code, false) ? 1 : 0;
}

bool sendTuneValue(RadioLink& link, int code, int value) {
    const TuneItem& item = tuneItem(code);
    const QByteArray reply = link.attempt(0, tuneItemCommand(code, value, false), 0, item.confirmLength, 61, 20, 5);
    return confirms(reply, code, true);
}

int leaveTuneItem(RadioLink& link, int code, int testChannel, int value, bool store) {
    const TuneItem& item = tuneItem(code);
    const QByteArray reply = link.sendAndWait(20, tuneItemCommand(code, value, store), 0, item.confirmLength, 60, 20, 5);
    if (!confirms(reply, code, false))
        return 0;
    return startsWithAck(link.attempt(0, tuneChannelCommand(testChannel), 0, 1, 61, 20, 5)) ? 1 : 0;
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
        const QByteArray reply =
            link.sendAndWait(30, blocks::write(address, data.image.data() + address), 0, 1, 41, 10, 0);
        if (link.failed())
            return dataError();
        if (!startsWithAck(reply))
            return fail("Writing data interrupted. Please write again!", "Writing Error");
        feedback.progressSet(50 * i);
    }
    // Back to tune mode; the answer is not looked at.
    link.sendAndWait(30, access::tuneCode(), 0, 1, 41, 20, 0, false, 20);
    if (link.failed())
        return dataError();
    feedback.progressSet(50 * (TestChannelBlocks - 1));
    link.clock().delayMs(20);
    feedback.progressClose();
    return 1;
}

bool leaveTuneModeProbe(RadioLink& link, bool itemWasLeft) {
    PortCloser closer(link);
    const int address = addr::TuneValues + (itemWasLeft ? addr::BlockSize : 0);
    const QByteArray probe = blocks::request(blocks::ReadCommand, address);
    link.openCommPort();
    const QByteArray reply = link.attempt(0, probe, 0, 12, 41, 20, 5);
    if (reply.size() < 12 || reply.mid(1, 3) != probe.mid(1, 3))
        return false;
    link.clock().delayMs(60);
    return startsWithAck(link.sendAndWait(20, QByteArray(1, Ack), 0, 1, 61, 20, 5));
}

} // namespace orv
