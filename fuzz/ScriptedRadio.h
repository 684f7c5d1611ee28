#pragma once
// The radio's side of the line, scripted by bytes from outside (a fuzzer's input): for each
// request the program sends, the next chunk of the script is the radio's whole reply, there at
// once. A chunk starts with one byte:
//   0x00..0xFD  that many reply bytes follow (0x00: the radio keeps silent);
//   0xFE        the line breaks at this request: every operation fails from here on;
//   0xFF        two more bytes give the length (big-endian, up to 65535), then the bytes.
// A chunk cut short by the end of the script replies with what there is; after the end the
// radio is silent. Every request and the reply that came with it are kept, so that a check
// can tell which bytes the radio sent.

#include "link/SerialLink.h"

#include <QByteArray>
#include <QList>
#include <cstddef>
#include <cstdint>

namespace orv::fuzz {

inline constexpr std::uint8_t ChunkLineBreaks = 0xFE;
inline constexpr std::uint8_t ChunkLongLength = 0xFF;

// One chunk of a script holding `reply` (the header that fits its length).
QByteArray scriptChunk(const QByteArray& reply);

class ScriptedRadio : public SerialLink {
public:
    // The script is read in place: it must outlive the link.
    ScriptedRadio(const std::uint8_t* script, std::size_t size) : m_script(script), m_size(size) {}

    struct Turn {
        QByteArray request;
        QByteArray reply;
    };
    // The turns since the last clearTurns(), in order.
    const QList<Turn>& turns() const { return m_turns; }
    void clearTurns() { m_turns.clear(); }
    bool broken() const { return m_broken; }

    bool setSettings(const QString&) override { return !m_broken; }
    bool open() override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    int inBufferCount() override { return usable() ? int(m_received.size()) : -1; }
    int outBufferCount() override { return usable() ? 0 : -1; }
    bool discardInput() override;
    bool discardOutput() override { return usable(); }
    bool send(const QByteArray& bytes) override;
    QByteArray takeAll() override;

private:
    bool usable() const { return m_open && !m_broken; }
    // The next chunk of the script; false when it breaks the line.
    bool nextChunk(QByteArray& reply);

    const std::uint8_t* m_script;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_open = false;
    bool m_broken = false;
    QByteArray m_received;
    QList<Turn> m_turns;
};

} // namespace orv::fuzz
