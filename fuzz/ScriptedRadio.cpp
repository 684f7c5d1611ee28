#include "ScriptedRadio.h"

#include <algorithm>

namespace orv::fuzz {

QByteArray scriptChunk(const QByteArray& reply) {
    QByteArray chunk;
    const qsizetype n = std::min<qsizetype>(reply.size(), 0xFFFF);
    if (n < ChunkLineBreaks) {
        chunk.append(char(n));
    } else {
        chunk.append(char(ChunkLongLength));
        chunk.append(char(n >> 8));
        chunk.append(char(n & 0xFF));
    }
    return chunk + reply.left(n);
}

bool ScriptedRadio::open() {
    if (m_broken)
        return false;
    m_open = true;
    return true;
}

bool ScriptedRadio::discardInput() {
    if (!usable())
        return false;
    m_received.clear();
    return true;
}

bool ScriptedRadio::nextChunk(QByteArray& reply) {
    reply.clear();
    if (m_pos >= m_size)
        return true;
    const std::uint8_t head = m_script[m_pos++];
    if (head == ChunkLineBreaks)
        return false;
    std::size_t length = head;
    if (head == ChunkLongLength) {
        length = 0;
        for (int k = 0; k < 2 && m_pos < m_size; ++k)
            length = length * 256 + m_script[m_pos++];
    }
    length = std::min(length, m_size - m_pos);
    reply = QByteArray(reinterpret_cast<const char*>(m_script + m_pos), qsizetype(length));
    m_pos += length;
    return true;
}

bool ScriptedRadio::send(const QByteArray& bytes) {
    if (!usable())
        return false;
    Turn turn{bytes, {}};
    if (!nextChunk(turn.reply))
        m_broken = true;
    m_received += turn.reply;
    m_turns.append(turn);
    return !m_broken;
}

QByteArray ScriptedRadio::takeAll() {
    if (!usable())
        return {};
    return std::exchange(m_received, QByteArray());
}

} // namespace orv::fuzz
