// The radio history on the command line: recording the radio commands' exchanges (CliHistory)
// and `orvante-cli history`, which lists the events.

#include "CliCommands.h"
#include "CliHistory.h"
#include "RadioRun.h"
#include "catalog/ProgramSetup.h"
#include "history/DataFolder.h"
#include "history/HistoryExport.h"
#include "history/HistoryRecorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <cstdio>

namespace orv::cli {

CliHistory::CliHistory() = default;
CliHistory::~CliHistory() = default;

void CliHistory::attach(ExchangeRunner& runner, const QString& programIni, bool backups) {
    HistoryRecorder::Settings settings = HistoryRecorder::settingsFor(programIni);
    settings.keepBackups = settings.keepBackups && backups;
    m_recorder = std::make_unique<HistoryRecorder>(settings, SystemClock::instance());
    m_recorder->setWarningSink([this](const QString& warning) {
        std::fprintf(stderr, "%s\n", warning.toUtf8().constData());
        std::fflush(stderr);
        ++m_warnings;
    });
    runner.addObserver(m_recorder.get());
    runner.addObserver(this); // after the recorder: its warnings come first
}

void CliHistory::sayBackup() const {
    if (m_recorder && !m_recorder->lastBackup().isEmpty())
        std::printf("Backup: %s\n", qPrintable(QDir::toNativeSeparators(m_recorder->lastBackup())));
}

void CliHistory::exchangeStarted(ExchangeKind, const QString&) {
    m_warningsAtStart = m_warnings;
}

void CliHistory::exchangeFinished(const ExchangeResult& result) {
    if (m_warnings != m_warningsAtStart && result.status == ExchangeResult::Status::Failed &&
        !result.message.isEmpty())
        std::fprintf(stderr, "%s\n", RadioFeedback::oneLine(result.message).toUtf8().constData());
}

int cmdHistory(const Options& o, const std::optional<QString>& radioId, const QString& format) {
    if (!o.catalogPath.isEmpty() && !QFileInfo(o.catalogPath).isFile())
        return fail(QStringLiteral("The catalog file %1 does not exist.").arg(o.catalogPath));
    const ProgramSetup setup = loadProgramSetup(o.catalogPath, QCoreApplication::applicationDirPath());
    const QString path =
        QDir(dataFolder(setup.startup.productIniPath)).filePath(QLatin1String(HistoryFileName));

    std::vector<HistoryEvent> events;
    if (QFileInfo::exists(path)) {
        HistoryDatabase db(path);
        if (!db.open())
            return fail(QStringLiteral("The radio history cannot be read: %1.").arg(db.error()));
        if (!db.setAsidePath().isEmpty())
            std::fprintf(stderr, "Warning: radio history %s was damaged; it was set aside as %s.\n",
                         qPrintable(QDir::toNativeSeparators(path)),
                         qPrintable(QDir::toNativeSeparators(db.setAsidePath())));
        auto listed = db.events(radioId ? std::optional<QString>(radioId->trimmed()) : std::nullopt);
        if (!listed)
            return fail(QStringLiteral("The radio history cannot be read: %1.").arg(db.error()));
        events = std::move(*listed);
    }
    QByteArray out;
    if (format == QLatin1String("json"))
        out = QJsonDocument(historyJson(events)).toJson(QJsonDocument::Indented);
    else if (format == QLatin1String("csv"))
        out = historyCsv(events);
    else
        out = historyText(events).toUtf8();
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return ExitOk;
}

} // namespace orv::cli
