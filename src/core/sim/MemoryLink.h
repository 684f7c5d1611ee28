#pragma once
// A serial link whose other end is a VirtualRadio in the same process. It models the wire:
// every byte, both ways, takes its time on the line (11 bits at 9600 baud, 1.1458 ms), bytes
// queued by the program go out back to back, the radio sees each byte when it has fully
// arrived and its answer starts on the wire at that moment (plus the radio's reply delay).
// Everything is worked out lazily from the clock on each call, so it runs the same on a
// virtual clock (tests, exact timings) and on the system clock (a live demo).
//
// Closing the port drops whatever is on the wire but does not tell the radio: the cable is
// still plugged into it, so a radio left in programming mode stays there until the next
// opening code or "END". cut() pulls the cable: the radio loses programming mode and the
// link fails every operation from then on.

#include "Clock.h"
#include "link/SerialLink.h"
#include "sim/VirtualRadio.h"

#include <cstdint>
#include <deque>

namespace orv::sim {

class VirtualRadio;

class MemoryLink : public SerialLink {
public:
    MemoryLink(VirtualRadio& radio, Clock& clock);

    // "9600,N,8,2" style. Bytes reach the radio, and its answers the program, only while the
    // line matches the radio's 9600,N,8,2; at other settings both sides see garbage and drop it.
    bool setSettings(const QString& settings) override;
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString openError() const override { return m_openError; }

    int inBufferCount() override;
    int outBufferCount() override;
    bool discardInput() override;  // drops arrived bytes; bytes still on the way arrive later
    bool discardOutput() override; // drops bytes not yet started on the wire
    bool send(const QByteArray& bytes) override;
    QByteArray takeAll() override;

    // Pulls the cable: every operation fails from now on (open included), the radio gets
    // nothing more and forgets programming mode. isOpen() still tells whether the program
    // holds the port, as a real port whose device vanished does.
    void cut();
    bool isCut() const { return m_cut; }
    // Makes open() fail with this reason (empty: open works again).
    void setOpenFailure(const QString& reason) { m_openFailure = reason; }
    // The settings text last applied.
    QString settings() const { return m_settings; }

private:
    using OnWire = TimedByte;
    std::int64_t nowNs() const { return m_clock.nowMs() * 1'000'000; }
    bool usable() const { return m_open && !m_cut; }
    // Moves everything whose time has come: program bytes into the radio, radio answers onto
    // the wire, arrived answer bytes into the receive buffer.
    void advance();
    void dropInFlight();

    VirtualRadio& m_radio;
    Clock& m_clock;
    bool m_open = false;
    bool m_cut = false;
    QString m_openFailure;
    QString m_openError;
    QString m_settings = QStringLiteral("9600,N,8,2");
    bool m_lineMatches = true;
    std::int64_t m_byteNs; // one byte at the program's settings

    std::deque<OnWire> m_outgoing; // program to radio, not yet fully across
    std::deque<OnWire> m_incoming; // radio to program, not yet fully across
    QByteArray m_received;         // arrived, waiting to be taken
    std::int64_t m_txFreeNs = 0;   // when the program's side of the line is free again
    RadioWireEnd m_radioEnd;
};

} // namespace orv::sim
