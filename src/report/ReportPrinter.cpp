#include "ReportPrinter.h"

#include <QDir>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <utility>
#include <vector>

namespace orv {

namespace {

constexpr double FramePoints = 8;
constexpr double HeadingPoints = 12;
constexpr double SectionPoints = 10;
constexpr double TextPoints = 8;

struct Placed {
    const char* text;
    int x;
    int y;
};

// Column headings of the channel table; two- and three-line headings top line first.
constexpr Placed ChannelHeadings[] = {
    {"CH No.", 940, 1530},   {"Rx Freq", 2040, 1440}, {"(MHz)", 2160, 1620},  {"Rx", 3600, 1440},
    {"CTC/DCS", 3340, 1620}, {"Tx Freq", 4550, 1440}, {"(MHz)", 4650, 1620},  {"Tx", 6060, 1440},
    {"CTC/DCS", 5810, 1620}, {"Scan", 7340, 1350},    {"Delete", 7270, 1530}, {"/Add", 7340, 1710},
    {"Busy", 8280, 1440},    {"Lockout", 8210, 1620}, {"Tx ", 9220, 1440},    {"Power ", 9150, 1620},
    {"Band ", 10160, 1440},  {"Width", 10090, 1620},
};
// X of the channel table's cells, columns 1..8.
constexpr int ChannelCellX[ChannelColumnCount] = {960, 1940, 3400, 4500, 6060, 7300, 8210, 9220, 10200};
constexpr int ChannelFirstRowY = 1995;

constexpr Placed TuneHeadings[] = {
    {"CH No.", 940, 1890},   {"Rx Freq", 1920, 1800},  {"(MHz)", 2020, 1980},   {"Rx Step", 3020, 1890},
    {"Rx ", 4180, 1800},     {"CTC/DCS ", 3920, 1980}, {"Tx Freq", 5140, 1800}, {"(MHz)", 5240, 1980},
    {"Tx Step", 6310, 1890}, {"Tx", 7500, 1800},       {"CTC/DCS", 7250, 1980},
};
constexpr int TuneCellX[TuneColumnCount] = {960, 1800, 3060, 3920, 5080, 6440, 7260};
constexpr int TuneFirstRowY = 2375;

constexpr int InfoLineY = 900;
constexpr int HeadingY = 540;
constexpr int SectionY = 1260;
constexpr int SectionX = 800;
// The function settings rows and the tune items stand this far below their section line.
constexpr int SectionToRows = 540;

// The function settings page: eight rows of two caption/value pairs.
constexpr std::pair<Setting, Setting> FunctionRows[8] = {
    {Setting::TxTot, Setting::BeepTone},          {Setting::PreAlertTime, Setting::SquelchLevel},
    {Setting::TotRekeyTime, Setting::ManualTune}, {Setting::TotResetTime, Setting::BatterySave},
    {Setting::BandWidth, Setting::RevertCh},      {Setting::ScanMode, Setting::DropoutDelay},
    {Setting::PriorityCh, Setting::Monitor},      {Setting::LookBack, Setting::PowerSelect},
};

// The tune values, in printing order (left, right, left, ...): caption and byte of 0x2F0.
constexpr std::pair<const char*, int> TuneItems[] = {
    {"Battery Level: ", 0},         {"Squelch Level 9: ", 1},     {"Squelch Level 3: ", 2},
    {"DCS Deviation(Wide): ", 4},   {"CTC Deviation(Wide): ", 3}, {"DCS Deviation(Narrow): ", 6},
    {"CTC Deviation(Narrow): ", 5},
};

// " CH3 ~ CH7  are empty." / " CH16  is empty." for channels first..last (0-based); the tune
// report has one space before the verb.
QString emptyLine(int first, int last, const QString& gap) {
    if (first == last)
        return QStringLiteral(" CH%1%2is empty.").arg(first + 1).arg(gap);
    return QStringLiteral(" CH%1 ~ CH%2%3are empty.").arg(first + 1).arg(last + 1).arg(gap);
}

template <typename Rows> std::vector<bool> inUse(const Rows& rows) {
    std::vector<bool> used;
    for (const auto& row : rows)
        used.push_back(!row.noCh);
    return used;
}

} // namespace

ReportPrinter::ReportPrinter(QPainter& painter, NewPage newPage)
    : m_painter(painter), m_newPage(std::move(newPage)) {
    const QPaintDevice* device = painter.device();
    m_xScale = device->logicalDpiX() / 1440.0;
    m_yScale = device->logicalDpiY() / 1440.0;
    m_pageWidth = int(device->width() / m_xScale);
    m_pageHeight = int(device->height() / m_yScale);
    m_font = QFont(QStringLiteral("Arial"));
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setHintingPreference(QFont::PreferNoHinting);
    setFont(TextPoints, false);
}

int ReportPrinter::print(const Report& report) {
    m_title = report.title;
    m_printedAt = QLocale::system().toString(report.printedAt, QLocale::ShortFormat);
    m_pages = 1;
    pageFrame();
    if (const auto* channels = std::get_if<ChannelReport>(&report.body)) {
        print_Channels(*channels);
        newPage();
        printFunctions(*channels);
    } else {
        printTune(std::get<TuneReport>(report.body));
    }
    return m_failed ? 0 : m_pages;
}

void ReportPrinter::setFont(double points, bool emphasised) {
    m_font.setPointSizeF(points);
    m_font.setBold(emphasised);
    m_painter.setFont(m_font);
}

void ReportPrinter::drawAt(int x, int y, const QString& text) {
    const QFontMetricsF metrics(m_font, m_painter.device());
    m_painter.drawText(QPointF(x * m_xScale, y * m_yScale + metrics.ascent()), text);
}

void ReportPrinter::prnt1(int x, int y, const QString& text) {
    if (m_font.bold())
        setFont(m_font.pointSizeF(), false);
    drawAt(x, y, text);
}

double ReportPrinter::textWidth(const QString& text) const {
    return QFontMetricsF(m_font, m_painter.device()).horizontalAdvance(text) / m_xScale;
}

void ReportPrinter::centred(int y, const QString& text) {
    drawAt(int((m_pageWidth - textWidth(text)) / 2), y, text);
}

void ReportPrinter::rule(int y) {
    // Two device pixels, and never thinner than a screen pixel on a fine printer.
    const double width = std::max(2.0, 15 * m_yScale);
    m_painter.save();
    m_painter.setPen(QPen(Qt::black, width));
    m_painter.drawLine(QPointF(0, y * m_yScale), QPointF(m_pageWidth * m_xScale, y * m_yScale));
    m_painter.restore();
}

void ReportPrinter::pageFrame() {
    setFont(FramePoints, true);
    drawAt(240, 140, QStringLiteral("VUX"));
    drawAt(int(m_pageWidth - 2 * textWidth(m_title)), 140, m_title);
    rule(380);
    rule(m_pageHeight - 1100);
    drawAt(m_pageWidth - 2880, m_pageHeight - 950, m_printedAt);
}

void ReportPrinter::newPage() {
    if (!m_newPage())
        m_failed = true;
    ++m_pages;
    pageFrame();
}

int ReportPrinter::printTableRows(int firstRowY, int rowCount, const std::function<void()>& headings,
                                  const std::function<void(int, int)>& printRow) {
    int y = firstRowY;
    for (int row = 0; row < rowCount; ++row) {
        const int onPage = row % RowsPerPage;
        if (row > 0 && onPage == 0) {
            newPage();
            headings();
        }
        y = firstRowY + RowPitch * onPage;
        printRow(row, y);
    }
    return y;
}

int ReportPrinter::printChannelRows(const std::vector<bool>& inUse, int firstRowY, int emptyX,
                                    const QString& gap, const std::function<void()>& headings,
                                    const std::function<void(int, int)>& printChannel) {
    // Every channel in use has its own row; consecutive channels out of use share one line.
    std::vector<std::pair<int, int>> lines; // first, last channel (0-based)
    for (int n = 0; n < int(inUse.size()); ++n) {
        if (!inUse[size_t(n)] && !lines.empty() && !inUse[size_t(lines.back().first)])
            lines.back().second = n;
        else
            lines.emplace_back(n, n);
    }
    headings();
    return printTableRows(firstRowY, int(lines.size()), headings, [&](int line, int y) {
        const auto [first, last] = lines[size_t(line)];
        setFont(TextPoints, false);
        if (inUse[size_t(first)])
            printChannel(first, y);
        else
            prnt1(emptyX, y, emptyLine(first, last, gap));
    });
}

void ReportPrinter::infoLine(const QString& caption1, const QString& value1, const QString& caption2,
                             const QString& value2) {
    setFont(TextPoints, false);
    prnt1(2200, InfoLineY, caption1);
    prnt1(3000, InfoLineY, value1);
    prnt1(5200, InfoLineY, caption2);
    prnt1(7000, InfoLineY, value2);
}

void ReportPrinter::print_Channels(const ChannelReport& report) {
    setFont(HeadingPoints, true);
    centred(HeadingY, QStringLiteral("Channel Settings"));
    infoLine(report.modelCaption, report.modelName, report.bandCaption, report.bandText);

    const auto headings = [this] {
        setFont(TextPoints, false);
        for (const Placed& h : ChannelHeadings)
            prnt1(h.x, h.y, QString::fromLatin1(h.text));
    };
    printChannelRows(inUse(report.channels.rows), ChannelFirstRowY, 950, QStringLiteral("  "), headings,
                     [&](int n, int y) {
                         const ChannelRow& row = report.channels.rows[size_t(n)];
                         prnt1(ChannelCellX[0], y, QStringLiteral("CH%1").arg(n + 1));
                         for (int c = ColRxFreq; c < ChannelColumnCount; ++c) {
                             const bool transmitSide =
                                 c == ColTxFreq || c == ColTxSignal || c == ColBusy || c == ColPower;
                             if (!(row.noTx && transmitSide))
                                 prnt1(ChannelCellX[c], y, row.cells[size_t(c)]);
                         }
                         if (row.noTx) {
                             prnt1(4550, y, QStringLiteral("-------------"));
                             for (int x : {6060, 8210, 9220})
                                 prnt1(x, y, QStringLiteral("------"));
                         }
                     });
}

void ReportPrinter::printFunctions(const ChannelReport& report) {
    setFont(HeadingPoints, true);
    centred(HeadingY, report.settingsCaption);
    infoLine(report.modelCaption, report.modelName, report.bandCaption, report.bandText);
    setFont(SectionPoints, false);
    prnt1(SectionX, SectionY, report.settingsCaption);
    setFont(TextPoints, false);
    int y = SectionY + SectionToRows;
    for (const auto& [left, right] : FunctionRows) {
        prnt1(800, y, settingCaption(left));
        prnt1(3000, y, report.settings.text(left));
        prnt1(5600, y, settingCaption(right));
        prnt1(8000, y, report.settings.text(right));
        y += RowPitch;
    }
}

void ReportPrinter::printTune(const TuneReport& report) {
    setFont(HeadingPoints, true);
    centred(HeadingY, QStringLiteral("Tune Settings"));
    infoLine(report.radioCaption, report.radioName, report.rangeCaption, report.rangeText);
    setFont(SectionPoints, false);
    prnt1(SectionX, SectionY, QStringLiteral("Tune Settings"));

    const auto headings = [this] {
        setFont(TextPoints, false);
        for (const Placed& h : TuneHeadings)
            prnt1(h.x, h.y, QString::fromLatin1(h.text));
    };
    const int lastRowY = printChannelRows(inUse(report.tune.rows), TuneFirstRowY, 960, QStringLiteral(" "),
                                          headings, [&](int t, int y) {
                                              const TuneRow& row = report.tune.rows[size_t(t)];
                                              prnt1(TuneCellX[0], y, QStringLiteral("CH%1").arg(t + 1));
                                              for (int c = TuneColRxFreq; c < TuneColumnCount; ++c)
                                                  if (!(row.noTx && c >= TuneColTxFreq))
                                                      prnt1(TuneCellX[c], y, row.cells[size_t(c)]);
                                              if (row.noTx) {
                                                  prnt1(5080, y, QStringLiteral("----------"));
                                                  prnt1(6440, y, QStringLiteral("------"));
                                                  prnt1(7260, y, QStringLiteral("------"));
                                              }
                                          });

    setFont(TextPoints, false);
    int y = lastRowY + 2 * RowPitch;
    // Without a test channel in use there is no channel of tuning to name.
    if (report.currentTestChannel > 0) {
        prnt1(800, y,
              QStringLiteral("CH %1 is the current channel of tuning.").arg(report.currentTestChannel));
        y += 2 * RowPitch;
    }
    setFont(SectionPoints, false);
    prnt1(SectionX, y, QStringLiteral("Tune Items"));
    setFont(TextPoints, false);
    y += SectionToRows;
    for (size_t i = 0; i < std::size(TuneItems); ++i) {
        const bool left = i % 2 == 0;
        const int rowY = y + RowPitch * int(i / 2);
        prnt1(left ? 800 : 6000, rowY, QString::fromLatin1(TuneItems[i].first));
        prnt1(left ? 3000 : 8000, rowY, QString::number(report.tuneValues[size_t(TuneItems[i].second)]));
    }
}

int printReport(QPainter& painter, const Report& report, const ReportPrinter::NewPage& newPage) {
    ReportPrinter printer(painter, newPage);
    return printer.print(report);
}

QString writeReportPdf(const Report& report, const QString& path, const QPageSize& pageSize) {
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2").arg(shown, file.errorString());
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(pageSize);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(report.isTune() ? QStringLiteral("Tune Settings") : QStringLiteral("Channel Settings"));
        pdf.setCreator(report.title);
        QPainter painter;
        if (!painter.begin(&pdf))
            return QStringLiteral("Cannot write %1: the PDF could not be started.").arg(shown);
        const int pages = printReport(painter, report, [&pdf] { return pdf.newPage(); });
        painter.end();
        if (pages == 0)
            return QStringLiteral("Cannot write %1: a page could not be started.").arg(shown);
    }
    if (!file.commit())
        return QStringLiteral("Cannot write %1: %2").arg(shown, file.errorString());
    return QString();
}

} // namespace orv
