#include "link/RadioLink.h"

#include "link/AccessCodes.h"

namespace orv {

namespace {
constexpr char Ack = 0x06;
constexpr char IdentityRequest = 0x02;
constexpr int IdentitySize = 8;
const QByteArray IdentityText("RZ4K8");
constexpr int HighestKnownModelCode = 32;
// With no flow control the send buffer always empties; a port that stops sending (a broken
// driver) ends the step as a failure after this long instead of hanging.
constexpr int SendTimeLimitMs = 2000;
} // namespace

RadioLink::RadioLink(SerialLink& link, Clock& clock, QString portLabel)
    : m_link(link), m_clock(clock), m_portLabel(std::move(portLabel)) {}

void RadioLink::openCommPort() {
    m_failed = false;
    if (m_link.isOpen())
        m_link.close();
    m_link.setSettings(QStringLiteral("9600,N,8,2"));
    if (!m_link.isOpen())
        m_link.open();
    m_link.discardInput();
    m_link.discardOutput();
    delay(80);
}

int testCommPort(SerialLink& port) {
    if (!port.setSettings(QStringLiteral("9600,O,8,2")))
        return 0;
    if (!port.isOpen() && !port.open())
        return 0;
    if (port.isOpen())
        port.close();
    return port.isOpen() ? 0 : 1;
}

void RadioLink::closeCommPort() {
    if (m_link.isOpen())
        m_link.close();
}

QByteArray RadioLink::sendAndWait(int pre, const QByteArray& payload, int settle, int need,
                                  int polls, int before, int after, bool stopAtOnce, int takeDelay) {
    if (m_failed)
        return {};
    delay(pre);
    if (!check(m_link.send(payload)))
        return {};
    // Wait until the bytes are on the wire.
    const std::int64_t sendLimit = m_clock.nowMs() + SendTimeLimitMs;
    for (;;) {
        const int unsent = m_link.outBufferCount();
        if (!check(unsent >= 0))
            return {};
        if (unsent == 0)
            break;
        if (!check(m_clock.nowMs() < sendLimit))
            return {};
        delay(1);
    }
    if (!check(m_link.discardOutput()))
        return {};
    if (settle != 0)
        delay(settle);
    for (int i = 0; i < polls; ++i) {
        if (before != 0)
            delay(before);
        const int waiting = m_link.inBufferCount();
        if (!check(waiting >= 0))
            return {};
        const bool enough = waiting >= need;
        if (enough && stopAtOnce)
            break;
        if (after != 0)
            delay(after);
        if (enough)
            break;
    }
    if (takeDelay != 0)
        delay(takeDelay);
    QByteArray reply = m_link.takeAll();
    if (!check(m_link.discardInput() && m_link.discardOutput()))
        return {};
    return reply;
}

int RadioLink::connectRadio(Feedback& feedback, Identity& identity, bool& identitySeen) {
    identitySeen = false;
    int result = LinkFailed;
    const QByteArray opening = access::openingCode();
    openCommPort();

    QByteArray reply = attempt(0, opening, 20, 1, 41, 10, 5);
    if (m_failed || reply.isEmpty() || reply[0] != Ack)
        return result;

    reply = sendAndWait(40, QByteArray(1, IdentityRequest), 20, IdentitySize, 61, 0, 5, true);
    if (m_failed || reply.size() != IdentitySize)
        return result;
    if (!reply.startsWith(IdentityText))
        return IdentityMismatch;

    const int modelCode = std::uint8_t(reply[5]);
    identity.dataVersion = std::uint8_t(reply[6]);
    identity.modelBlock0 = std::uint8_t(reply[7]);
    identitySeen = true;
    if (modelCode > HighestKnownModelCode)
        feedback.message(QStringLiteral("The radio model is error. Please Write it to corect!"),
                         QStringLiteral("Error"), Icon::Critical);

    reply = sendAndWait(40, QByteArray(1, Ack), 20, 1, 61, 0, 5);
    if (!m_failed && !reply.isEmpty() && reply[0] == Ack)
        result = modelCode;
    return result;
}

QByteArray RadioLink::attempt(int pre, const QByteArray& payload, int settle, int need, int polls,
                              int before, int after) {
    QByteArray reply;
    for (int i = 0; i < 3; ++i) {
        if (m_failed || !check(m_link.discardOutput() && m_link.discardInput()))
            return {};
        delay(80);
        reply = sendAndWait(pre, payload, settle, need, polls, before, after);
        if (m_failed || !reply.isEmpty())
            break;
    }
    return reply;
}

bool RadioLink::handshake(Feedback& feedback, const QString& mismatchTitle, Handshake& out) {
    out.modelCode = connectRadio(feedback, out.identity, out.identitySeen);
    if (out.modelCode == LinkFailed || out.modelCode == IdentityMismatch) {
        reportHandshakeFailure(out.modelCode, feedback, mismatchTitle);
        return false;
    }
    return true;
}

void RadioLink::endConnection() { sendAndWait(30, QByteArrayLiteral("END"), 0, 1, 31, 20, 0); }

bool RadioLink::pause(int ms) {
    if (m_failed || !check(m_link.discardOutput()))
        return false;
    delay(ms);
    return true;
}

void RadioLink::reportHandshakeFailure(int result, Feedback& feedback, const QString& mismatchTitle) {
    if (result == IdentityMismatch) {
        feedback.message(QStringLiteral("The radio model doesn't match with this software. Please "
                                        "select the right radio!"),
                         mismatchTitle, Icon::Exclamation);
        return;
    }
    QString text = m_portLabel + QStringLiteral(" port don't respond, please check your connection!");
    const QString why = m_link.openError();
    if (!why.isEmpty())
        text += QStringLiteral("\n\n") + why;
    feedback.message(text, QStringLiteral("Communication port error"), Icon::Exclamation);
}

} // namespace orv
