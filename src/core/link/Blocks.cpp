#include "link/Blocks.h"

#include <algorithm>

namespace orv::blocks {

QByteArray request(char command, int address) {
    QByteArray r;
    r.append(command);
    r.append(char((address >> 8) & 0xFF));
    r.append(char(address & 0xFF));
    r.append(char(addr::BlockSize));
    return r;
}

QByteArray write(int address, const std::uint8_t* bytes) {
    QByteArray r = request(protocol::WriteCommand, address);
    r.append(reinterpret_cast<const char*>(bytes), addr::BlockSize);
    return r;
}

ReplyKind parse(const QByteArray& reply, Reply& out) {
    if (reply.size() < protocol::BlockReplySize)
        return ReplyKind::Short;
    if (reply[0] != protocol::WriteCommand)
        return ReplyKind::Dropped;
    out.high = std::uint8_t(reply[1]);
    out.low = std::uint8_t(reply[2]);
    const int n = std::uint8_t(reply[3]);
    // A count that asks for more bytes than arrived is a broken reply, never a read past it.
    if (4 + n > reply.size())
        return ReplyKind::Bad;
    out.bytes = reply.mid(4, n);
    return ReplyKind::Data;
}

bool storeAt(RadioData& data, int address, const QByteArray& bytes) {
    if (address < 0 || address + bytes.size() > addr::ImageSize)
        return false;
    std::copy(bytes.begin(), bytes.end(), data.image.begin() + address);
    return true;
}

} // namespace orv::blocks
