// The verify exchange of the runner: the read back and the comparison of its result.

#include "exchange/ExchangeRunner.h"

#include "compare/Verify.h"
#include "link/VerifyExchange.h"

namespace orv {

ExchangeResult ExchangeRunner::verify(const RadioData& written, int dataVersion, const compare::SideOpener& opener,
                                      compare::VerifyReport* report) {
    compare::VerifyReport found;
    found.sent = imageAsWritten(written, dataVersion);
    ExchangeResult result = run(ExchangeKind::Verify, [&](RadioLink& link, Feedback& feedback) {
        found.readBack = readBackWritten(link, feedback, found.sent);
        if (!found.readBack)
            return false;
        found.differences = compare::writtenDifferences(found.sent, *found.readBack, dataVersion, opener);
        if (!found.holdsWritten()) {
            link.noteFailure(LinkFailure::Mismatch);
            m_unshownMessage = compare::verifyFailedText(found.differences.size());
            return false;
        }
        m_unshownMessage = compare::verifyPassedText();
        return true;
    });
    if (report)
        *report = found;
    return result;
}

} // namespace orv
