#pragma once
// The radio's request/reply protocol over one serial link: opening and closing the port, the
// one request/reply step every exchange is built from, the handshake that puts the radio
// into programming mode, and "END". All waits go through the clock, so a virtual clock runs
// a whole exchange in no time with exact timings.

#include "Clock.h"
#include "Feedback.h"
#include "link/SerialLink.h"

#include <QByteArray>
#include <QString>

namespace orv {

// Results of connectRadio besides the model code.
inline constexpr int LinkFailed = -1;
inline constexpr int IdentityMismatch = 255;

class RadioLink {
public:
    // portLabel names the port in messages: "COM3", or a device path given directly.
    RadioLink(SerialLink& link, Clock& clock, QString portLabel);

    SerialLink& serial() { return m_link; }
    Clock& clock() { return m_clock; }
    const QString& portLabel() const { return m_portLabel; }

    // Opens the port for an exchange: 9600,N,8,2, buffers discarded, 80 ms settle. Failures
    // are silent here; the first step of the exchange then fails.
    void openCommPort();
    void closeCommPort();

    // The request/reply step: wait `pre`, send, wait until sent, wait `settle`, then poll up to
    // `polls` times (wait `before`, test for `need` bytes, wait `after` unless stopAtOnce and the
    // test succeeded), then take every waiting byte as the reply and discard both buffers.
    // A failing serial operation ends the step with an empty reply and sets failed().
    // `takeDelay` waits that long after the polling, before the reply is taken.
    QByteArray sendAndWait(int pre, const QByteArray& payload, int settle, int need, int polls,
                           int before, int after, bool stopAtOnce = false, int takeDelay = 0);
    // Up to three attempts of a step: each discards both buffers, waits 80 ms, then runs the
    // step; attempts stop as soon as a byte has arrived. Returns the last reply.
    QByteArray attempt(int pre, const QByteArray& payload, int settle, int need, int polls, int before,
                       int after);

    // True once a serial operation failed (port not open, line broken); cleared by openCommPort.
    bool failed() const { return m_failed; }

    struct Identity {
        int dataVersion = 0;
        std::uint8_t modelBlock0 = 0;
    };
    // The handshake. Returns LinkFailed, IdentityMismatch or the radio's model code; `identity`
    // receives the data version and ModelBlock byte 0 once the identity reply was good (even
    // when the closing acknowledgement then fails). Shows the model-code warning itself.
    int connectRadio(Feedback& feedback, Identity& identity, bool& identitySeen);
    struct Handshake {
        int modelCode = LinkFailed;
        Identity identity;
        bool identitySeen = false;
    };
    // connectRadio with the caller's message for a failure (reportHandshakeFailure). False
    // once the failure has been reported.
    bool handshake(Feedback& feedback, const QString& mismatchTitle, Handshake& out);
    // "END" and a short wait for an answer that is not looked at.
    void endConnection();

    // Discard the send buffer, then wait: the pause before the blocks of an exchange.
    bool pause(int ms);

    // The caller's message for a failed handshake: "COM3 port don't respond, please check your
    // connection!" ("Communication port error") and, for a mismatch, the model message with the
    // caller's title. A port that could not be opened adds the reason on a second paragraph.
    void reportHandshakeFailure(int result, Feedback& feedback, const QString& mismatchTitle);

private:
    void delay(int ms) { m_clock.delayMs(ms); }
    bool check(bool ok) {
        if (!ok)
            m_failed = true;
        return ok;
    }
    SerialLink& m_link;
    Clock& m_clock;
    QString m_portLabel;
    bool m_failed = false;
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
