#include "CliCommands.h"

#include "CliFeedback.h"
#include "catalog/ProgramSetup.h"
#include "document/Document.h"
#include "files/ChannelExport.h"
#include "image/RadioInfoText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <cstdio>
#include <memory>
#include <span>

namespace orv::cli {

namespace {

void printOut(const QString& text) { std::fputs(text.toUtf8().constData(), stdout); }
void printOut(const QByteArray& bytes) { std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout); }

} // namespace

// A failure: its message alone on the last line of stderr.
int fail(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    return ExitFailed;
}

// Start-up as the window does it: the catalog, the program's INI placed (the radio commands
// find the stored COM port and the port mapping there), then a new image for the model of
// value 7.
// A catalog named on the command line must exist (a typing error would otherwise give the
// built-in defaults without a word); the shipped one may be missing, as in the window.
std::unique_ptr<Document> startSession(const Options& o, CliFeedback& feedback) {
    if (!o.catalogPath.isEmpty() && !QFileInfo(o.catalogPath).isFile()) {
        fail(QStringLiteral("The catalog file %1 does not exist.").arg(o.catalogPath));
        return nullptr;
    }
    ProgramSetup setup = loadProgramSetup(o.catalogPath, QCoreApplication::applicationDirPath());
    auto doc = std::make_unique<Document>(setup.startup, std::move(setup.catalog), SystemClock::instance(),
                                          setup.numbers);
    doc->startUp(feedback);
    return doc;
}

// Start-up, then FILE opened as the Open command does it. On failure the message has been
// printed and nothing is returned; feedback then holds only the messages of the opening.
std::unique_ptr<Document> openSession(const Options& o, const QString& file, CliFeedback& feedback) {
    auto s = startSession(o, feedback);
    if (!s)
        return nullptr;
    feedback.messages.clear();
    // The window's file dialog hands over full paths; so does this.
    if (s->load(QFileInfo(file).absoluteFilePath(), feedback) != LoadStatus::Ok) {
        fail(feedback.messages.value(0));
        return nullptr;
    }
    return s;
}

namespace {

QString pad(const QString& text, int width) { return text.leftJustified(width); }

// A grid as text: the row label, the two boxes ("x" when ticked), then the cells.
template <typename Rows>
void appendTable(QString& page, const QStringList& headers, std::span<const int> widths, const Rows& rows) {
    auto format = [&](auto cell, const QString& noCh, const QString& noTx) {
        QString text = pad(cell(0), widths[0]) + pad(noCh, 7) + pad(noTx, 7);
        for (int c = 1; c < int(widths.size()); ++c)
            text += pad(cell(c), widths[size_t(c)]);
        return text.trimmed() + QLatin1Char('\n');
    };
    page += format([&](int c) { return headers.value(c); }, QStringLiteral("No CH"), QStringLiteral("No Tx"));
    const QString ticked = QStringLiteral("x");
    for (const auto& r : rows)
        page += format([&](int c) { return r.cells[size_t(c)]; }, r.noCh ? ticked : QString(),
                       r.noTx ? ticked : QString());
}

QString showPage(const Document& s, const QStringList& messages) {
    QString page;
    auto line = [&page](const QString& t = QString()) { page += t + QLatin1Char('\n'); };
    line(s.caption());
    line();
    const ModelInfo* m = s.selectedModelInfo();
    line(QStringLiteral("File:          %1").arg(s.currentFileName()));
    line(QStringLiteral("Model:         %1").arg(m ? QStringLiteral("%1 (value %2, catalog position %3)")
                                                         .arg(m->name)
                                                         .arg(m->value)
                                                         .arg(s.selectedModel())
                                                   : QStringLiteral("(no catalog model)")));
    line(QStringLiteral("Model byte:    %1").arg(s.data().modelByte()));
    line(QStringLiteral("Band:          %1").arg(s.bandText()));
    line(QStringLiteral("Data version:  %1").arg(s.dataVersion()));
    line();

    line(QStringLiteral("Channels"));
    static constexpr int ChannelWidths[] = {7, 14, 12, 14, 12, 17, 14, 10, 10};
    appendTable(page, channelHeaders(), ChannelWidths, s.channels().rows);
    line();

    line(QStringLiteral("Global Radio Settings"));
    for (int i = 0; i < SettingCount; ++i) {
        const auto setting = Setting(i);
        const QString value = s.settings().index(setting) < 0 ? QStringLiteral("(none)") : s.settings().text(setting);
        line(QStringLiteral("  %1%2%3")
                 .arg(pad(settingCaption(setting), 20), value,
                      s.settings().isMarked(setting) ? QStringLiteral("   (stored value has no entry)") : QString()));
    }
    line();

    line(QStringLiteral("Tune Channels"));
    static constexpr int TuneWidths[] = {7, 15, 12, 12, 15, 12, 12};
    appendTable(page, tuneHeaders(), TuneWidths, s.tune().rows);
    static const char* const TuneItems[] = {"Battery Level",       "Squelch Level 9",     "Squelch Level 3",
                                            "CTC Deviation(Wide)", "DCS Deviation(Wide)", "CTC Deviation(Narrow)",
                                            "DCS Deviation(Narrow)"};
    line();
    line(QStringLiteral("Tune Items"));
    for (int k = 0; k < 7; ++k)
        line(QStringLiteral("  %1%2").arg(pad(QString::fromLatin1(TuneItems[k]), 24)).arg(s.data().tuneValues()[size_t(k)]));
    line();

    line(QStringLiteral("Radio Information"));
    QString text = s.infoText();
    while (!text.isEmpty() && text.back() == QChar(u'\0'))
        text.chop(1);
    QString id = s.radioId();
    id.replace(QChar(u'\0'), QChar(u'\u00B7')); // NUL bytes shown as middle dots
    line(QStringLiteral("  Text:                     %1").arg(text));
    line(QStringLiteral("  Radio ID:                 %1").arg(id));
    QString stamp = s.lastProgrammed();
    stamp.replace(QChar(u'\0'), QChar(u'\u00B7'));
    line(QStringLiteral("  Last Date of Programming: %1").arg(stamp));
    line();

    line(QStringLiteral("Messages"));
    if (messages.isEmpty())
        line(QStringLiteral("  (none)"));
    for (const QString& msg : messages)
        line(QStringLiteral("  ") + msg);
    return page;
}

QString hexLine(const QString& label, const std::uint8_t* bytes, int n) {
    QString l = label + QStringLiteral(": ");
    for (int i = 0; i < n; ++i) {
        if (i)
            l += QLatin1Char(' ');
        l += QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0')).toUpper();
    }
    return l;
}

} // namespace

bool chooseModelOption(const Options& o, Document& doc, Feedback& feedback) {
    if (!o.modelValue && !o.modelPosition)
        return true;
    int position = -1;
    if (o.modelValue) {
        position = (*o.modelValue >= 0 && *o.modelValue <= 255) ? doc.catalog().findByValue(*o.modelValue) : -1;
        if (position < 0)
            fail(QStringLiteral("No catalog model has the value %1.").arg(*o.modelValue));
    } else {
        position = doc.catalog().at(*o.modelPosition) ? *o.modelPosition : -1;
        if (position < 0)
            fail(QStringLiteral("The catalog has no model at position %1 (it holds %2 models).")
                     .arg(*o.modelPosition)
                     .arg(doc.catalog().size()));
    }
    if (position < 0)
        return false;
    doc.chooseModel(position, feedback);
    return true;
}

int saveAs(Document& doc, const QString& path, CliFeedback& feedback) {
    if (doc.save(path, feedback) != SaveStatus::Ok)
        return fail(feedback.messages.isEmpty() ? saveFailureMessage().text : feedback.messages.last());
    return ExitOk;
}

int cmdNew(const Options& o) {
    CliFeedback feedback(Answer::Yes); // the user chose the model: the model change is confirmed
    auto s = startSession(o, feedback);
    if (!s || !chooseModelOption(o, *s, feedback))
        return ExitFailed;
    if (saveAs(*s, o.output, feedback) != ExitOk)
        return ExitFailed;
    printOut(QStringLiteral("Wrote %1 for %2.\n").arg(o.output, s->selectedModelInfo()->name));
    return ExitOk;
}

int cmdShow(const Options& o, const QString& file) {
    CliFeedback feedback;
    const auto s = openSession(o, file, feedback);
    if (!s)
        return ExitFailed;
    printOut(showPage(*s, feedback.messages));
    return ExitOk;
}

int cmdExport(const Options& o, const QString& file) {
    CliFeedback feedback;
    const auto s = openSession(o, file, feedback);
    if (!s)
        return ExitFailed;
    if (o.format == QLatin1String("csv"))
        printOut(exportCsv(*s));
    else
        printOut(QJsonDocument(exportJson(*s, feedback.messages)).toJson(QJsonDocument::Indented));
    return ExitOk;
}

int cmdConvert(const Options& o, const QString& in, const QString& out) {
    CliFeedback feedback;
    auto s = startSession(o, feedback);
    if (!s)
        return ExitFailed;
    // Bytes only: no editor round trip, so nothing but settings byte 0's layout changes.
    const LoadOutcome loaded = readDataFile(in, s->data());
    if (loaded.status != LoadStatus::Ok)
        return fail(loadFailureMessage(loaded.status).text);
    if (writeDataFile(out, loaded.data) != SaveStatus::Ok)
        return fail(saveFailureMessage().text);
    printOut(QStringLiteral("Wrote %1 (%2 format).\n")
                 .arg(out, isOldFormatName(out) ? QStringLiteral("old \"Version = 1.1\"")
                                                : QStringLiteral("current \"Version = 2.0\"")));
    return ExitOk;
}

int cmdDump(const Options& o, const QString& file) {
    CliFeedback feedback;
    auto s = startSession(o, feedback);
    if (!s)
        return ExitFailed;
    const LoadOutcome loaded = readDataFile(file, s->data());
    if (loaded.status != LoadStatus::Ok)
        return fail(loadFailureMessage(loaded.status).text);
    QString out;
    for (int a = 0; a < addr::ImageSize; a += 16)
        out += hexLine(QStringLiteral("%1").arg(a, 3, 16, QLatin1Char('0')).toUpper(), loaded.data.image.data() + a, 16) +
               QLatin1Char('\n');
    for (int r = 0; r < 5; ++r)
        out += hexLine(QStringLiteral("S%1").arg(r), loaded.data.spare.data() + 16 * r, 16) + QLatin1Char('\n');
    printOut(out);
    return ExitOk;
}

} // namespace orv::cli
