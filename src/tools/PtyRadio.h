#pragma once
// The virtual radio on a pseudo-terminal: the program opens the terminal's device as if it
// were the serial port the programming cable hangs on.
//
// A pseudo-terminal hands bytes over at once, a cable at 9600 baud does not: each byte the
// program writes is taken as arriving one byte time (1.1458 ms) after the previous one has,
// and the radio's answers are written one byte time apart, each when its last bit would have
// arrived. The server sleeps in ppoll() until the next byte is due, so it uses no CPU while
// waiting.
//
// The server keeps a descriptor of the terminal's own side open for its whole life: clients
// can come and go without the terminal disappearing, and the radio never learns that a client
// closed the port (just as a radio on a cable does not).

#include "sim/VirtualRadio.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdint>
#include <deque>
#include <vector>

class QIODevice;

namespace orv::sim {

class PtyRadio {
public:
    explicit PtyRadio(VirtualRadio& radio);
    ~PtyRadio();
    PtyRadio(const PtyRadio&) = delete;
    PtyRadio& operator=(const PtyRadio&) = delete;

    // Creates the pseudo-terminal (raw, 9600 8N2). False with the reason on failure.
    bool open(QString* error);
    // The device a client opens, "/dev/pts/N".
    QString devicePath() const { return m_path; }
    // Every chunk sent and received is logged to `trace` (may be null) as a trace line.
    void setTrace(QIODevice* trace) { m_trace = trace; }

    // Serves clients of each radio on its own terminal, all in one thread, until `stopFd`
    // becomes readable (a signalfd), or, when watchStdin is set, until standard input ends.
    // Returns false with the reason when a terminal fails.
    static bool serve(const std::vector<PtyRadio*>& radios, int stopFd, bool watchStdin, QString* error);

private:
    using Timed = TimedByte;
    std::int64_t nowNs() const;
    // Hands over and writes what is due now; returns when the next byte is due (ns on this
    // radio's time line), -1 when nothing is waiting.
    std::int64_t serviceDue();
    // The terminal has something: take it. False with the reason when the terminal failed.
    bool takeInput(short events, QString* error);
    void received(const QByteArray& bytes);
    void deliverDue(std::int64_t now);
    void writeDue(std::int64_t now);
    void trace(bool tx, const QByteArray& bytes);

    VirtualRadio& m_radio;
    RadioWireEnd m_radioEnd;
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QIODevice* m_trace = nullptr;
    std::chrono::steady_clock::time_point m_start;

    std::deque<Timed> m_toRadio;   // received, handed to the radio when due
    std::deque<Timed> m_fromRadio; // answers, written when due
    std::int64_t m_rxFreeNs = 0;
};

} // namespace orv::sim
