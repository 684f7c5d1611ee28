// The radio ID read of the runner.

#include "exchange/ExchangeRunner.h"

#include "image/RadioInfoText.h"
#include "link/RadioIdExchange.h"

namespace orv {

ExchangeResult ExchangeRunner::readRadioId(const RadioData& current, RadioData* out) {
    std::optional<RadioData> got;
    ExchangeResult result = run(ExchangeKind::IdRead, [&](RadioLink& link, Feedback& feedback, ExchangeResult& r) {
        got = readRadioIdBlocks(link, feedback, current);
        if (got)
            r.radio.radioId = radioIdText(*got);
        return got.has_value();
    });
    if (got && out)
        *out = *got;
    return result;
}

} // namespace orv
