// Both editing grids show the longest text each column can hold in full ("CTC 100.0",
// "-DCS 754", "TTS 9", a frequency), in the application's font at its normal size and at
// twice that size. CTest runs this suite a second time with QT_SCALE_FACTOR=2.

#include "EditorTestSupport.h"
#include "editors/ChannelEditor.h"
#include "image/TuneTable.h"
#include "tune/TuneChannelsPage.h"

#include <QTableView>
#include <QtTest>

using namespace orv;
using namespace orv::gui;
using namespace orv::test;

namespace {

// The pixels a text takes in a cell of `grid`: the text and the current-cell frame.
int needed(const QTableView* grid, const QString& text) {
    return grid->fontMetrics().horizontalAdvance(text) + 2 * 2;
}

// Every data cell's text fits the width its column shows.
void everyCellFits(const QTableView* grid) {
    const QAbstractItemModel* model = grid->model();
    for (int row = 1; row < model->rowCount(); ++row)
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex cell = model->index(row, column);
            const QString text = cell.data().toString();
            QVERIFY2(needed(grid, text) <= grid->visualRect(cell).width(),
                     qPrintable(QStringLiteral("row %1 column %2: \"%3\" in %4 px")
                                    .arg(row)
                                    .arg(column)
                                    .arg(text)
                                    .arg(grid->visualRect(cell).width())));
        }
}

} // namespace

class TestGridWidths : public QObject {
    Q_OBJECT
private slots:
    void init() { QApplication::setFont(m_normal); }
    void cleanup() { QApplication::setFont(m_normal); }

    void longestTextsFit_data() {
        QTest::addColumn<double>("fontScale");
        QTest::newRow("normal font") << 1.0;
        QTest::newRow("twice the font") << 2.0;
    }
    void longestTextsFit() {
        QFETCH(double, fontScale);
        QFont font = m_normal;
        font.setPointSizeF(m_normal.pointSizeF() * fontScale);
        QApplication::setFont(font);

        EditorSession s;
        Document& doc = s.session;
        // The widest texts in every column of a channel and of a test channel.
        RadioData radio = doc.data();
        radio.channel(0)[0] = radio.channel(0)[1] = 0xFF; // 1638.39375 MHz: the largest count
        radio.channel(0)[2] = std::uint8_t(radio.channel(0)[2] | 0x07);
        test::takeBytes(doc, radio, s.feedback);
        QVERIFY(doc.setChannelCell(1, ColRxSignal, QStringLiteral("CTC 100.0")));
        QVERIFY(doc.setChannelCell(1, ColTxSignal, QStringLiteral("-DCS 754")));
        QVERIFY(doc.setChannelCell(2, ColRxSignal, QStringLiteral("TTS 9")));
        QVERIFY(doc.toggleChannelCell(1, ColScan));
        QVERIFY(doc.toggleChannelCell(1, ColBandWidth));
        QVERIFY(doc.setTestChannelCell(1, TuneColTxSignal, QStringLiteral("CTC 100.0")));
        QVERIFY(doc.setTestChannelCell(1, TuneColRxSignal, QStringLiteral("-DCS 754")));
        QVERIFY(doc.setTestChannelCell(2, TuneColRxFreq, QStringLiteral("1638.39375")));

        ChannelEditor channels(doc, s.feedback);
        TuneChannelsPage tune(doc, s.feedback);
        channels.show();
        tune.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tune));
        everyCellFits(channels.grid());
        everyCellFits(tune.grid());
    }

private:
    const QFont m_normal = QApplication::font();
};

QTEST_MAIN(TestGridWidths)
#include "test_grid_widths.moc"
