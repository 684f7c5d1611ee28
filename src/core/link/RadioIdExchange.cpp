#include "link/RadioIdExchange.h"

#include "link/OwnBlockRead.h"
#include "link/Timings.h"

namespace orv {

std::optional<RadioData> readRadioIdBlocks(RadioLink& link, Feedback& feedback, const RadioData& current) {
    PortCloser closer(link);
    RadioLink::Handshake opened;
    if (!link.handshake(feedback, QStringLiteral("Radio Error"), opened))
        return std::nullopt;
    const auto interrupted = [&] {
        feedback.message(QStringLiteral("Reading the radio ID interrupted. Please try again!"),
                         QStringLiteral("Error"), Icon::Exclamation);
        return std::nullopt;
    };
    if (!link.pause(timing::IdReadPauseMs))
        return interrupted();
    RadioData out = current;
    for (int address = addr::RadioId; address < addr::RadioId + 16; address += addr::BlockSize)
        if (!readOwnBlock(link, address, timing::IdReadBlock, out))
            return interrupted();
    link.endConnection();
    if (link.failed() || !link.wait(timing::AfterEndMs))
        return interrupted();
    return out;
}

} // namespace orv
