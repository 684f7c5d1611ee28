#include "link/Exchanges.h"

#include "image/SettingsCodec.h"
#include "link/Blocks.h"
#include "link/Protocol.h"
#include "link/Timings.h"

#include <algorithm>

namespace orv {

namespace {

using blocks::ReplyKind;
using blocks::storeAt;
using protocol::ReadCommand;
const QString ContinueQuestion = QStringLiteral(" Do you want to continue?");

constexpr int ReadProgressMax = 635;
constexpr int WriteProgressMax = 140;

void progressStep(Feedback& feedback, int value) { feedback.progressSet(value); }

using Opened = RadioLink::Handshake;
// "END", then the short pause before the completion. False when the line failed or the
// exchange was stopped meanwhile.
bool closeExchange(RadioLink& link) {
    link.endConnection();
    return !link.failed() && link.wait(timing::AfterEndMs);
}

// A write block's answer: 0x06 takes it; nothing, or anything else, is noted and refused.
bool blockTaken(RadioLink& link, const QByteArray& reply) {
    if (!reply.isEmpty() && reply[0] == protocol::Ack)
        return true;
    link.noteReplyFailure(reply, LinkFailure::RefusedBlock);
    return false;
}

} // namespace

const std::array<int, WriteBlockCount>& writeBlockOrder() {
    static const std::array<int, WriteBlockCount> order = [] {
        std::array<int, WriteBlockCount> o{};
        int i = 0;
        for (int b = 0; b <= 31; ++b)
            o[i++] = b;
        for (int b : {86, 87, 90, 91, 120, 121})
            o[i++] = b;
        return o;
    }();
    return order;
}

RadioData imageAsWritten(const RadioData& data, int dataVersion) {
    RadioData out = data;
    out.modelBlock()[1] = out.modelBlock()[9] = std::uint8_t(dataVersion & 0xFF);
    return out;
}

QString otherModelText() {
    return QStringLiteral("The selected model is different from the destination radio model.");
}

QString newerRadioText() { return QStringLiteral("New Version Radio. Please update program software."); }

std::optional<ReadResult> readRadio(RadioLink& link, Feedback& feedback, const RadioData& current) {
    PortCloser closer(link);
    Opened opened;
    if (!link.handshake(feedback, QStringLiteral("Radio Error"), opened))
        return std::nullopt;
    ReadResult out{current, opened.identity.dataVersion};
    out.data.modelBlock()[0] = opened.identity.modelBlock0;

    const auto interrupted = [&] {
        feedback.progressClose();
        feedback.message(QStringLiteral("Reading data interrupted. Please read again!"),
                         QStringLiteral("Reading Error"), Icon::Exclamation);
        return std::nullopt;
    };

    feedback.progressOpen(QStringLiteral("Reading data from the radio ..."), ReadProgressMax,
                          QStringLiteral("Read"));
    if (!link.pause(timing::ReadPauseMs))
        return interrupted();
    for (int b = 0; b < addr::ImageSize / addr::BlockSize; ++b) {
        const QByteArray reply =
            link.sendAndWait(blocks::request(ReadCommand, b * addr::BlockSize), timing::ReadBlock);
        if (link.failed())
            return interrupted();
        blocks::Reply block;
        switch (blocks::parse(reply, block)) {
        case ReplyKind::Short:
        case ReplyKind::Bad:
            link.noteReplyFailure(reply);
            return interrupted();
        case ReplyKind::Dropped:
            break;
        case ReplyKind::Data:
            // The reply's own address decides where its bytes go; pages above 3 are not memory.
            if (block.high <= 3 && !storeAt(out.data, 256 * block.high + block.low, block.bytes)) {
                link.noteFailure(LinkFailure::BadReply);
                return interrupted();
            }
            break;
        }
        progressStep(feedback, 5 * b);
    }
    if (!closeExchange(link))
        return interrupted();
    feedback.progressClose();
    feedback.message(QStringLiteral("Read data is complete. Press OK button to continue ..."),
                     QStringLiteral("Read"), Icon::None);
    return out;
}

bool writeRadio(RadioLink& link, Feedback& feedback, RadioData& data, int& dataVersion,
                const WriteRequest& request) {
    PortCloser closer(link);
    Opened opened;
    const bool connected = link.handshake(feedback, QStringLiteral("Radio model error"), opened);
    // The radio's data version and model byte are taken as soon as its identity came in.
    if (opened.identitySeen) {
        dataVersion = opened.identity.dataVersion;
        data.modelBlock()[0] = opened.identity.modelBlock0;
    }
    if (!connected)
        return false;
    const int result = opened.modelCode;

    std::array<std::uint8_t, 16> settingsCopy{};
    std::copy(data.functionSettings().begin(), data.functionSettings().end(), settingsCopy.begin());

    if (result != request.selectedModelValue &&
        feedback.ask(otherModelText() + ContinueQuestion,
                     request.appTitle, Icon::Information, Buttons::YesNo) != Answer::Yes)
        return false;
    if (dataVersion >= 3 &&
        feedback.ask(newerRadioText() + ContinueQuestion,
                     request.appTitle, Icon::Information, Buttons::YesNo) != Answer::Yes)
        return false;

    if (!link.pause(timing::WritePauseMs)) {
        feedback.message(QStringLiteral("Writing data error, please write again!"),
                         QStringLiteral("Data Error"), Icon::Exclamation);
        return false;
    }
    feedback.progressOpen(QStringLiteral("Writing data to the radio ..."), WriteProgressMax,
                          QStringLiteral("Write"));
    writeDateStamp(data.dateStamp(), link.clock().localDateTime());

    RadioData onWire = imageAsWritten(data, dataVersion);
    std::copy(settingsCopy.begin(), settingsCopy.end(), onWire.functionSettings().begin());
    int progress = 0;
    for (int b : writeBlockOrder()) {
        const int address = b * addr::BlockSize;
        const QByteArray reply =
            link.sendAndWait(blocks::write(address, onWire.image.data() + address), timing::WriteBlock);
        if (link.failed()) {
            feedback.progressClose();
            feedback.message(QStringLiteral("Writing data error, please write again!"),
                             QStringLiteral("Data Error"), Icon::Exclamation);
            return false;
        }
        if (!blockTaken(link, reply)) {
            feedback.progressClose();
            feedback.message(QStringLiteral("Writing data interrupted. Please write again!"),
                             QStringLiteral("Writing Error"), Icon::Exclamation);
            return false;
        }
        progress += 5;
        progressStep(feedback, progress);
    }
    if (!closeExchange(link)) {
        feedback.progressClose();
        feedback.message(QStringLiteral("Writing data error, please write again!"),
                         QStringLiteral("Data Error"), Icon::Exclamation);
        return false;
    }
    feedback.progressClose();
    feedback.message(QStringLiteral("Write data is complete. Press OK button to continue ..."),
                     QStringLiteral("Write Complete"), Icon::None);
    return true;
}

std::optional<RadioData> readEmbedInfo(RadioLink& link, Feedback& feedback, const RadioData& current) {
    PortCloser closer(link);
    Opened opened;
    if (!link.handshake(feedback, QStringLiteral("Radio Error"), opened))
        return std::nullopt;
    const auto interrupted = [&] {
        feedback.message(QStringLiteral("Reading data interrupted. Please try again!"),
                         QStringLiteral("Error"), Icon::Exclamation);
        return std::nullopt;
    };
    RadioData out = current;
    if (!link.pause(timing::InfoReadPauseMs))
        return interrupted();
    for (int i = 0; i < 30; ++i) {
        const int address = addr::InfoText + 8 * i;
        const QByteArray reply =
            link.sendAndWait(blocks::request(ReadCommand, address), timing::InfoReadBlock);
        if (link.failed())
            return interrupted();
        blocks::Reply block;
        const ReplyKind kind = blocks::parse(reply, block);
        if (kind == ReplyKind::Short || kind == ReplyKind::Bad)
            link.noteReplyFailure(reply);
        if (kind == ReplyKind::Short) {
            feedback.message(QStringLiteral("Reading error, please try again!"),
                             QStringLiteral("Error"), Icon::Exclamation);
            return std::nullopt;
        }
        if (kind == ReplyKind::Bad)
            return interrupted();
        if (kind == ReplyKind::Dropped || block.high != 0x03)
            continue;
        const int l = block.low;
        const bool wanted = l < 0xC0 || (l >= 0xC0 && l <= 0xCF) || (l >= 0xE0 && l <= 0xEF);
        if (wanted && !storeAt(out, addr::InfoText + l, block.bytes)) {
            link.noteFailure(LinkFailure::BadReply);
            return interrupted();
        }
    }
    if (!closeExchange(link))
        return interrupted();
    feedback.message(QStringLiteral("Reading is complete. Press OK button to continue ..."),
                     QStringLiteral("Complete"), Icon::None);
    return out;
}

bool writeEmbedInfo(RadioLink& link, Feedback& feedback, const RadioData& data) {
    PortCloser closer(link);
    Opened opened;
    if (!link.handshake(feedback, QStringLiteral("Radio model error"), opened))
        return false;
    const auto writingError = [&] {
        feedback.message(QStringLiteral("Writing error, please try again!"), QStringLiteral("Error"),
                         Icon::Exclamation);
        return false;
    };
    if (!link.pause(timing::InfoWritePauseMs))
        return writingError();
    for (int i = 0; i < 24; ++i) {
        const int address = addr::InfoText + 8 * i;
        const QByteArray reply =
            link.sendAndWait(blocks::write(address, data.image.data() + address), timing::InfoWriteBlock);
        if (link.failed())
            return writingError();
        if (!blockTaken(link, reply)) {
            feedback.message(QStringLiteral("Writing data interrupted. Please try again!"),
                             QStringLiteral("Error"), Icon::Exclamation);
            return false;
        }
    }
    if (!closeExchange(link))
        return writingError();
    feedback.message(QStringLiteral("Writing is complete. Press OK button to continue ..."),
                     QStringLiteral("Complete"), Icon::None);
    return true;
}

} // namespace orv
