#pragma once
// Draws a Report on a QPainter: a printer, the print preview, a PDF writer, or a recording
// device in the tests all get the same drawing. Positions are twips (1/1440 inch) from the
// top-left corner of the page; the painter's device gives the page size and the resolution.
// All text is Arial (Liberation Sans has the same metrics where Arial is missing).
//
// Every page carries the page frame: "VUX" and the program title above a rule, and a rule
// with the date and time of printing at the foot. A table holds at most 36 rows a page; the
// 37th starts a new page, which gets the frame and the column headings again. A run of
// channels that are not in use prints as one line (" CH3 ~ CH7  are empty.").

#include "Report.h"

#include <QFont>
#include <QString>
#include <functional>
#include <vector>

class QPainter;
class QPageSize;

namespace orv {

class ReportPrinter {
  public:
    static constexpr int RowPitch = 380;   // twips between table rows
    static constexpr int RowsPerPage = 36; // table rows on one page

    // Ends the current page and starts the next one on the painter's device; false when the
    // device failed.
    using NewPage = std::function<bool()>;

    ReportPrinter(QPainter& painter, NewPage newPage);

    // The whole report from its first page frame on. Returns the number of pages drawn, or 0
    // when the device failed to start a page.
    int print(const Report& report);

    // --- the pieces --------------------------------------------------------------------------
    // The printing primitive: the text at (x, y), the top of its line at y, in the current
    // size with the emphasis switched off.
    void prnt1(int x, int y, const QString& text);
    // The channel settings report (heading, model line, column headings, rows).
    void print_Channels(const ChannelReport& report);
    void printFunctions(const ChannelReport& report);
    void printTune(const TuneReport& report);
    void pageFrame();
    // Table rows RowPitch apart from firstRowY: printRow(index, y) for each row. The 37th row
    // on a page starts a new page, with the frame and headings() drawn again. Returns the y
    // of the last row.
    int printTableRows(int firstRowY, int rowCount, const std::function<void()>& headings,
                       const std::function<void(int row, int y)>& printRow);

    // The rows of a channel table after its headings: printChannel(index, y) for each channel
    // in use, one line at emptyX for each run of channels out of use, gap before "is"/"are".
    // Returns the y of the last row.
    int printChannelRows(const std::vector<bool>& inUse, int firstRowY, int emptyX, const QString& gap,
                         const std::function<void()>& headings,
                         const std::function<void(int, int)>& printChannel);

  private:
    void setFont(double points, bool emphasised);
    void drawAt(int x, int y, const QString& text);
    void centred(int y, const QString& text);
    void rule(int y);
    double textWidth(const QString& text) const; // in twips, current font
    void newPage();
    void infoLine(const QString& caption1, const QString& value1, const QString& caption2,
                  const QString& value2);

    QPainter& m_painter;
    NewPage m_newPage;
    QString m_title;
    QString m_printedAt;
    QFont m_font;
    double m_xScale = 1.0; // device units per twip
    double m_yScale = 1.0;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    int m_pages = 0;
    bool m_failed = false;
};

// Draws the report on the painter; pages after the first come from newPage.
int printReport(QPainter& painter, const Report& report, const ReportPrinter::NewPage& newPage);

// Writes the report as a PDF with the given page size. The file is replaced only when the
// whole document was written. Returns an empty text on success, else what went wrong.
QString writeReportPdf(const Report& report, const QString& path, const QPageSize& pageSize);

} // namespace orv
