#pragma once
// The serial port as the protocol sees it: exactly the operations the exchanges need. The
// real port (QtSerialLink), the in-memory link to the virtual radio and the tracing wrapper
// implement it. An operation that fails (port not open, device gone) reports it through its
// result; the exchanges then take their failure path.

#include <QByteArray>
#include <QString>

namespace orv {

class SerialLink {
public:
    virtual ~SerialLink() = default;

    // Line settings as text, "9600,N,8,2" (baud, parity N/O/E, data bits, stop bits).
    // Returns false for a text the link cannot apply.
    virtual bool setSettings(const QString& settings) = 0;
    // Opens the port chosen when the link was made. Returns false and keeps a readable
    // reason (openError) when it cannot be opened.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Why the last open failed, for the user ("" when it did not fail).
    virtual QString openError() const { return {}; }

    // Received bytes waiting to be taken; -1 when the port is closed or the line is broken.
    virtual int inBufferCount() = 0;
    // Bytes queued but not yet on the wire; -1 when the port is closed or the line is broken.
    virtual int outBufferCount() = 0;
    virtual bool discardInput() = 0;
    virtual bool discardOutput() = 0;
    // Queues bytes for sending. Returns false when the port is closed or the line is broken.
    virtual bool send(const QByteArray& bytes) = 0;
    // Takes every received byte waiting (possibly none) and empties the receive buffer.
    virtual QByteArray takeAll() = 0;
};

} // namespace orv
