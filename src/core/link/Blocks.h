#pragma once
// The block messages every exchange is built from: read requests, write requests and the
// radio's block replies, checked against what actually arrived.

#include "image/RadioData.h"
#include "link/Protocol.h"

#include <QByteArray>

namespace orv::blocks {

// "R" (or "W"), address high, address low, 8.
QByteArray request(char command, int address);
// "W", address high, address low, 8, then the 8 bytes.
QByteArray write(int address, const std::uint8_t* bytes);

struct Reply {
    int high = 0;
    int low = 0;
    QByteArray bytes;
    int address() const { return 256 * high + low; }
};
enum class ReplyKind { Short, Dropped, Data, Bad };
// Short: fewer than 12 bytes. Dropped: not a "W" reply. Bad: its count asks for more bytes
// than arrived. Data: `out` holds the reply's address and bytes.
ReplyKind parse(const QByteArray& reply, Reply& out);

// Stores bytes at an image address; false (and nothing stored) when they would not fit.
bool storeAt(RadioData& data, int address, const QByteArray& bytes);

} // namespace orv::blocks
