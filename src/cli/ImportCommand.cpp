// orvante-cli import: a channel plan from a CSV or JSON file applied to a data file, or to a
// new image, as the window's import applies it; the result saved as Save As saves it.

#include "CliCommands.h"
#include "CliFeedback.h"

#include "document/Document.h"
#include "import/ImportApply.h"

#include <QCommandLineParser>
#include <QFile>
#include <cstdio>

namespace orv::cli {

namespace {

const QString BaseOption = QStringLiteral("base");
const QString KeepGoingOption = QStringLiteral("keep-going");

void printLines(std::FILE* stream, const QStringList& lines) {
    for (const QString& line : lines)
        std::fprintf(stream, "%s\n", line.toUtf8().constData());
}

} // namespace

void addImportOptions(QCommandLineParser& p) {
    p.setApplicationDescription(
        p.applicationDescription() +
        QStringLiteral("\n\nImport:\n"
                       "  import IN [--base FILE | --model-value V | --model-position P] -o OUT [--keep-going]\n"
                       "                                                       apply a CSV or JSON channel plan (the\n"
                       "                                                       export's forms) and save the result as OUT"));
    p.addOption({BaseOption, QStringLiteral("import: the data file the import starts from (default: a new image)."),
                 QStringLiteral("FILE")});
    p.addOption({KeepGoingOption, QStringLiteral("import: apply and write the valid cells even when others have errors.")});
}

bool importOptionsSet(const QCommandLineParser& p) { return p.isSet(BaseOption) || p.isSet(KeepGoingOption); }

int cmdImport(const QCommandLineParser& p, const Options& o, const QStringList& rest, int (*usage)(const QString&)) {
    static const QStringList Allowed{QStringLiteral("catalog"),        QStringLiteral("model-value"),
                                     QStringLiteral("model-position"), QStringLiteral("o"),
                                     QStringLiteral("output"),         BaseOption,
                                     KeepGoingOption};
    for (const QString& name : p.optionNames())
        if (!Allowed.contains(name))
            return usage(QStringLiteral("--%1 does not belong to 'import'").arg(name));
    if (rest.size() != 1)
        return usage(QStringLiteral("'import' takes one IN file"));
    if (o.output.isEmpty())
        return usage(QStringLiteral("'import' needs -o OUT"));
    if (int(p.isSet(BaseOption)) + int(bool(o.modelValue)) + int(bool(o.modelPosition)) > 1)
        return usage(QStringLiteral("give at most one of --base, --model-value and --model-position"));
    const QString in = rest[0];
    if (!isImportFileName(in))
        return usage(QStringLiteral("IN is a .csv or a .json file"));

    QFile file(in);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read %1: %2").arg(in, file.errorString()));
    const QByteArray bytes = file.readAll();

    CliFeedback feedback(Answer::Yes); // a model named on the command line or in the file is confirmed
    const std::unique_ptr<Document> doc =
        p.isSet(BaseOption) ? openSession(o, p.value(BaseOption), feedback) : startSession(o, feedback);
    if (!doc || !chooseModelOption(o, *doc, feedback))
        return ExitFailed;

    ImportOptions options;
    options.keepGoing = p.isSet(KeepGoingOption);
    const ImportReport report = applyImport(*doc, *readImportFile(in, bytes, doc->catalog()), options);
    printLines(stdout, report.notes);
    std::fflush(stdout);
    printLines(stderr, report.errors);
    const qsizetype errors = report.errors.size();
    if (errors && !options.keepGoing)
        return fail(QStringLiteral("Import refused: %1 error(s); nothing written.").arg(errors));
    // Test channels edited stay in the tune grid until they are written to a radio; a file
    // keeps them in its test-channel records, so the imported ones go there (and
    // `tune-write-channels OUT` sends them).
    if (doc->tuneDataChanged())
        doc->collectTestChannels();
    if (saveAs(*doc, o.output, feedback) != ExitOk)
        return ExitFailed;
    if (errors)
        return fail(QStringLiteral("Import: %1 error(s); the other cells written to %2.").arg(errors).arg(o.output));
    return ExitOk;
}

} // namespace orv::cli
