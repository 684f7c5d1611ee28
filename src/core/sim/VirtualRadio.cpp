#include "VirtualRadio.h"

#include "catalog/ModelCatalog.h"
#include "files/DataFile.h"
#include "image/NewImage.h"
#include "image/TuneTable.h"
#include "link/AccessCodes.h"

#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <utility>

// The demo radio's data file is a resource of this library; registering it from here makes
// sure the linker keeps it in every program that asks for the demo image.
static void registerDemoResource() { Q_INIT_RESOURCE(orvante_demo); }

namespace orv::sim {

namespace {

using protocol::Ack;
using protocol::IdentityRequest;
using protocol::Nak;
using protocol::ReadCommand;
using protocol::WriteCommand;
constexpr int BlockCount = addr::ImageSize / addr::BlockSize;
// The letters of the tune items ("Q" and "D" also serve the narrow items).
constexpr char TuneItemLetters[] = {protocol::TuneBattery,      protocol::TuneSquelchTight,
                                    protocol::TuneSquelchOpen,  protocol::TuneCtcDeviation,
                                    protocol::TuneDcsDeviation, '\0'};

// A number written in decimal or with a 0x prefix in hex.
bool parseNumber(const QString& text, int low, int high, int& value) {
    bool ok = false;
    const QString t = text.trimmed();
    const int v = t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? t.mid(2).toInt(&ok, 16) : t.toInt(&ok, 10);
    if (!ok || v < low || v > high)
        return false;
    value = v;
    return true;
}

struct FaultForm {
    const char* name;
    const char* usage;
    int low, high;               // range of the first number
    int RadioFaults::*number;    // where the first number goes
};

struct FlagForm {
    const char* name;
    bool RadioFaults::*flag;
};

constexpr FlagForm FlagForms[] = {
    {"silent", &RadioFaults::silent},
    {"no-final-ack", &RadioFaults::noFinalAck},
    {"no-tune-ack", &RadioFaults::noTuneAck},
    {"tune-bare-ack", &RadioFaults::tuneBareAck},
    {"tune-long-reply", &RadioFaults::tuneLongReply},
};

constexpr char TuneRefuseUsage[] = "tune-refuse:L";

constexpr FaultForm NumberedForms[] = {
    {"answer-attempt", "answer-attempt:N", 1, 1000, &RadioFaults::answerAttempt},
    {"short-reply-at-block", "short-reply-at-block:B", 0, BlockCount - 1, &RadioFaults::shortReplyAtBlock},
    {"extra-byte-at-block", "extra-byte-at-block:B", 0, BlockCount - 1, &RadioFaults::extraByteAtBlock},
    {"bad-header-at-block", "bad-header-at-block:B", 0, BlockCount - 1, &RadioFaults::badHeaderAtBlock},
    {"wrong-address-at-block", "wrong-address-at-block:B:ADDR", 0, BlockCount - 1, &RadioFaults::wrongAddressAtBlock},
    {"nak-at-block", "nak-at-block:B", 0, BlockCount - 1, &RadioFaults::nakAtBlock},
    {"keep-old-at-block", "keep-old-at-block:B", 0, BlockCount - 1, &RadioFaults::keepOldAtBlock},
    {"stop-after-block", "stop-after-block:B", 0, BlockCount - 1, &RadioFaults::stopAfterBlock},
    {"slow", "slow:MS", 0, 60000, &RadioFaults::slowMs},
    {"tune-silent-after", "tune-silent-after:N", 0, 100000, &RadioFaults::tuneSilentAfter},
};

} // namespace

bool RadioFaults::parse(const QString& text, RadioFaults& into, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    const QString name = parts.first().trimmed().toLower();
    for (const FlagForm& f : FlagForms) {
        if (name != QLatin1String(f.name))
            continue;
        if (parts.size() != 1)
            return fail(QStringLiteral("fault \"%1\" takes no value").arg(name));
        into.*f.flag = true;
        return true;
    }
    if (name == QLatin1String("tune-refuse")) {
        // The letter keeps its case: "M" and "m" are different items.
        const QString letter = parts.size() == 2 ? parts[1].trimmed() : QString();
        if (letter.size() != 1 || !QByteArray(TuneItemLetters).contains(letter.toLatin1()))
            return fail(QStringLiteral("fault \"%1\" is written %2, L being one of B M m Q D")
                            .arg(text, QLatin1String(TuneRefuseUsage)));
        into.tuneRefuse.append(letter.toLatin1());
        return true;
    }
    const FaultForm* form = nullptr;
    for (const FaultForm& f : NumberedForms)
        if (name == QLatin1String(f.name))
            form = &f;
    if (!form)
        return fail(QStringLiteral("unknown fault \"%1\"; known faults: %2").arg(text, syntax().join(QLatin1String(", "))));
    const bool withAddress = name == QLatin1String("wrong-address-at-block");
    if (parts.size() != (withAddress ? 3 : 2))
        return fail(QStringLiteral("fault \"%1\" is written %2").arg(text, QLatin1String(form->usage)));
    int n = 0;
    if (!parseNumber(parts[1], form->low, form->high, n))
        return fail(QStringLiteral("fault \"%1\": \"%2\" is not a number from %3 to %4")
                        .arg(text, parts[1]).arg(form->low).arg(form->high));
    int address = 0;
    if (withAddress && !parseNumber(parts[2], 0, 0xFFFF, address))
        return fail(QStringLiteral("fault \"%1\": address \"%2\" is not a number from 0 to 0xFFFF").arg(text, parts[2]));

    into.*form->number = n;
    if (withAddress)
        into.wrongAddress = address;
    return true;
}

QStringList RadioFaults::syntax() {
    QStringList forms;
    for (const FlagForm& f : FlagForms)
        forms.append(QLatin1String(f.name));
    for (const FaultForm& f : NumberedForms)
        forms.append(QLatin1String(f.usage));
    forms.append(QLatin1String(TuneRefuseUsage));
    return forms;
}

// --- the radio ----------------------------------------------------------------------------

VirtualRadio::VirtualRadio() : VirtualRadio(defaultRadioMemory()) {}

VirtualRadio::VirtualRadio(const RadioData& memory) : m_memory(memory) {}

QByteArray VirtualRadio::identityReply() const {
    QByteArray reply = m_identity;
    reply.append(char(m_modelCode & 0xFF));
    reply.append(char(m_dataVersion & 0xFF));
    reply.append(char(m_memory.image[addr::ModelBlock]));
    return reply;
}

QByteArray VirtualRadio::receive(const QByteArray& bytes) {
    QByteArray out;
    for (char b : bytes)
        out += receive(b);
    return out;
}

QByteArray VirtualRadio::receive(char byte) {
    // The opening code is recognised in every mode, so a radio left half way through a
    // session (program closed, command cut short) is put back on track by the next handshake.
    static const QByteArray opening = access::openingCode();
    m_window.append(byte);
    if (m_window.size() > opening.size())
        m_window.remove(0, m_window.size() - opening.size());
    if (m_window == opening) {
        m_window.clear();
        ++m_log.openingCodes;
        m_command.clear();
        if (muted() || m_log.openingCodes < m_faults.answerAttempt)
            return {};
        m_mode = Mode::AwaitIdentityRequest;
        return QByteArray(1, Ack);
    }
    if (muted())
        return {};

    switch (m_mode) {
    case Mode::Idle:
    case Mode::Silent:
        return {};
    case Mode::AwaitIdentityRequest:
        if (byte != IdentityRequest)
            return {};
        m_mode = Mode::AwaitFinalAck;
        return identityReply();
    case Mode::AwaitFinalAck:
        if (byte != Ack)
            return {};
        m_mode = Mode::Programming;
        ++m_log.handshakes;
        m_log.endedWithEnd = false;
        return m_faults.noFinalAck ? QByteArray() : QByteArray(1, Ack);
    case Mode::Programming:
    case Mode::Tune:
        return command(byte);
    }
    return {};
}

void VirtualRadio::lineLost() {
    if (m_mode != Mode::Silent)
        m_mode = Mode::Idle;
    m_command.clear();
    m_window.clear();
}

// Programming and tune mode take commands the same way: bytes are held while they can still
// become a command or an access code; a byte that cannot continue what is held drops it and
// may start a new command itself; anything between commands is ignored. The access codes are
// held like commands, so their letters are never taken for commands of their own.
QByteArray VirtualRadio::command(char byte) {
    const bool inTune = m_mode == Mode::Tune;
    const bool afterProbe = std::exchange(m_probed, false);
    const auto held = [&] { return inTune ? heldInTune(m_command) : heldInProgramming(m_command); };
    m_command.append(byte);
    Held h = held();
    if (h == Held::Nothing && m_command.size() > 1) {
        m_command = QByteArray(1, byte);
        h = held();
    }
    if (h == Held::Nothing)
        m_command.clear();
    if (h != Held::Whole)
        return {};
    const QByteArray cmd = std::exchange(m_command, QByteArray());
    return inTune ? tuneCommand(cmd, afterProbe) : programmingCommand(cmd);
}

// "R" hi lo 8 | "W" hi lo 8 d0..d7 | "END" | 0x06 | the tune-mode code.
VirtualRadio::Held VirtualRadio::heldInProgramming(const QByteArray& bytes) const {
    static const QByteArray opening = access::openingCode();
    static const QByteArray tune = access::tuneCode();
    static const QByteArray end = protocol::bytes(protocol::EndText);
    const int size = int(bytes.size());
    if (bytes == tune || bytes == end || (size == 1 && bytes[0] == Ack))
        return Held::Whole;
    if (bytes[0] == ReadCommand || bytes[0] == WriteCommand) {
        const int whole = bytes[0] == ReadCommand ? 4 : 4 + addr::BlockSize;
        if (size < 4 || (bytes[3] == addr::BlockSize && size <= whole))
            return size == whole ? Held::Whole : Held::Partial;
    }
    // The opening code itself is caught before it gets here.
    if (end.startsWith(bytes) || tune.startsWith(bytes) || opening.startsWith(bytes))
        return Held::Partial;
    return Held::Nothing;
}

QByteArray VirtualRadio::programmingCommand(const QByteArray& cmd) {
    static const QByteArray tune = access::tuneCode();
    if (cmd == tune)
        return enterTune();
    const auto addressOf = [&cmd] { return 256 * std::uint8_t(cmd[1]) + std::uint8_t(cmd[2]); };
    switch (cmd[0]) {
    case Ack: // the program's acknowledgement of the blocks it has read
        return QByteArray(1, Ack);
    case protocol::EndText[0]:
        m_mode = Mode::Idle;
        m_log.endedWithEnd = true;
        return {};
    case ReadCommand:
        return answerRead(addressOf());
    default: // WriteCommand
        return answerWrite(addressOf(), cmd.mid(4));
    }
}

QByteArray VirtualRadio::blockReply(int address, char header) const {
    QByteArray reply;
    reply.append(header);
    reply.append(char((address >> 8) & 0xFF));
    reply.append(char(address & 0xFF));
    reply.append(char(addr::BlockSize));
    for (int k = 0; k < addr::BlockSize; ++k) {
        const int a = address + k;
        reply.append(a >= 0 && a < addr::ImageSize ? char(m_memory.image[size_t(a)]) : '\0');
    }
    return reply;
}

QByteArray VirtualRadio::answerRead(int address) {
    if (address < 0 || address + addr::BlockSize > addr::ImageSize)
        return {}; // no such memory: the radio keeps quiet
    const int block = address / addr::BlockSize;
    int replyAddress = address;
    if (block == m_faults.wrongAddressAtBlock)
        replyAddress = m_faults.wrongAddress;

    QByteArray reply = blockReply(replyAddress, block == m_faults.badHeaderAtBlock ? 'X' : WriteCommand);
    if (block == m_faults.shortReplyAtBlock)
        reply.truncate(6);
    if (block == m_faults.extraByteAtBlock)
        reply.append('\0');

    m_log.blocksRead.append(block);
    if (block == m_faults.stopAfterBlock)
        m_mode = Mode::Silent;
    return reply;
}

QByteArray VirtualRadio::answerWrite(int address, const QByteArray& data) {
    if (address < 0 || address + addr::BlockSize > addr::ImageSize)
        return {}; // nothing stored outside the memory, and nothing acknowledged
    const int block = address / addr::BlockSize;
    if (block == m_faults.nakAtBlock) {
        m_mode = Mode::Silent;
        return QByteArray(1, Nak);
    }
    // A block kept old is acknowledged all the same: the program cannot tell.
    if (block != m_faults.keepOldAtBlock) {
        std::copy(data.begin(), data.end(), m_memory.image.begin() + address);
        m_log.blocksWritten.append(block);
    }
    if (block == m_faults.stopAfterBlock)
        m_mode = Mode::Silent;
    return QByteArray(1, Ack);
}

// --- memory images ------------------------------------------------------------------------

RadioData defaultRadioMemory() {
    RadioData d;
    // ModelBlock as the program writes it: data version at bytes 1 and 9, model value 7,
    // the identity backwards in bytes 3-7.
    const Record model = d.modelBlock();
    std::fill(model.begin(), model.end(), std::uint8_t(0));
    model[1] = 0x02;
    model[2] = 0x07;
    std::copy(protocol::IdentityText.rbegin(), protocol::IdentityText.rend(), model.begin() + 3);
    model[9] = 0x02;
    const ModelInfo v16{QStringLiteral("PALUVIN V16"), 7, 136.0, 174.0, 130.0, 176.0};
    newImageSettings(d);
    newImageChannels(d, 0, &v16, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    std::fill(d.dateStamp().begin(), d.dateStamp().end(), 0); // never written by a program
    defaultTuneChannels(d, &v16);
    const QByteArray id("ORV-SIM-00000001");
    std::copy(id.begin(), id.end(), d.radioId().begin());
    return d;
}

RadioData demoRadioImage() {
    static const bool registered = (registerDemoResource(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/orvante/demo-radio.kvd"));
    if (file.open(QIODevice::ReadOnly)) {
        const LoadOutcome outcome = parseDataFile(file.readAll(), RadioData{});
        if (outcome.status == LoadStatus::Ok)
            return outcome.data;
    }
    qWarning("demo radio image missing from the build; using a new image");
    return defaultRadioMemory();
}

void RadioWireEnd::arrive(const TimedByte& in, std::deque<TimedByte>& answers) {
    if (in.atNs - m_lastArrivalNs > std::int64_t(RadioCommandGapMs) * 1'000'000)
        m_radio.lineQuiet();
    m_lastArrivalNs = in.atNs;
    const QByteArray reply = m_radio.receive(in.byte);
    if (reply.isEmpty())
        return;
    std::int64_t t = std::max(in.atNs + std::int64_t(m_radio.replyDelayMs()) * 1'000'000, m_freeNs);
    for (char b : reply) {
        t += RadioByteTimeNs;
        answers.push_back({b, t});
    }
    m_freeNs = t;
}

} // namespace orv::sim
