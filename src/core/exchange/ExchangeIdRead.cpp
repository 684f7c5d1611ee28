// The radio ID read of the runner.

#include "exchange/ExchangeRunner.h"

#include "link/RadioIdExchange.h"

namespace orv {

ExchangeResult ExchangeRunner::readRadioId(const RadioData& current, RadioData* out) {
    return readNamingRadio(
        ExchangeKind::IdRead,
        [&](RadioLink& link, Feedback& feedback) { return readRadioIdBlocks(link, feedback, current); }, out);
}

} // namespace orv
