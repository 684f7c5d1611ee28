#include "link/VerifyExchange.h"

#include "link/Exchanges.h"
#include "link/OwnBlockRead.h"
#include "link/Protocol.h"
#include "link/Timings.h"

namespace orv {

namespace {
constexpr int ProgressStep = 5;
// The bar is full exactly on the last block, as the read's is.
constexpr int VerifyProgressMax = ProgressStep * (WriteBlockCount - 1);
} // namespace

std::optional<RadioData> readBackWritten(RadioLink& link, Feedback& feedback, const RadioData& written) {
    PortCloser closer(link);
    RadioLink::Handshake opened;
    if (!link.handshake(feedback, QStringLiteral("Radio Error"), opened))
        return std::nullopt;
    const auto interrupted = [&] {
        feedback.progressClose();
        feedback.message(QStringLiteral("Verifying data interrupted. Please write again!"),
                         QStringLiteral("Verifying Error"), Icon::Exclamation);
        return std::nullopt;
    };

    feedback.progressOpen(QStringLiteral("Verifying ..."), VerifyProgressMax, QStringLiteral("Verify"));
    if (!link.pause(timing::VerifyPauseMs))
        return interrupted();
    RadioData held = written;
    int step = 0;
    for (int b : writeBlockOrder()) {
        // A block the radio does not give back from its own address is not verified: the
        // exchange stops rather than take the written bytes for the radio's.
        if (!readOwnBlock(link, b * addr::BlockSize, timing::VerifyBlock, held))
            return interrupted();
        feedback.progressSet(ProgressStep * step++);
    }
    link.endConnection();
    if (link.failed() || !link.wait(timing::AfterEndMs))
        return interrupted();
    feedback.progressClose();
    return held;
}

} // namespace orv
