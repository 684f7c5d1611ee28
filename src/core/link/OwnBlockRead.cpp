#include "link/OwnBlockRead.h"

#include "link/Blocks.h"
#include "link/Protocol.h"

namespace orv {

bool readOwnBlock(RadioLink& link, int address, const StepTiming& timing, RadioData& into) {
    const QByteArray reply = link.sendAndWait(blocks::request(protocol::ReadCommand, address), timing);
    if (link.failed())
        return false;
    blocks::Reply block;
    const blocks::ReplyKind kind = blocks::parse(reply, block);
    if (kind != blocks::ReplyKind::Data || block.address() != address || block.bytes.size() != addr::BlockSize) {
        link.noteReplyFailure(reply);
        return false;
    }
    return blocks::storeAt(into, address, block.bytes);
}

} // namespace orv
