#include "link/RadioLink.h"

#include "link/AccessCodes.h"
#include "link/Protocol.h"

namespace orv {

namespace {
// With no flow control the send buffer always empties; a port that stops sending (a broken
// driver) ends the step as a failure after this long instead of hanging.
constexpr int SendTimeLimitMs = 2000;
// How often the send buffer is looked at until it is empty.
constexpr int SendPollMs = 1;

bool startsWithAck(const QByteArray& reply) { return !reply.isEmpty() && reply[0] == protocol::Ack; }
} // namespace

RadioLink::RadioLink(SerialLink& link, Clock& clock, QString portLabel)
    : m_link(link), m_clock(clock), m_portLabel(std::move(portLabel)) {}

void RadioLink::fail(LinkFailure why) {
    if (!m_failed) {
        m_failed = true;
        m_failedFor = why;
    }
    noteFailure(m_failedFor);
}

bool RadioLink::stillFailed() {
    if (m_failed)
        noteFailure(m_failedFor);
    return m_failed;
}

bool RadioLink::stopping() {
    if (!m_cancel || !m_cancel->isCancelled())
        return false;
    fail(LinkFailure::Stopped);
    return true;
}

bool RadioLink::check(bool ok) {
    if (!ok) {
        if (m_cancel && m_cancel->isCancelled())
            fail(LinkFailure::Stopped);
        else
            fail(m_portUnavailable ? LinkFailure::PortUnavailable : LinkFailure::LineLost);
    }
    return ok;
}

bool RadioLink::wait(int ms) {
    if (stopping())
        return false;
    m_clock.delayMs(ms);
    return !stopping();
}

void RadioLink::noteReplyFailure(const QByteArray& reply, LinkFailure unexpected) {
    if (!m_failed)
        noteFailure(reply.isEmpty() ? LinkFailure::NoAnswer : unexpected);
}

void RadioLink::openCommPort() {
    m_failed = false;
    m_portUnavailable = false;
    if (stopping())
        return;
    if (m_link.isOpen())
        m_link.close();
    m_link.setSettings(QStringLiteral("9600,N,8,2"));
    if (!m_link.isOpen() && !m_link.open()) {
        m_portUnavailable = true;
        noteFailure(LinkFailure::PortUnavailable);
    }
    m_link.discardInput();
    m_link.discardOutput();
    wait(timing::PortSettleMs);
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

QByteArray RadioLink::sendAndWait(const QByteArray& payload, const StepTiming& timing) {
    if (stillFailed() || !wait(timing.pre))
        return {};
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
        if (!check(m_clock.nowMs() < sendLimit) || !wait(SendPollMs))
            return {};
    }
    if (!check(m_link.discardOutput()) || !wait(timing.settle))
        return {};
    for (int i = 0; i < timing.polls; ++i) {
        if (!wait(timing.before))
            return {};
        const int waiting = m_link.inBufferCount();
        if (!check(waiting >= 0))
            return {};
        const bool enough = waiting >= timing.need;
        if (enough && timing.stopAtOnce)
            break;
        if (!wait(timing.after))
            return {};
        if (enough)
            break;
    }
    if (!wait(timing.takeDelay))
        return {};
    QByteArray reply = m_link.takeAll();
    if (!check(m_link.discardInput() && m_link.discardOutput()))
        return {};
    return reply;
}

QByteArray RadioLink::attempt(const QByteArray& payload, const StepTiming& timing) {
    QByteArray reply;
    for (int i = 0; i < timing::Attempts; ++i) {
        if (stillFailed() || !check(m_link.discardOutput() && m_link.discardInput()) ||
            !wait(timing::AttemptPauseMs))
            return {};
        reply = sendAndWait(payload, timing);
        if (m_failed || !reply.isEmpty())
            break;
    }
    return reply;
}

int RadioLink::connectRadio(Feedback& feedback, Identity& identity, bool& identitySeen) {
    identitySeen = false;
    openCommPort();

    QByteArray reply = attempt(access::openingCode(), timing::OpeningCode);
    if (!startsWithAck(reply)) {
        noteReplyFailure(reply);
        return LinkFailed;
    }

    reply = sendAndWait(QByteArray(1, protocol::IdentityRequest), timing::IdentityRequest);
    if (reply.size() != protocol::IdentityReplySize) {
        noteReplyFailure(reply);
        return LinkFailed;
    }
    if (!reply.startsWith(protocol::bytes(protocol::IdentityText))) {
        noteFailure(LinkFailure::WrongRadio);
        return IdentityMismatch;
    }

    const int modelCode = std::uint8_t(reply[5]);
    identity.dataVersion = std::uint8_t(reply[6]);
    identity.modelBlock0 = std::uint8_t(reply[7]);
    identitySeen = true;
    if (m_handshakeObserver)
        m_handshakeObserver(Handshake{modelCode, identity, true});
    if (modelCode > protocol::HighestKnownModelCode)
        feedback.message(QStringLiteral("The radio model is error. Please Write it to corect!"),
                         QStringLiteral("Error"), Icon::Critical);

    reply = sendAndWait(QByteArray(1, protocol::Ack), timing::FinalAck);
    if (!startsWithAck(reply)) {
        noteReplyFailure(reply);
        return LinkFailed;
    }
    // A radio reporting model code 255 cannot be told from a mismatch: it is taken as one.
    if (modelCode == IdentityMismatch)
        noteFailure(LinkFailure::WrongRadio);
    return modelCode;
}

bool RadioLink::handshake(Feedback& feedback, const QString& mismatchTitle, Handshake& out) {
    out.modelCode = connectRadio(feedback, out.identity, out.identitySeen);
    if (out.modelCode == LinkFailed || out.modelCode == IdentityMismatch) {
        reportHandshakeFailure(out.modelCode, feedback, mismatchTitle);
        return false;
    }
    return true;
}

void RadioLink::endConnection() { sendAndWait(protocol::bytes(protocol::EndText), timing::End); }

bool RadioLink::pause(int ms) {
    if (stillFailed() || !check(m_link.discardOutput()))
        return false;
    return wait(ms);
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
