#pragma once
// What a printed report holds: the texts the editors show at the moment of printing, taken
// from the document, with the program title and the time of printing. The window's File Print
// and the command line's "print" build the same Report from a document; ReportPrinter draws it.

#include "image/ChannelTable.h"
#include "image/SettingsCodec.h"
#include "image/TuneTable.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <variant>

namespace orv {

class Document;

// The channel and function view: a channel settings page, then a function settings page.
struct ChannelReport {
    QString modelCaption = QStringLiteral("Model:");
    QString modelName; // the model list's entry
    QString bandCaption = QStringLiteral("Frequency Band:");
    QString bandText; // "136.00000~174.00000 MHz"
    QString settingsCaption = QStringLiteral("Global Radio Settings");
    ChannelTable channels;
    SettingsSelection settings;
};

// The tune view: one tune settings page.
struct TuneReport {
    QString radioCaption = QStringLiteral("Radio:");
    QString radioName;
    QString rangeCaption = QStringLiteral("Frequency Range:");
    QString rangeText; // "136.00000 ~ 174.00000 MHz"
    TuneTable tune;
    int currentTestChannel = 0; // 1..11, 0 none
    std::array<std::uint8_t, 16> tuneValues{};
};

struct Report {
    QString title;
    QDateTime printedAt;
    std::variant<ChannelReport, TuneReport> body;

    bool isTune() const { return std::holds_alternative<TuneReport>(body); }
};

// The channel and function report of what the document's editors show.
Report channelReport(const Document& doc, const QDateTime& printedAt);
// The tune report. The radio in tune mode names the model and its range; without one (a data
// file on the command line) the selected model does, and the test channel that the Tune
// command would make current (the first one in use) is the current one.
Report tuneReport(const Document& doc, const QDateTime& printedAt);

} // namespace orv
