// The tune-mode commands of orvante-cli: read the tune area, align one item on one test
// channel, write the test channels of a file.

#include "RadioRun.h"
#include "files/DataFile.h"
#include "image/TuneTable.h"
#include "link/TuneExchanges.h"
#include "document/TuneSession.h"

#include <QFileInfo>
#include <cstdio>

namespace orv::cli {

namespace {

// Tune mode entered on a started run; false once the failure has been said.
bool enter(RadioRun& run) { return run.session->tuning().enterTuneMode(run.runner); }

// Leaves tune mode; a radio that does not confirm it is a failure of the command.
int leave(RadioRun& run, int status) {
    TuneSession& tuning = run.session->tuning();
    tuning.leaveTuneMode(run.runner);
    if (tuning.state() != TuneSession::None && status == ExitOk)
        return fail(QStringLiteral("The radio did not confirm the end of tune mode; switch it off and on again."));
    return status;
}

} // namespace

QStringList tuneItemKeys() {
    QStringList keys;
    for (int k = 0; k < TuneItemCount; ++k)
        keys << QString::fromLatin1(tuneItem(k).key);
    return keys;
}

int cmdTuneRead(const Options& o, const RadioOptions& r, const QString& file) {
    RadioRun run(r);
    if (!run.start(o, r))
        return ExitFailed;
    if (!enter(run))
        return failedExchange(run.feedback);
    const int left = leave(run, ExitOk);
    int version = run.session->dataVersion();
    if (writeDataFile(QFileInfo(file).absoluteFilePath(), run.session->data(), &version) != SaveStatus::Ok)
        return fail(QStringLiteral("The data read cannot be saved to %1.").arg(file));
    std::printf("Saved to %s\n", qPrintable(file));
    return left;
}

int cmdTune(const Options& o, const RadioOptions& r, const TuneRequest& t) {
    const int code = tuneItemCode(t.item);
    RadioRun run(r);
    if (!run.start(o, r))
        return ExitFailed;
    if (!enter(run))
        return failedExchange(run.feedback);
    TuneSession& tuning = run.session->tuning();
    if (!tuning.selectTestChannel(t.channel)) {
        leave(run, ExitFailed);
        return fail(QStringLiteral("Test channel %1 is \"No CH\" in the radio; it cannot be used for tuning.")
                        .arg(t.channel));
    }
    tuning.chooseItem(code + 1, run.runner);
    if (tuning.state() != TuneSession::ItemActive || !tuning.itemPageVisible())
        return leave(run, ExitFailed); // the tune message is already the last line
    const int before = tuning.value();
    std::printf("%s before: %d\n", qPrintable(t.item), before);
    std::fflush(stdout);

    tuning.moveValue(t.value, run.runner);
    if (!tuning.itemPageVisible())
        return leave(run, ExitFailed);
    if (t.store)
        tuning.ok(run.runner);
    else
        tuning.cancel(run.runner);
    if (tuning.state() != TuneSession::ItemLeft)
        return leave(run, ExitFailed);
    std::printf("%s after: %d\n", qPrintable(t.item), int(run.session->data().tuneValues()[std::size_t(code)]));
    return leave(run, ExitOk);
}

int cmdTuneWriteChannels(const Options& o, const RadioOptions& r, const QString& file) {
    RadioRun run(r);
    if (!run.start(o, r, file))
        return ExitFailed;
    // Entering tune mode shows the radio's test channels; the file's go back in afterwards.
    const TuneTable fromFile = run.session->tune();
    if (!enter(run))
        return failedExchange(run.feedback);
    run.session->setTestChannels(fromFile);
    if (!run.session->tuning().writeTestChannels(run.runner))
        return leave(run, ExitFailed);
    return leave(run, ExitOk);
}

} // namespace orv::cli
