#include "fleet/RadioSteps.h"

#include "fleet/InfoTemplate.h"
#include "history/HistoryRecorder.h"
#include "history/RadioIdNames.h"
#include "image/RadioInfoText.h"
#include "link/Exchanges.h"

namespace orv::fleet {

namespace {

// A step stopped by Stop Now: what it means for the radio.
QString stoppedText(PortState step) {
    switch (step) {
    case PortState::Writing:
        return QStringLiteral("Stopped now: the write was cut. The radio must be written again.");
    case PortState::Verifying:
        return QStringLiteral("Stopped now: the radio was written but not verified.");
    case PortState::WritingInfo:
        return QStringLiteral("Stopped now: the information text was cut. The radio must be written again.");
    default:
        return QStringLiteral("Stopped now, before the write: nothing was written to the radio.");
    }
}

RadioRecord recordOf(const ExchangeResult& identified, int number) {
    RadioRecord r;
    r.port = identified.port;
    r.radio = number;
    r.radioId = radioIdLabel(identified.radio.radioId);
    r.modelValue = identified.radio.modelCode;
    return r;
}

} // namespace

RadioRecord failedRadio(const ExchangeResult& identified, int number, const QDateTime& when) {
    RadioRecord r = recordOf(identified, number);
    r.time = when;
    r.message = identified.reason == LinkFailure::Stopped ? stoppedText(PortState::Identifying) : identified.message;
    return r;
}

RadioRecord RadioSteps::program(const ExchangeResult& identified, int number) const {
    RadioRecord r = recordOf(identified, number);
    PortState step = PortState::Identifying;
    const auto done = [&](bool ok, const QString& message) {
        r.ok = ok;
        r.message = message;
        r.time = clock.localDateTime();
        return r;
    };
    // A step that did not succeed ends the radio with the exchange's own message.
    const auto failed = [&](const ExchangeResult& result) {
        return done(false, result.reason == LinkFailure::Stopped ? stoppedText(step) : result.message);
    };
    const auto enter = [&](PortState s) {
        step = s;
        if (entering)
            entering(s);
    };

    if (identified.radio.modelCode != payload.modelValue && !options.allowOtherModel)
        return done(false, otherModelText());
    if (identified.radio.dataVersion >= 3)
        return done(false, newerRadioText());

    if (options.backup) {
        enter(PortState::BackingUp);
        const ExchangeResult read = runner.read(RadioData{}, nullptr);
        if (!read.ok())
            return failed(read);
        r.backup = history.lastBackup();
        if (r.backup.isEmpty()) {
            const QString why = historyWarning ? historyWarning() : QString();
            return done(false, QStringLiteral("No backup of the radio could be kept, so it was not written.") +
                                   (why.isEmpty() ? QString() : QLatin1Char(' ') + why));
        }
        r.backedUp = true;
    }

    enter(PortState::Writing);
    RadioData sent = payload.data;
    int version = payload.dataVersion;
    const ExchangeResult write = runner.write(sent, version, {payload.modelValue, payload.appTitle});
    if (!write.ok())
        return failed(write);
    r.written = true;

    if (options.verify) {
        enter(PortState::Verifying);
        const ExchangeResult verify = runner.verify(sent, version, opener, nullptr);
        if (!verify.ok())
            return failed(verify);
        r.verified = true;
    }

    if (options.infoTemplate) {
        enter(PortState::WritingInfo);
        RadioData info = sent;
        storeInfoText(expandInfoTemplate(*options.infoTemplate,
                                         {number, identified.radio.radioId, clock.localDateTime().date(), r.port}),
                      info);
        const ExchangeResult written = runner.writeInfo(info);
        if (!written.ok())
            return failed(written);
        r.infoWritten = true;
    }
    return done(true, doneWords(r));
}

} // namespace orv::fleet
