// orvante-cli diff and the verify after a write: the compare engine on a terminal.

#include "DiffCommand.h"

#include "RadioRun.h"
#include "compare/Compare.h"
#include "compare/DiffReport.h"
#include "compare/Verify.h"

#include <QJsonDocument>
#include <cstdio>

namespace orv::cli {

namespace {

using namespace orv::compare;

// diff's own exit status, as diff and cmp have it.
enum DiffExit { DiffSame = 0, DiffDifferent = 1, DiffTrouble = 2 };

struct DiffRequest {
    Scope scope = Scope::All;
    bool json = false;
};

int report(const Differences& differences, const DiffRequest& q) {
    const QByteArray out = q.json ? QJsonDocument(differencesJson(differences, q.scope)).toJson(QJsonDocument::Indented)
                                  : differencesText(differences).toUtf8();
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return differences.isEmpty() ? DiffSame : DiffDifferent;
}

// Both files opened as Open does (a failure's message is then the last line of stderr).
int diffFiles(const Options& o, const QString& a, const QString& b, const DiffRequest& q) {
    CliFeedback feedbackA, feedbackB;
    const auto sideA = openSession(o, a, feedbackA);
    if (!sideA)
        return DiffTrouble;
    const auto sideB = openSession(o, b, feedbackB);
    if (!sideB)
        return DiffTrouble;
    return report(compareSides(sideOf(*sideA), sideOf(*sideB), q.scope), q);
}

// FILE opened as Open does, the radio read in full as `read` reads it; the read's own
// messages go to stderr, so that stdout holds the differences alone.
int diffRadio(const Options& o, const RadioOptions& r, const QString& file, const DiffRequest& q) {
    RadioRun run(r);
    run.feedback.completionsTo = stderr;
    if (!run.start(o, r, file))
        return DiffTrouble;
    CliFeedback startFeedback;
    const auto fresh = startSession(o, startFeedback);
    ReadResult read;
    if (!fresh || !run.runner.read(fresh->data(), &read).ok()) {
        failedExchange(run.feedback);
        return DiffTrouble;
    }
    SideOpener opener(run.session->catalog(), run.session->numbers());
    return report(compareSides(sideOf(*run.session), opener.open({read.data, read.dataVersion}), q.scope), q);
}

} // namespace

int runDiff(const QCommandLineParser& p, const Options& o, const RadioOptions& r, const QStringList& files,
            int (*usage)(const QString&)) {
    const bool radio = p.isSet(QStringLiteral("radio"));
    if (files.size() != (radio ? 1 : 2))
        return usage(radio ? QStringLiteral("'diff --radio' takes one FILE") : QStringLiteral("'diff' takes A and B"));
    DiffRequest q;
    const std::optional<Scope> scope =
        scopeFromName(p.isSet(QStringLiteral("scope")) ? p.value(QStringLiteral("scope")) : QStringLiteral("all"));
    if (!scope)
        return usage(QStringLiteral("--scope is all or programming"));
    q.scope = *scope;
    const QString format = p.isSet(QStringLiteral("format")) ? p.value(QStringLiteral("format")) : QStringLiteral("text");
    if (format != QLatin1String("text") && format != QLatin1String("json"))
        return usage(QStringLiteral("'diff' takes --format text or json"));
    q.json = format == QLatin1String("json");
    return radio ? diffRadio(o, r, files[0], q) : diffFiles(o, files[0], files[1], q);
}

int verifyAfterWrite(RadioRun& run, const RadioData& written, int dataVersion) {
    SideOpener opener(run.session->catalog(), run.session->numbers());
    VerifyReport found;
    const ExchangeResult result = run.runner.verify(written, dataVersion, opener, &found);
    if (result.ok()) {
        std::printf("%s\n", result.message.toUtf8().constData());
        return ExitOk;
    }
    if (result.reason != LinkFailure::Mismatch)
        return failedExchange(run.feedback);
    for (const Difference& d : found.differences)
        std::fprintf(stderr, "%s\n", differenceLine(d).toUtf8().constData());
    return fail(result.message);
}

} // namespace orv::cli
