// Channel plans and many cells at once in the window: paste from a spreadsheet by header and
// by position, copy back out, a whole 16-row grid, a toggle or a value for several cells, Delete
// on whole rows, Fill Down, the import and export of File, the dialog that stands between an
// import with errors and the data, and the note a typed frequency leaves in the status bar.

#include "EditorTestSupport.h"
#include "RadioWindowFixture.h"
#include "editors/ChannelEditor.h"
#include "editors/GridSelection.h"
#include "files/ChannelExport.h"
#include "shell/ChannelPlanCommands.h"
#include "shell/ImportDialog.h"
#include "shell/UndoHistory.h"
#include "tune/TuneChannelsPage.h"
#include "tune/TuneWorkspace.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QUndoStack>

using namespace orv;
using namespace orv::gui;
using namespace orv::test;

namespace {

struct Fixture : RadioWindow {
    ChannelPlanCommands* plans = new ChannelPlanCommands(*window);
    UndoHistory* history = new UndoHistory(*window);
    Document& doc = session();
    QTableView* grid = window->channelEditor()->grid();
    QStringList files;                // what the file dialogs answer
    QList<ImportReport> previews;     // what the import dialog was shown
    bool apply = true;                // the dialog's answer

    Fixture() {
        plans->setChooseFile([this](bool, const QString&) { return files.isEmpty() ? QString() : files.takeFirst(); });
        plans->setConfirm([this](const QString&, const ImportReport& preview) {
            previews << preview;
            return apply;
        });
        window->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(window.get())); }();
    }
    const ChannelRow& channel(int ch) const { return doc.channels().rows[size_t(ch - 1)]; }
    QString undoText() const { return history->undoAction()->text(); }
    void undo() { history->undoAction()->trigger(); }
    void trigger(const char* item) { window->menuAction(QLatin1String(item))->trigger(); }
    // Cells of one column, rows `from` to `to`, as a drag selects them.
    void selectColumn(int column, int from, int to) {
        grid->setCurrentIndex(cell(grid, from, column));
        grid->selectionModel()->select(QItemSelection(cell(grid, from, column), cell(grid, to, column)),
                                       QItemSelectionModel::ClearAndSelect);
    }
    void clickLabel(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, grid->visualRect(cell(grid, row, 0)).center());
    }
    void paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        trigger("mnuEditPaste");
    }
    QString file(const QString& name) const { return dir.filePath(name); }
};

} // namespace

class TestChannelPlans : public QObject {
    Q_OBJECT
private slots:
    // A first row of column names places each field by its name and channel; without it the
    // fields go from the current cell rightwards and downwards. Either is one step to undo,
    // named with its cell count, and what the rules changed is told in the status bar.
    void pasteByHeaderAndByPosition() {
        Fixture f;
        const ChannelTable before = f.doc.channels();
        f.grid->setCurrentIndex(cell(f.grid, 9, ColPower)); // the header decides, not the cell
        f.paste(QStringLiteral("Busy Lockout\tCH No.\tRx Freq(MHz)\r\nON\tCH 3\t150.00000\r\nOFF\t5\t446.1\r\n"));
        QCOMPARE(f.channel(3).cells[ColRxFreq], QStringLiteral("150.00000"));
        QCOMPARE(f.channel(3).cells[ColBusy], QStringLiteral("ON"));
        QCOMPARE(f.channel(5).cells[ColRxFreq], QStringLiteral("176.00000"));
        QCOMPARE(f.channel(5).cells[ColBusy], QStringLiteral("OFF"));
        QCOMPARE(f.channel(9), before.rows[8]);
        QVERIFY(f.undoText().startsWith(QStringLiteral("&Undo Paste of ")));
        QVERIFY(f.undoText().endsWith(QStringLiteral(" Cells")));
        QVERIFY(f.window->statusBar()->currentMessage().contains(
            QStringLiteral("CH 5 Rx Freq(MHz): 446.1 -> 176.00000")));
        QVERIFY(f.previews.isEmpty()); // no error, no dialog
        f.undo();
        QCOMPARE(f.doc.channels(), before);

        f.grid->setCurrentIndex(cell(f.grid, 15, ColTxFreq));
        f.paste(QStringLiteral("140.00000\tDCS 023\tDelete\n141.00000\tCTC 67.0\tDelete\n"));
        QCOMPARE(f.channel(15).cells[ColTxFreq], QStringLiteral("140.00000"));
        QCOMPARE(f.channel(15).cells[ColTxSignal], QStringLiteral("DCS 023"));
        QCOMPARE(f.channel(15).cells[ColScan], QStringLiteral("Delete"));
        QCOMPARE(f.channel(16).cells[ColTxFreq], QStringLiteral("141.00000"));
        QCOMPARE(f.channel(16).cells[ColTxSignal], QStringLiteral("CTC 67.0"));
        QCOMPARE(f.undoText(), QStringLiteral("&Undo Paste of 6 Cells"));
    }

    // A paste with a cell that cannot be taken shows every error and applies nothing unless
    // the valid cells are asked for; one past the last channel is such a cell.
    void pasteWithErrors() {
        Fixture f;
        const ChannelTable before = f.doc.channels();
        f.apply = false;
        f.grid->setCurrentIndex(cell(f.grid, 15, ColRxSignal));
        f.paste(QStringLiteral("CTC 99.9\n DCS 023\nCTC 67.0\n"));
        QCOMPARE(f.previews.size(), 1);
                QCOMPARE(f.previews[0].errors.size(), 2); // the tone and the row past CH 16
        QVERIFY(f.previews[0].errors.join('\n').contains(QStringLiteral("\"CTC 99.9\" is not a CTCSS tone")));
        QCOMPARE(f.doc.channels(), before);
        QVERIFY(!f.history->undoAction()->isEnabled());

        f.apply = true;
        f.paste(QStringLiteral("CTC 99.9\n DCS 023\nCTC 67.0\n"));
        QCOMPARE(f.channel(16).cells[ColRxSignal], QStringLiteral("DCS 023"));
        QCOMPARE(f.channel(15).cells[ColRxSignal], before.rows[14].cells[ColRxSignal]);
        QCOMPARE(f.undoText(), QStringLiteral("&Undo Paste of 1 Cells"));
    }

    // The whole grid copied out of one radio's data and pasted over other data: 16 rows of
    // 11 columns by their names, the boxes included, give the same channels in one step.
    void wholeGridCopiedAndPasted() {
        Fixture f;
        f.window->mnuRead_Click(); // the demo radio's channels, every one in its model's range
        for (int ch : {15, 16}) {
            QVERIFY(f.doc.setChannelNoCh(ch, false));
            QVERIFY(f.doc.setChannelCell(ch, ColRxFreq, QStringLiteral("145.00000")));
            QVERIFY(f.doc.setChannelCell(ch, ColTxFreq, QStringLiteral("145.00000")));
        }
        QVERIFY(f.doc.setChannelNoCh(4, true));
        QVERIFY(f.doc.setChannelNoTx(6, true));
        const ChannelTable read = f.doc.channels();
        f.grid->setFocus();
        QTest::keyClick(f.grid, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(f.window->channelEditor()->selection()->wholeRows().size(), 16);
        f.trigger("mnuEditCopy");
        const QString copied = QGuiApplication::clipboard()->text();
        const QStringList lines = copied.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 17);
        QCOMPARE(lines[0], gridColumnNames(Grid::Channels).join(QLatin1Char('\t')));
        QCOMPARE(lines[4].split(QLatin1Char('\t')).size(), 11);
        QCOMPARE(lines[4].split(QLatin1Char('\t'))[0], QStringLiteral("CH 4"));

        // Back before the Read, then the copy pasted: one step.
        while (f.undoText() != QLatin1String("&Undo Read"))
            f.undo();
        f.undo();
        const ChannelTable startUp = f.doc.channels();
        QVERIFY(startUp != read);
        f.grid->setCurrentIndex(cell(f.grid, 1, 1));
        f.paste(copied);
        QCOMPARE(f.doc.channels(), read);
        QVERIFY(f.window->dataUnsaved());
        f.undo();
        QCOMPARE(f.doc.channels(), startUp);
        QVERIFY(!f.window->dataUnsaved());
    }

    // Rows copied here and pasted on another row go there (a spreadsheet's rows go to the
    // channels they name, as above), boxes included.
    void ownRowsPastedElsewhere() {
        Fixture f;
        QVERIFY(f.doc.setChannelCell(1, ColRxFreq, QStringLiteral("150.00000")));
        QVERIFY(f.doc.setChannelCell(2, ColBusy, QStringLiteral("ON")));
        QVERIFY(f.doc.setChannelNoTx(2, true));
        f.clickLabel(1);
        f.clickLabel(2, Qt::ShiftModifier);
        f.trigger("mnuEditCopy");
        f.clickLabel(13);
        f.trigger("mnuEditPaste");
        for (int ch : {13, 14}) {
            ChannelRow pasted = f.channel(ch);
            pasted.cells[ColChannel] = f.channel(ch - 12).cells[ColChannel];
            QCOMPARE(pasted, f.channel(ch - 12));
        }
        // The same text from elsewhere names its channels.
        QVERIFY(f.doc.setChannelCell(1, ColRxFreq, QStringLiteral("151.00000")));
        QGuiApplication::clipboard()->setText(QGuiApplication::clipboard()->text());
        f.clickLabel(7);
        f.trigger("mnuEditPaste");
        QCOMPARE(f.channel(1).cells[ColRxFreq], QStringLiteral("150.00000"));
        QVERIFY(f.channel(7).cells[ColRxFreq] != QLatin1String("150.00000"));
    }

    // Several cells of one column selected: a click on a toggle among them sets them all to
    // the clicked cell's next text; a frequency typed or a signalling chosen goes to them all.
    void manyCellsOfAColumn() {
        Fixture f;
        QVERIFY(f.doc.toggleChannelCell(3, ColBusy)); // the rows differ to begin with
        f.history->stack()->clear();
        const QString next = f.channel(2).cells[ColBusy] == QLatin1String("ON") ? "OFF" : "ON";
        f.selectColumn(ColBusy, 2, 5);
        clickCell(f.grid, 2, ColBusy);
        for (int ch = 2; ch <= 5; ++ch)
            QCOMPARE(f.channel(ch).cells[ColBusy], next);
        QCOMPARE(f.grid->selectionModel()->selectedIndexes().size(), 4); // the selection stays
        QCOMPARE(f.history->stack()->count(), 1);

        // A channel out of use among them is passed over.
        QVERIFY(f.doc.setChannelNoCh(8, true));
        const ChannelRow out = f.channel(8);
        f.selectColumn(ColRxFreq, 7, 9);
        clickCell(f.grid, 7, ColRxFreq);
        auto* editor = f.window->channelEditor()->findChild<QLineEdit*>();
        QVERIFY(editor && editor->isVisible());
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("155.5"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(f.channel(7).cells[ColRxFreq], QStringLiteral("155.50000"));
        QCOMPARE(f.channel(9).cells[ColRxFreq], QStringLiteral("155.50000"));
        QCOMPARE(f.channel(8), out);
        QCOMPARE(f.undoText(), QStringLiteral("&Undo Edit of 2 Cells"));
    }

    // "CH n" picks a row, Shift extends; Delete then takes the rows out of use in one step.
    // Without whole rows, Delete does nothing.
    void deleteWholeRows() {
        Fixture f;
        const ChannelTable before = f.doc.channels();
        f.clickLabel(3);
        f.clickLabel(5, Qt::ShiftModifier);
        QCOMPARE(f.window->channelEditor()->selection()->wholeRows(), (QList<int>{3, 4, 5}));
        QTest::keyClick(f.grid, Qt::Key_Delete);
        for (int ch = 1; ch <= 16; ++ch)
            QCOMPARE(f.channel(ch).noCh, (ch >= 3 && ch <= 5) || before.rows[size_t(ch - 1)].noCh);
        QCOMPARE(f.undoText(), QStringLiteral("&Undo No CH of 3 Rows"));

        f.selectColumn(ColRxFreq, 7, 9);
        QTest::keyClick(f.grid, Qt::Key_Delete);
        QVERIFY(!f.channel(7).noCh);
    }

    // Ctrl+D copies each selected column's top cell down, through the rules (a receive-only
    // channel keeps its transmit side).
    void fillDown() {
        Fixture f;
        QVERIFY(f.doc.setChannelCell(2, ColRxFreq, QStringLiteral("150.12500")));
        QVERIFY(f.doc.setChannelCell(2, ColPower, QStringLiteral("Low")));
        QVERIFY(f.doc.setChannelCell(2, ColTxFreq, QStringLiteral("150.50000")));
        QVERIFY(f.doc.setChannelNoTx(4, true));
        f.grid->setCurrentIndex(cell(f.grid, 2, ColRxFreq));
        f.grid->selectionModel()->select(QItemSelection(cell(f.grid, 2, ColRxFreq), cell(f.grid, 5, ColPower)),
                                         QItemSelectionModel::ClearAndSelect);
        const ChannelRow four = f.channel(4);
        QTest::keyClick(f.window.get(), Qt::Key_D, Qt::ControlModifier);
        for (int ch = 3; ch <= 5; ++ch)
            QCOMPARE(f.channel(ch).cells[ColRxFreq], QStringLiteral("150.12500"));
        for (int ch : {3, 5}) {
            QCOMPARE(f.channel(ch).cells[ColTxFreq], QStringLiteral("150.50000"));
            QCOMPARE(f.channel(ch).cells[ColPower], QStringLiteral("Low"));
        }
        QCOMPARE(f.channel(4).cells[ColTxFreq], four.cells[ColTxFreq]);
        QCOMPARE(f.channel(4).cells[ColPower], four.cells[ColPower]);
        QVERIFY(f.undoText().startsWith(QStringLiteral("&Undo Fill Down of ")));
        QCOMPARE(f.channel(6).cells[ColRxFreq], f.doc.channels().rows[5].cells[ColRxFreq]);
    }

    // File > Export Channels writes what orvante-cli export writes; File > Import Channels
    // shows the preview, and with errors applies the valid cells only when asked. Importing
    // an export of the data changes nothing and leaves no step.
    void importAndExport() {
        Fixture f;
        f.window->mnuRead_Click();
        const QString csv = f.file(QStringLiteral("plan.csv"));
        const QString json = f.file(QStringLiteral("plan.json"));
        f.files = {csv, json};
        QVERIFY(f.plans->exportChannels());
        QVERIFY(f.plans->exportChannels());
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), exportCsv(f.doc));

        f.history->stack()->clear();
        f.files = {csv, json};
        f.trigger("mnuFileImportChannels");
        f.trigger("mnuFileImportChannels");
        QCOMPARE(f.previews.size(), 2);
        QCOMPARE(f.previews[0].cellsChanged, 0);
        QCOMPARE(f.previews[1].cellsChanged, 0);
        QVERIFY(!f.history->undoAction()->isEnabled());

        const QString bad = f.file(QStringLiteral("bad.csv"));
        QFile out(bad);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("CH No.;Rx Freq(MHz);Tx Power\n2;150,00000;Low\n17;150.00000;High\n3;151.00000;Huge\n");
        out.close();
        const ChannelTable before = f.doc.channels();
        f.apply = false;
        f.files = {bad};
        f.plans->importChannels();
        QCOMPARE(f.previews.last().errors.size(), 2);
        QCOMPARE(f.doc.channels(), before);
        f.apply = true;
        f.files = {bad};
        f.plans->importChannels();
        QCOMPARE(f.channel(2).cells[ColPower], QStringLiteral("Low"));
        QCOMPARE(f.channel(2).cells[ColRxFreq], QStringLiteral("150.00000"));
        QCOMPARE(f.channel(3).cells[ColRxFreq], QStringLiteral("151.00000")); // the valid cell of the line
        QCOMPARE(f.channel(3).cells[ColPower], before.rows[2].cells[ColPower]);
        QVERIFY(f.undoText().startsWith(QStringLiteral("&Undo Import")));

        // Not a plan: told, nothing changed.
        f.files = {f.file(QStringLiteral("plan.txt"))};
        f.feedback.clear();
        f.plans->importChannels();
        QCOMPARE(f.feedback.shown.size(), 1);
    }

    // The dialog: every error and note listed; with errors the button is "Apply Valid Cells".
    void importDialog() {
        ImportReport preview;
        preview.cellsChanged = 3;
        preview.notes = {QStringLiteral("CH 1 Rx Freq(MHz): 446.1 -> 176.00000 (outside 130.00000~176.00000 MHz)")};
        ImportDialog clean(QStringLiteral("Import Channels"), preview);
        QCOMPARE(clean.applyButton()->text(), QStringLiteral("&Apply"));
        QVERIFY(clean.lines()->toPlainText().contains(preview.notes[0]));

        preview.errors = {QStringLiteral("line 4, \"Rx CTC/DCS\": \"CTC 99.9\" is not a CTCSS tone"),
                          QStringLiteral("line 5: CH 17 is not a channel (1-16)")};
        ImportDialog withErrors(QStringLiteral("Import Channels"), preview);
        QCOMPARE(withErrors.applyButton()->text(), QStringLiteral("Apply &Valid Cells"));
        const QString text = withErrors.lines()->toPlainText();
        QVERIFY(text.contains(preview.errors[0]) && text.contains(preview.errors[1]));
        QVERIFY(text.indexOf(QStringLiteral("Errors:")) < text.indexOf(QStringLiteral("Notes:")));
    }

    // A frequency typed out of range is clamped and told in the status bar in the note's words.
    void typedFrequencyNote() {
        Fixture f;
        clickCell(f.grid, 1, ColRxFreq);
        auto* editor = f.window->channelEditor()->findChild<QLineEdit*>();
        QVERIFY(editor && editor->isVisible());
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("446.1"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(f.channel(1).cells[ColRxFreq], QStringLiteral("176.00000"));
        QCOMPARE(f.window->statusBar()->currentMessage(),
                 QStringLiteral("CH 1 Rx Freq(MHz): 446.1 -> 176.00000 (outside 130.00000~176.00000 MHz)"));
    }

    // In the tune view, copy and paste work on the test-channel grid.
    void testChannelGrid() {
        Fixture f;
        new TuneWorkspace(*f.window, f.runner());
        f.trigger("mnuTune");
        QCOMPARE(f.window->viewMode(), int(MainWindow::TuneView));
        auto* page = f.window->findChild<TuneChannelsPage*>();
        QVERIFY(page);
        QTableView* tuneGrid = page->grid();
        tuneGrid->setCurrentIndex(cell(tuneGrid, 2, TuneColRxFreq));
        QVERIFY(f.plans->activeSelection() == page->selection());
        const QStringList names = gridColumnNames(Grid::TestChannels);
        f.paste(QStringLiteral("%1\t%2\t%3\nCH 2\t0\t150.00000\n").arg(names[0], names.value(names.size() - 2),
                                                                     names[TuneColRxFreq]));
        QCOMPARE(f.doc.tune().rows[1].cells[TuneColRxFreq], QStringLiteral("150.00000"));
        QVERIFY(!f.doc.tune().rows[1].noCh);

        tuneGrid->selectionModel()->select(cell(tuneGrid, 2, TuneColRxFreq), QItemSelectionModel::ClearAndSelect);
        f.trigger("mnuEditCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("%1\t%2\nCH 2\t150.00000\n").arg(names[0], names[TuneColRxFreq]));
    }
};

QTEST_MAIN(TestChannelPlans)
#include "test_channel_plans.moc"
