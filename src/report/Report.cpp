#include "Report.h"

#include "document/Document.h"
#include "document/TuneSession.h"

#include <algorithm>

namespace orv {

Report channelReport(const Document& doc, const QDateTime& printedAt) {
    ChannelReport body;
    if (const ModelInfo* model = doc.selectedModelInfo())
        body.modelName = model->name;
    body.bandText = doc.bandText();
    body.channels = doc.channels();
    body.settings = doc.settings();
    return Report{doc.title(), printedAt, body};
}

Report tuneReport(const Document& doc, const QDateTime& printedAt) {
    TuneReport body;
    const TuneSession& tuning = doc.tuning();
    if (tuning.state() != TuneSession::None) {
        body.radioName = tuning.modelName();
        body.rangeText = tuning.rangeText();
        body.currentTestChannel = doc.currentTestChannel();
    } else {
        if (const ModelInfo* model = doc.selectedModelInfo()) {
            body.radioName = model->name;
            body.rangeText = bandText(*model, doc.numbers(), u" ~ ");
        }
        const int first = firstTestChannelInUse(doc.data());
        body.currentTestChannel = first ? first : doc.currentTestChannel();
    }
    body.tune = doc.tune();
    std::ranges::copy(doc.data().tuneValues(), body.tuneValues.begin());
    return Report{doc.title(), printedAt, body};
}

} // namespace orv
