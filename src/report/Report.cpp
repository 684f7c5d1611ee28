#include "Report.h"

#include "session/Session.h"
#include "session/TuneSession.h"

#include <algorithm>

namespace orv {

Report channelReport(const Session& session, const QDateTime& printedAt) {
    ChannelReport body;
    if (const ModelInfo* model = session.selectedModelInfo())
        body.modelName = model->name;
    body.bandText = session.bandText();
    body.channels = session.channels();
    body.settings = session.settings();
    return Report{session.title(), printedAt, body};
}

Report tuneReport(const Session& session, const QDateTime& printedAt) {
    TuneReport body;
    const TuneSession& tuning = session.tuning();
    if (tuning.state() != TuneSession::None) {
        body.radioName = tuning.modelName();
        body.rangeText = tuning.rangeText();
        body.currentTestChannel = session.currentTestChannel();
    } else {
        if (const ModelInfo* model = session.selectedModelInfo()) {
            body.radioName = model->name;
            body.rangeText = bandText(*model, u" ~ ");
        }
        const int first = firstTestChannelInUse(session.data());
        body.currentTestChannel = first ? first : session.currentTestChannel();
    }
    body.tune = session.tune();
    std::ranges::copy(session.data().tuneValues(), body.tuneValues.begin());
    return Report{session.title(), printedAt, body};
}

} // namespace orv
