// The radio commands of orvante-cli: read, write, info-read, info-write, over a serial port
// or the built-in virtual radio.

#include "DiffCommand.h"
#include "RadioRun.h"
#include "files/DataFile.h"
#include "image/RadioInfoText.h"
#include "link/Exchanges.h"
#include "document/Document.h"

#include <QFileInfo>
#include <cstdio>

namespace orv::cli {

int cmdRead(const Options& o, const RadioOptions& r, const QString& file) {
    RadioRun run(r);
    if (!run.start(o, r))
        return ExitFailed;
    Document* session = run.session.get();
    RadioFeedback& feedback = run.feedback;
    ReadResult result;
    if (!run.runner.read(session->data(), &result).ok())
        return failedExchange(feedback);
    run.history.sayBackup();
    // The file keeps the memory exactly as read, so the editors are not involved.
    Document::noticeDataVersion(result.dataVersion, feedback);
    int version = result.dataVersion;
    const SaveStatus saved = writeDataFile(QFileInfo(file).absoluteFilePath(), result.data, &version);
    if (saved != SaveStatus::Ok)
        return fail(QStringLiteral("The data read cannot be saved to %1.").arg(file));
    std::printf("Saved to %s\n", qPrintable(file));
    return ExitOk;
}

int cmdWrite(const Options& o, const RadioOptions& r, const QString& file, bool raw, bool verify) {
    RadioRun run(r);
    if (!run.start(o, r, file))
        return ExitFailed;
    Document* session = run.session.get();
    RadioData data;
    if (raw) {
        // The file's bytes as they are, without the editors' round trip.
        const LoadOutcome loaded = readDataFile(QFileInfo(file).absoluteFilePath(), session->data());
        data = loaded.data;
    } else {
        session->collect();
        data = session->data();
    }
    RadioFeedback& feedback = run.feedback;
    const ModelInfo* model = session->selectedModelInfo();
    int version = session->dataVersion();
    if (!run.runner.write(data, version, {model ? model->value : -1, session->title()}).ok())
        return failedExchange(feedback);
    return verify ? verifyAfterWrite(run, data, version) : ExitOk;
}

int cmdInfoRead(const Options& o, const RadioOptions& r) {
    RadioRun run(r);
    if (!run.start(o, r))
        return ExitFailed;
    RadioFeedback& feedback = run.feedback;
    RadioData read;
    if (!run.runner.readInfo(RadioData{}, &read).ok())
        return failedExchange(feedback);
    const RadioData* data = &read;
    // NUL characters would cut a terminal line short: the text ends at its trailing NULs,
    // the radio ID shows them as middle dots.
    QString text = infoTextFromImage(*data);
    while (text.endsWith(QChar(0)))
        text.chop(1);
    QString id = radioIdText(*data);
    id.replace(QChar(0), QChar(0x00B7));
    text.replace(QChar(0), QChar(0x00B7));
    std::printf("%s\n%s\n%s\n", text.toUtf8().constData(), id.toUtf8().constData(),
                dateStampText(*data).toUtf8().constData());
    return ExitOk;
}

int cmdInfoWrite(const Options& o, const RadioOptions& r, const QString& text) {
    RadioRun run(r);
    if (!run.start(o, r))
        return ExitFailed;
    Document* session = run.session.get();
    RadioFeedback& feedback = run.feedback;
    RadioData data = session->data();
    storeInfoText(text.left(InfoTextChars), data);
    if (!run.runner.writeInfo(data).ok())
        return failedExchange(feedback);
    return ExitOk;
}

} // namespace orv::cli
