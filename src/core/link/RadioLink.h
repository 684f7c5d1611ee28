#pragma once
// The radio's request/reply protocol over one serial link: opening and closing the port, the
// one request/reply step every exchange is built from, the handshake that puts the radio
// into programming mode, and "END". All waits go through wait(), which runs them on the
// clock (a virtual clock runs a whole exchange in no time with exact timings) and looks at
// the cancel token before and after each one.

#include "CancelToken.h"
#include "Clock.h"
#include "Feedback.h"
#include "link/LinkFailure.h"
#include "link/SerialLink.h"
#include "link/Timings.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace orv {

// Results of connectRadio besides the model code.
inline constexpr int LinkFailed = -1;
inline constexpr int IdentityMismatch = 255;

class RadioLink {
public:
    struct Identity {
        int dataVersion = 0;
        std::uint8_t modelBlock0 = 0;
    };
    struct Handshake {
        int modelCode = LinkFailed;
        Identity identity;
        bool identitySeen = false;
    };

    // portLabel names the port in messages: "COM3", or a device path given directly.
    RadioLink(SerialLink& link, Clock& clock, QString portLabel);

    SerialLink& serial() { return m_link; }
    Clock& clock() { return m_clock; }
    const QString& portLabel() const { return m_portLabel; }

    // The token that stops the exchanges on this link (nullptr: none). Once it is set, the
    // next wait fails the link as a cut line does and the exchange takes its failure path.
    void setCancelToken(const CancelToken* token) { m_cancel = token; }
    // Called once per handshake as soon as the radio's identity reply was good, with its
    // model code, data version and ModelBlock byte 0 (also when the closing acknowledgement
    // then fails). Empty: none.
    void setHandshakeObserver(std::function<void(const Handshake&)> observer) {
        m_handshakeObserver = std::move(observer);
    }

    // Opens the port for an exchange: 9600,N,8,2, buffers discarded, 80 ms settle. A port
    // that will not open is noted (PortUnavailable); the exchange's first step then fails.
    void openCommPort();
    void closeCommPort();

    // The request/reply step with its timing (see StepTiming), then takes every waiting byte
    // as the reply and discards both buffers. A failing serial operation or a stop ends the
    // step with an empty reply and sets failed().
    QByteArray sendAndWait(const QByteArray& payload, const StepTiming& timing);
    // Up to three attempts of a step: each discards both buffers, waits 80 ms, then runs the
    // step; attempts stop as soon as a byte has arrived. Returns the last reply.
    QByteArray attempt(const QByteArray& payload, const StepTiming& timing);
    // Every wait of the protocol. False (and failed()) when the cancel token is set before or
    // after it.
    bool wait(int ms);
    // Discard the send buffer, then wait: the pause before the blocks of an exchange.
    bool pause(int ms);

    // True once a serial operation failed (port not open, line broken) or the exchange was
    // stopped; cleared by openCommPort. A step on a failed link sends nothing and notes the
    // reason the link failed for.
    bool failed() const { return m_failed; }
    // The first failure since clearFailure() (None: none). openCommPort keeps it.
    LinkFailure failure() const { return m_failure; }
    // Records `f` unless a failure is already recorded.
    void noteFailure(LinkFailure f) {
        if (m_failure == LinkFailure::None)
            m_failure = f;
    }
    void clearFailure() { m_failure = LinkFailure::None; }
    // For a step whose reply was not the one awaited: NoAnswer when nothing came, else
    // `unexpected`. Nothing when the link has failed (its own reason is already noted).
    void noteReplyFailure(const QByteArray& reply, LinkFailure unexpected = LinkFailure::BadReply);

    // The handshake. Returns LinkFailed, IdentityMismatch or the radio's model code; `identity`
    // receives the data version and ModelBlock byte 0 once the identity reply was good (even
    // when the closing acknowledgement then fails). Shows the model-code warning itself.
    int connectRadio(Feedback& feedback, Identity& identity, bool& identitySeen);
    // connectRadio with the caller's message for a failure (reportHandshakeFailure). False
    // once the failure has been reported.
    bool handshake(Feedback& feedback, const QString& mismatchTitle, Handshake& out);
    // "END" and a short wait for an answer that is not looked at.
    void endConnection();

    // The caller's message for a failed handshake: "COM3 port don't respond, please check your
    // connection!" ("Communication port error") and, for a mismatch, the model message with the
    // caller's title. A port that could not be opened adds the reason on a second paragraph.
    void reportHandshakeFailure(int result, Feedback& feedback, const QString& mismatchTitle);

private:
    // Fails the link for `why` (a link already failed keeps its first reason) and notes it.
    void fail(LinkFailure why);
    // True when the link has failed; its reason is noted again (it may have been cleared).
    bool stillFailed();
    // True when the cancel token is set; the link has then failed (Stopped).
    bool stopping();
    // A serial operation's result: false fails the link (LineLost; PortUnavailable when the
    // port would not open; Stopped when the token is set).
    bool check(bool ok);

    SerialLink& m_link;
    Clock& m_clock;
    QString m_portLabel;
    const CancelToken* m_cancel = nullptr;
    std::function<void(const Handshake&)> m_handshakeObserver;
    bool m_failed = false;
    bool m_portUnavailable = false; // the last openCommPort could not open the port
    LinkFailure m_failedFor = LinkFailure::None; // why m_failed was set
    LinkFailure m_failure = LinkFailure::None;   // the first failure since clearFailure()
};

// The port dialog's probe: 1 when the port can be opened (at 9600,O,8,2) and closed, else 0.
// Never leaves the port open.
int testCommPort(SerialLink& port);

// Closes the port when the exchange leaves its scope, on every path.
class PortCloser {
public:
    explicit PortCloser(RadioLink& link) : m_link(link) {}
    ~PortCloser() { m_link.closeCommPort(); }
    PortCloser(const PortCloser&) = delete;
    PortCloser& operator=(const PortCloser&) = delete;

private:
    RadioLink& m_link;
};

} // namespace orv
