#pragma once
// The radio's side of the programming protocol, one byte at a time: it waits for the opening
// code, answers the identity, then serves block reads ("R"), block writes ("W") and "END"
// from and into its own 1024-byte memory. The tune-mode code puts it into its service mode,
// where it takes the test-channel, signalling, narrow and tune-item commands and leaves on a
// probe read followed by 0x06. Faults can be switched on to make it behave like a radio with
// a bad cable, a slow processor or a damaged memory.
//
// It knows nothing of time: whoever carries its bytes (the in-memory link, the pseudo-terminal
// server) models the wire and applies replyDelayMs().

#include "image/RadioData.h"
#include "link/Protocol.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>

namespace orv::sim {

// The radio's line: 9600 baud, 8 data bits, no parity, 2 stop bits, so 11 bits a byte.
inline constexpr int RadioBaud = 9600;
inline constexpr int RadioBitsPerByte = 11;
inline constexpr std::int64_t RadioByteTimeNs = std::int64_t(RadioBitsPerByte) * 1'000'000'000 / RadioBaud;
// A command's bytes come back to back; a pause longer than this inside one abandons it.
inline constexpr int RadioCommandGapMs = 50;

// What goes wrong with the radio. A block is a request address / 8 (0..127); -1 is "never".
struct RadioFaults {
    bool silent = false;          // "silent": never answers anything
    int answerAttempt = 1;        // "answer-attempt:N": opening codes before the Nth are not heard
    bool noFinalAck = false;      // "no-final-ack": the program's closing 0x06 gets no answer
    int shortReplyAtBlock = -1;   // "short-reply-at-block:B": 6 bytes instead of 12
    int extraByteAtBlock = -1;    // "extra-byte-at-block:B": 13 bytes, one trailing extra
    int badHeaderAtBlock = -1;    // "bad-header-at-block:B": 'X' instead of 'W'
    int wrongAddressAtBlock = -1; // "wrong-address-at-block:B:ADDR": answers with ADDR and its bytes
    int wrongAddress = 0;
    int nakAtBlock = -1;          // "nak-at-block:B": refuses that write with 0x15, then silent
    int keepOldAtBlock = -1;      // "keep-old-at-block:B": acknowledges that write with 0x06 but keeps its old bytes
    int stopAfterBlock = -1;      // "stop-after-block:B": silent after answering B (read or write)
    int slowMs = 0;               // "slow:MS": every reply MS milliseconds late
    // Tune mode.
    bool noTuneAck = false;       // "no-tune-ack": the tune-mode code gets no answer (stays programming)
    QByteArray tuneRefuse;        // "tune-refuse:L": item commands with these letters get 0x15
    bool tuneBareAck = false;     // "tune-bare-ack": every item command gets a bare 0x06
    bool tuneLongReply = false;   // "tune-long-reply": every item reply ends with an extra 0x00
    int tuneSilentAfter = -1;     // "tune-silent-after:N": silent for good after N tune commands

    // Merges one fault text into `into`. Numbers are decimal or 0x hex. A text it does not
    // know, or a number out of range, returns false with the reason in *error.
    static bool parse(const QString& text, RadioFaults& into, QString* error = nullptr);
    // One line per accepted text, for help output.
    static QStringList syntax();
};

// What the radio saw, for tests and for the simulator's summary.
struct RadioLog {
    int openingCodes = 0;     // opening codes recognised, answered or not
    int handshakes = 0;       // times programming mode was entered
    QList<int> blocksRead;    // blocks answered to "R", in order
    QList<int> blocksWritten; // blocks stored from "W", in order
    bool endedWithEnd = false; // the last programming session was closed by "END"
    int tuneCodes = 0;         // tune-mode codes recognised in programming mode, answered or not
    int tuneEntries = 0;       // times tune mode was entered (the code acknowledged)
    int tuneExits = 0;         // times tune mode was left by a probe and 0x06
    // Every whole command received in tune mode, in order, whatever the answer. Its size is
    // the count "tune-silent-after" goes by.
    QList<QByteArray> tuneCommands;
};

// What the radio in tune mode is doing.
struct TuneState {
    int channel = 0;       // selected test channel 1..11, 0 before the first "C"
    bool narrow = false;   // "n" received since the last channel: "Q" and "D" are items 5 and 6
    QByteArray signalling; // t, s1, s2 of the last "S"; empty before it
    int liveItem = -1;     // item code 0..6 of the last item command carried out, -1 none
    int liveValue = -1;    // its value, the one the radio applies now; -1 none
};

class VirtualRadio {
public:
    enum class Mode {
        Idle,                 // waits for the opening code
        AwaitIdentityRequest, // opening code acknowledged, waits for 0x02
        AwaitFinalAck,        // identity sent, waits for 0x06
        Programming,          // serves R / W / END, 0x06 and the tune-mode code
        Tune,                 // service mode: C / S / n / items / probe
        Silent,               // gone quiet after a fault; stays so for the radio's lifetime
    };

    // Default memory (defaultRadioMemory), model code 7, data version 2, identity "RZ4K8".
    VirtualRadio();
    explicit VirtualRadio(const RadioData& memory);

    // One byte from the wire; returns what the radio puts on the wire in answer (maybe nothing).
    QByteArray receive(char byte);
    // Convenience for tests: every byte in turn, the answers concatenated.
    QByteArray receive(const QByteArray& bytes);
    // The line has been quiet for longer than RadioCommandGapMs (the carrier of the bytes
    // calls this before handing over the next byte): a half-received command is dropped, so a
    // write cut short cannot swallow the next handshake as its data.
    void lineQuiet() { m_command.clear(); }
    // The cable was pulled: programming mode and any half-received command are lost.
    void lineLost();

    int replyDelayMs() const { return m_faults.slowMs; }
    Mode mode() const { return m_mode; }
    bool inProgrammingMode() const { return m_mode == Mode::Programming; }
    bool inTuneMode() const { return m_mode == Mode::Tune; }
    // Reset each time tune mode is entered.
    const TuneState& tuneState() const { return m_tune; }
    int tuneLiveValue() const { return m_tune.liveValue; }
    int tuneLiveItem() const { return m_tune.liveItem; }

    RadioData& memory() { return m_memory; }
    const RadioData& memory() const { return m_memory; }
    void setMemory(const RadioData& memory) { m_memory = memory; }

    int modelCode() const { return m_modelCode; }
    void setModelCode(int code) { m_modelCode = code; }
    int dataVersion() const { return m_dataVersion; }
    void setDataVersion(int version) { m_dataVersion = version; }
    // The identity text sent before the model code: 5 bytes normally; another length makes
    // the identity reply longer or shorter than the program expects.
    QByteArray identity() const { return m_identity; }
    void setIdentity(const QByteArray& identity) { m_identity = identity; }

    const RadioFaults& faults() const { return m_faults; }
    void setFaults(const RadioFaults& faults) { m_faults = faults; }

    const RadioLog& log() const { return m_log; }
    // Forgets what was seen; the opening-code and tune-command counts restart, so
    // "answer-attempt" and "tune-silent-after" apply anew.
    void clearLog() { m_log = RadioLog{}; }

    // Identity text, model code, data version, memory byte 0x2D0.
    QByteArray identityReply() const;

private:
    enum class Held { Nothing, Partial, Whole };
    QByteArray command(char byte);
    Held heldInProgramming(const QByteArray& bytes) const;
    Held heldInTune(const QByteArray& bytes) const;
    QByteArray programmingCommand(const QByteArray& cmd);
    QByteArray tuneCommand(const QByteArray& cmd, bool afterProbe);
    QByteArray tuneItem(const QByteArray& cmd);
    QByteArray enterTune();
    QByteArray blockReply(int address, char header = protocol::WriteCommand) const;
    QByteArray answerRead(int address);
    QByteArray answerWrite(int address, const QByteArray& data);
    bool muted() const { return m_faults.silent || m_mode == Mode::Silent; }

    RadioData m_memory;
    int m_modelCode = 7;
    int m_dataVersion = 2;
    QByteArray m_identity = protocol::bytes(protocol::IdentityText);
    RadioFaults m_faults;
    RadioLog m_log;
    Mode m_mode = Mode::Idle;
    QByteArray m_window;  // the last bytes received, to spot the opening code
    QByteArray m_command; // the command (or access code) being received
    TuneState m_tune;
    bool m_probed = false; // the last byte completed a probe in tune mode
};

// A byte on the wire and the moment it has fully crossed it.
struct TimedByte {
    char byte;
    std::int64_t atNs;
};

// The radio's end of the wire, for whoever carries the bytes: hands each byte to the radio
// once it has arrived (a long pause first tells the radio the line was quiet) and puts the
// answer on the wire byte after byte, after the radio's reply delay and after any answer
// still going out.
class RadioWireEnd {
public:
    explicit RadioWireEnd(VirtualRadio& radio) : m_radio(radio) {}
    void arrive(const TimedByte& in, std::deque<TimedByte>& answers);
    // The answers still on the wire were thrown away: the line is free at once.
    void answersDropped() { m_freeNs = 0; }

private:
    VirtualRadio& m_radio;
    std::int64_t m_lastArrivalNs = 0;
    std::int64_t m_freeNs = 0;
};

// A new image for model value 7 (136-174 MHz): default settings, channels 1-15 on
// 136.00000 MHz, radio ID "ORV-SIM-00000001", no date stamp.
RadioData defaultRadioMemory();

// The memory of a programmed demo radio, built into the program. Falls back to
// defaultRadioMemory() should the built-in file be missing or unreadable.
RadioData demoRadioImage();

} // namespace orv::sim
