#include "CliCommands.h"

#include "CliFeedback.h"
#include "Report.h"
#include "ReportPrinter.h"
#include "document/Document.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QPageSize>

namespace orv::cli {

// The report the window prints after opening FILE, as a PDF: the channel and function pages,
// or with --view tune the tune page. The paper is Letter where the system measures in US
// units, else A4.
int cmdPrint(const Options& o, const QString& file, const QString& pdfPath, const QString& view) {
    CliFeedback feedback;
    const auto session = openSession(o, file, feedback);
    if (!session)
        return ExitFailed;
    const QDateTime now = QDateTime::currentDateTime();
    const Report report =
        view == QLatin1String("tune") ? tuneReport(*session, now) : channelReport(*session, now);
    const QPageSize paper(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                              ? QPageSize::Letter
                              : QPageSize::A4);
    const QString error = writeReportPdf(report, QFileInfo(pdfPath).absoluteFilePath(), paper);
    return error.isEmpty() ? ExitOk : fail(error);
}

} // namespace orv::cli
