// The printed reports: what the renderer draws (texts, positions in twips, fonts, pages) on a
// recording page of 1440 dots per inch, and the File Print command with its dialogs replaced.

#include "EditorTestSupport.h"
#include "Report.h"
#include "ReportPrinter.h"
#include "print/PrintCommand.h"
#include "print/PrintPreviewDialog.h"
#include "shell/MainWindow.h"

#include <QLineEdit>
#include <QPaintEngine>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextItem>
#include <QtTest>

using namespace orv;
using namespace orv::gui;

namespace {

// An A4 page whose device units are twips.
constexpr int PageWidth = 11906;
constexpr int PageHeight = 16838;

struct Drawn {
    int page;
    QString text;
    int x; // left edge, twips
    int y; // top of the line, twips
    double points;
    bool bold;
};

class RecordingDevice;

class RecordingEngine : public QPaintEngine {
  public:
    explicit RecordingEngine(RecordingDevice& device) : QPaintEngine(AllFeatures), m_device(device) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawLines(const QLineF* lines, int count) override;
    void drawTextItem(const QPointF& p, const QTextItem& item) override;
    Type type() const override { return User; }

  private:
    RecordingDevice& m_device;
};

class RecordingDevice : public QPaintDevice {
  public:
    QPaintEngine* paintEngine() const override { return &m_engine; }
    // Draws the report; every page break is recorded.
    int print(const Report& report) {
        QPainter painter(this);
        return printReport(painter, report, [this] { return ++page, true; });
    }

    int page = 1;
    QList<Drawn> texts;
    QList<std::pair<int, int>> rules; // page, y

    QList<Drawn> select(const std::function<bool(const Drawn&)>& wanted) const {
        QList<Drawn> hits;
        std::copy_if(texts.begin(), texts.end(), std::back_inserter(hits), wanted);
        return hits;
    }
    QList<Drawn> find(const QString& text) const {
        return select([&](const Drawn& d) { return d.text == text; });
    }
    Drawn one(const QString& text) const { return find(text).value(0, Drawn{0, text, -1, -1, 0, false}); }

  protected:
    int metric(PaintDeviceMetric m) const override {
        if (m == PdmWidth || m == PdmHeight)
            return m == PdmWidth ? PageWidth : PageHeight;
        if (m == PdmWidthMM || m == PdmHeightMM)
            return m == PdmWidthMM ? 210 : 297;
        if (m == PdmDevicePixelRatio || m == PdmDevicePixelRatioScaled)
            return m == PdmDevicePixelRatio ? 1 : int(devicePixelRatioFScale());
        return m == PdmDepth ? 32 : m == PdmNumColors ? INT_MAX : 1440; // the resolutions
    }

  private:
    mutable RecordingEngine m_engine{*const_cast<RecordingDevice*>(this)};
};

void RecordingEngine::drawLines(const QLineF* lines, int count) {
    for (int i = 0; i < count; ++i)
        m_device.rules.append({m_device.page, qRound(lines[i].y1())});
}

void RecordingEngine::drawTextItem(const QPointF& p, const QTextItem& item) {
    const QFont font = painter()->font();
    const double ascent = QFontMetricsF(font, &m_device).ascent();
    m_device.texts.append(
        {m_device.page, item.text(), qRound(p.x()), qRound(p.y() - ascent), font.pointSizeF(), font.bold()});
}

double widthOf(const QString& text, double points, bool bold, QPaintDevice* device) {
    QFont font(QStringLiteral("Arial"));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPointSizeF(points);
    font.setBold(bold);
    return QFontMetricsF(font, device).horizontalAdvance(text);
}

const QDateTime PrintedAt(QDate(2026, 12, 6), QTime(9, 30));

// A row's texts left to right.
QStringList rowTexts(const RecordingDevice& device, int page, int y) {
    QList<Drawn> row = device.select([&](const Drawn& d) { return d.page == page && d.y == y; });
    std::sort(row.begin(), row.end(), [](const Drawn& a, const Drawn& b) { return a.x < b.x; });
    QStringList texts;
    for (const Drawn& d : row)
        texts.append(QStringLiteral("%1@%2").arg(d.text).arg(d.x));
    return texts;
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT
  private slots:
    void channelReportColumnsRunsAndDashes();
    void everyChannelOffIsOneLine();
    void tuneReportRowsAndValues();
    void thirtySeventhRowStartsANewPage();
    void printCommand();
};

void TestPrint::channelReportColumnsRunsAndDashes() {
    test::EditorSession s;
    for (int n : {3, 4, 5, 6, 7, 16})
        s.session.setChannelNoCh(n, true); // channel 16 is out of use already
    QVERIFY(s.session.setChannelNoTx(2, true)); // channel 2 receives only
    const ChannelTable& table = s.session.channels();
    RecordingDevice device;
    QCOMPARE(device.print(channelReport(s.session, PrintedAt)), 2);

    // The page frame on both pages: "VUX", the title at the width less twice its width,
    // rules at 380 and near the foot, the date and time of printing.
    for (int page : {1, 2}) {
        QVERIFY(device.rules.contains(std::pair(page, 380)));
        QCOMPARE(device.rules.count(std::pair(page, PageHeight - 1100)), 1);
    }
    const QList<Drawn> vux = device.find(QStringLiteral("VUX"));
    QCOMPARE(vux.size(), 2);
    QCOMPARE(std::tuple(vux[1].page, vux[1].x, vux[1].y, vux[1].points, vux[1].bold),
             std::tuple(2, 240, 140, 8.0, true));
    const QString title = QStringLiteral("ORVANTE Programming Software");
    const Drawn t = device.find(title).value(0);
    QCOMPARE(t.y, 140);
    QVERIFY(qAbs(t.x - (PageWidth - 2 * widthOf(title, 8, true, &device))) <= 1);
    const QString date = QLocale::system().toString(PrintedAt, QLocale::ShortFormat);
    QCOMPARE(device.find(date).size(), 2);
    QCOMPARE(std::pair(device.find(date)[0].x, device.find(date)[0].y),
             std::pair(PageWidth - 2880, PageHeight - 950));

    // Heading, centred, 12 points; the information line, 8 points.
    const Drawn heading = device.one(QStringLiteral("Channel Settings"));
    QCOMPARE(std::tuple(heading.y, heading.points, heading.bold), std::tuple(540, 12.0, true));
    QVERIFY(qAbs(heading.x - (PageWidth - widthOf(heading.text, 12, true, &device)) / 2) <= 1);
    QCOMPARE(rowTexts(device, 1, 900), (QStringList{"Model:@2200", "VHF Seven@3000", "Frequency Band:@5200",
                                                    "136.00000~174.00000 MHz@7000"}));

    // Column headings: one-, two- and three-line ones.
    QCOMPARE(std::pair(device.one("CH No.").x, device.one("CH No.").y), std::pair(940, 1530));
    QCOMPARE(rowTexts(device, 1, 1350), QStringList{"Scan@7340"});
    QCOMPARE(rowTexts(device, 1, 1710), QStringList{"/Add@7340"});
    QCOMPARE(rowTexts(device, 1, 1620),
             (QStringList{"(MHz)@2160", "CTC/DCS@3340", "(MHz)@4650", "CTC/DCS@5810", "Lockout@8210",
                          "Power @9150", "Width@10090"}));

    // Row 1: all nine columns. Row 2: dashes for the transmit side, scan and band width kept.
    const ChannelRow& one = table.rows[0];
    QCOMPARE(rowTexts(device, 1, 1995),
             (QStringList{"CH1@960", one.cells[1] + "@1940", one.cells[2] + "@3400", one.cells[3] + "@4500",
                          one.cells[4] + "@6060", one.cells[5] + "@7300", one.cells[6] + "@8210",
                          one.cells[7] + "@9220", one.cells[8] + "@10200"}));
    const ChannelRow& two = table.rows[1];
    QCOMPARE(rowTexts(device, 1, 1995 + 380),
             (QStringList{"CH2@960", two.cells[1] + "@1940", two.cells[2] + "@3400", "-------------@4550",
                          "------@6060", two.cells[5] + "@7300", "------@8210", "------@9220",
                          two.cells[8] + "@10200"}));
    // Channels 3 to 7 in one line, then channel 8 on the next row; channel 16 alone at the end.
    QCOMPARE(rowTexts(device, 1, 1995 + 2 * 380), QStringList{" CH3 ~ CH7  are empty.@950"});
    QCOMPARE(rowTexts(device, 1, 1995 + 3 * 380).value(0), QStringLiteral("CH8@960"));
    QCOMPARE(rowTexts(device, 1, 1995 + 11 * 380), QStringList{" CH16  is empty.@950"});
    QCOMPARE(device.one(" CH16  is empty.").points, 8.0);

    // Page 2: the function settings, the panel's captions and the texts its lists show.
    const Drawn functions = device.find(QStringLiteral("Global Radio Settings")).value(0);
    QCOMPARE(std::tuple(functions.page, functions.y, functions.points), std::tuple(2, 540, 12.0));
    const Drawn section = device.find(QStringLiteral("Global Radio Settings")).value(1);
    QCOMPARE(std::tuple(section.x, section.y, section.points, section.bold),
             std::tuple(800, 1260, 10.0, false));
    const SettingsSelection& sel = s.session.settings();
    QCOMPARE(rowTexts(device, 2, 1800),
             (QStringList{"Tx TOT@800", sel.text(Setting::TxTot) + "@3000", "Beep Tone@5600",
                          sel.text(Setting::BeepTone) + "@8000"}));
    QCOMPARE(rowTexts(device, 2, 1800 + 7 * 380),
             (QStringList{"Look Back@800", sel.text(Setting::LookBack) + "@3000", "Power Select@5600",
                          sel.text(Setting::PowerSelect) + "@8000"}));
    QCOMPARE(device.select([](const Drawn& d) { return d.page == 2; }).size(),
             3 + 1 + 4 + 1 + 8 * 4); // frame, heading, info line, section, rows
}

void TestPrint::everyChannelOffIsOneLine() {
    test::EditorSession s;
    for (int n = 1; n <= 16; ++n)
        s.session.setChannelNoCh(n, true);
    RecordingDevice device;
    QCOMPARE(device.print(channelReport(s.session, PrintedAt)), 2);
    const auto rowsOnPage1 = [](const Drawn& d) {
        return d.page == 1 && d.y >= 1995 && d.y < PageHeight - 1100;
    };
    QCOMPARE(device.select(rowsOnPage1).size(), 1);
    QCOMPARE(rowTexts(device, 1, 1995), QStringList{" CH1 ~ CH16  are empty.@950"});
}

void TestPrint::tuneReportRowsAndValues() {
    test::EditorSession s;
    // The test channels and tune values as a radio read brings them.
    TuneTable records = s.session.tune();
    for (int t = 0; t < 11; ++t) {
        records.rows[size_t(t)].noCh = t >= 4;
        records.rows[size_t(t)].noTx = t == 1;
    }
    records.rows[2].noCh = true; // a single test channel out of use between two in use
    RadioData radio = s.session.data();
    readTuneChannels(records, radio, s.session.numbers());
    const std::uint8_t values[7] = {11, 22, 33, 44, 55, 66, 77};
    std::copy(std::begin(values), std::end(values), radio.tuneValues().begin());
    test::takeBytes(s.session, radio, s.feedback);
    const TuneTable& tune = s.session.tune();
    RecordingDevice device;
    // Without a radio in tune mode, the first test channel in use of the image is current.
    const Report report = tuneReport(s.session, PrintedAt);
    QCOMPARE(device.print(report), 1);

    QCOMPARE(device.find("Tune Settings").value(0).points, 12.0);
    const Drawn section = device.find("Tune Settings").value(1);
    QCOMPARE(std::tuple(section.x, section.y, section.points), std::tuple(800, 1260, 10.0));
    QCOMPARE(rowTexts(device, 1, 900).mid(0, 2), (QStringList{"Radio:@2200", "VHF Seven@3000"}));
    QCOMPARE(rowTexts(device, 1, 900).value(3), QStringLiteral("136.00000 ~ 174.00000 MHz@7000"));
    QCOMPARE(rowTexts(device, 1, 1890), (QStringList{"CH No.@940", "Rx Step@3020", "Tx Step@6310"}));
    QCOMPARE(rowTexts(device, 1, 1980),
             (QStringList{"(MHz)@2020", "CTC/DCS @3920", "(MHz)@5240", "CTC/DCS@7250"}));

    const TuneRow& one = tune.rows[0];
    QCOMPARE(rowTexts(device, 1, 2375),
             (QStringList{"CH1@960", one.cells[1] + "@1800", one.cells[2] + "@3060", one.cells[3] + "@3920",
                          one.cells[4] + "@5080", one.cells[5] + "@6440", one.cells[6] + "@7260"}));
    const TuneRow& two = tune.rows[1];
    QCOMPARE(rowTexts(device, 1, 2375 + 380),
             (QStringList{"CH2@960", two.cells[1] + "@1800", two.cells[2] + "@3060", two.cells[3] + "@3920",
                          "----------@5080", "------@6440", "------@7260"}));
    QCOMPARE(rowTexts(device, 1, 2375 + 2 * 380), QStringList{" CH3 is empty.@960"});
    QCOMPARE(rowTexts(device, 1, 2375 + 4 * 380), QStringList{" CH5 ~ CH11 are empty.@960"});

    const Drawn current = device.one("CH 1 is the current channel of tuning.");
    QCOMPARE(current.x, 800);
    QVERIFY(current.y > 2375 + 4 * 380);
    const Drawn items = device.one("Tune Items");
    QCOMPARE(std::tuple(items.x, items.points), std::tuple(800, 10.0));
    // Left, right, left, ...: byte order 0, 1, 2, 4, 3, 6, 5.
    const int first = device.one("Battery Level: ").y;
    QVERIFY(first > items.y);
    QCOMPARE(rowTexts(device, 1, first),
             (QStringList{"Battery Level: @800", "11@3000", "Squelch Level 9: @6000", "22@8000"}));
    QCOMPARE(rowTexts(device, 1, first + 380),
             (QStringList{"Squelch Level 3: @800", "33@3000", "DCS Deviation(Wide): @6000", "55@8000"}));
    QCOMPARE(rowTexts(device, 1, first + 3 * 380), (QStringList{"CTC Deviation(Narrow): @800", "66@3000"}));
}

void TestPrint::thirtySeventhRowStartsANewPage() {
    RecordingDevice device;
    QPainter painter(&device);
    ReportPrinter printer(painter, [&device] { return ++device.page, true; });
    int headingsDrawn = 0;
    const int lastY = printer.printTableRows(
        2000, 40, [&] { ++headingsDrawn; },
        [&](int row, int y) { printer.prnt1(960, y, QStringLiteral("row %1").arg(row + 1)); });
    QCOMPARE(headingsDrawn, 1); // the first page's headings are the caller's
    QCOMPARE(device.one("row 36").page, 1);
    QCOMPARE(device.one("row 36").y, 2000 + 35 * 380);
    QCOMPARE(std::pair(device.one("row 37").page, device.one("row 37").y), std::pair(2, 2000));
    QCOMPARE(lastY, 2000 + 3 * 380);
    QCOMPARE(device.find("VUX").size(), 1); // the new page's frame
    QCOMPARE(device.find("VUX")[0].page, 2);
}

void TestPrint::printCommand() {
    QTemporaryDir dir;
    test::EditorSession s;
    auto window = std::make_unique<MainWindow>(test::makeDocument(test::editorCatalog(), s.clock), s.feedback);
    auto* command = new PrintCommand(*window);
    int printerDialogs = 0, previews = 0;
    bool choose = false;
    std::function<void(PrintPreviewDialog&)> inPreview;
    command->setDialogs({[&](QPrinter& printer) {
                             ++printerDialogs;
                             printer.setOutputFileName(dir.filePath("printed.pdf"));
                             return choose;
                         },
                         [&](PrintPreviewDialog& preview) {
                             ++previews;
                             inPreview(preview);
                         },
                         [&](const QString&) { return dir.filePath("saved.pdf"); }});
    window->show();

    // Cancelled in the printer dialog: nothing more, not a word.
    window->mnuFilePrint_Click();
    QCOMPARE(std::pair(printerDialogs, previews), std::pair(1, 0));
    QVERIFY(s.feedback.shown.isEmpty());

    // An open frequency edit is finished first and printed; the data stay unsaved.
    Document& session = window->document();
    QAbstractItemView* grid = window->findChild<QAbstractItemView*>("gridChan");
    test::clickCell(grid, 1, 1);
    auto* editor = window->findChild<QLineEdit*>("txtChFreq");
    QTRY_VERIFY(editor->isVisible());
    editor->selectAll();
    QTest::keyClicks(editor, "150.5");
    choose = true;
    inPreview = [&](PrintPreviewDialog& preview) {
        QCOMPARE(session.channels().rows[0].cells[1], QStringLiteral("150.50000"));
        QVERIFY(session.channelDataChanged());
        QCOMPARE(command->currentReport().isTune(), false);
        // The README's picture of the preview (ORVANTE_SCREENSHOT_DIR=docs/screenshots).
        if (const QString shots = qEnvironmentVariable("ORVANTE_SCREENSHOT_DIR"); !shots.isEmpty()) {
            preview.show();
            QVERIFY(preview.grab().save(QDir(shots).filePath(QStringLiteral("print-preview.png"))));
        }
        QTest::mouseClick(preview.printButton(), Qt::LeftButton);
        QCOMPARE(preview.result(), int(QDialog::Accepted));
    };
    window->mnuFilePrint_Click();
    QCOMPARE(previews, 1);
    QVERIFY(QFileInfo(dir.filePath("printed.pdf")).size() > 0);
    QVERIFY(s.feedback.shown.isEmpty());
    QVERIFY(session.channelDataChanged());

    // The tune view prints the tune report; "Save as PDF..." writes the file.
    window->setViewMode(MainWindow::TuneView);
    inPreview = [&](PrintPreviewDialog& preview) {
        QVERIFY(command->currentReport().isTune());
        QTest::mouseClick(preview.pdfButton(), Qt::LeftButton);
    };
    window->mnuFilePrint_Click();
    QVERIFY(QFileInfo(dir.filePath("saved.pdf")).size() > 0);

    // A printer that cannot be reached: the document is abandoned with the message. A PDF
    // that cannot be written says where and why, and leaves nothing behind.
    const Report report = command->currentReport();
    QPrinter printer;
    printer.setOutputFileName(dir.filePath("missing-folder/out.pdf"));
    QCOMPARE(command->printTo(printer, report), 0);
    QVERIFY(!command->saveAsPdf(report, dir.filePath("missing-folder/out.pdf")));
    QCOMPARE(s.feedback.shown.size(), 2);
    QCOMPARE(std::pair(s.feedback.shown[0].text, s.feedback.shown[0].title),
             std::pair(QStringLiteral("Error of connetion with printer. Please try again!"),
                       QStringLiteral("Error")));
    QVERIFY(s.feedback.shown[1].text.startsWith(QStringLiteral("Cannot write ")));
    QVERIFY(!QFileInfo::exists(dir.filePath("missing-folder")));
}

QTEST_MAIN(TestPrint)
#include "test_print.moc"
