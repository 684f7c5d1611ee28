// File > Radio History... and Option > Keep Backups in a window whose radio commands talk to
// the virtual radio and record into a data folder of the test's own: the radios and their
// events, the search, Open Backup with the unsaved-data question, Compare with Current, Show
// Folder, Export CSV, the dialog following new events, and the Keep Backups tick.

#include "RadioWindowFixture.h"
#include "catalog/IniFile.h"
#include "common/DataFolderEnvironment.h"
#include "common/TestFiles.h"
#include "files/DataFile.h"
#include "files/RecentFiles.h"
#include "history/HistoryExport.h"
#include "history/HistoryModels.h"
#include "shell/CompareCommand.h"
#include "shell/DialogFolders.h"
#include "shell/DifferencesDialog.h"
#include "shell/FileCommands.h"
#include "shell/HistoryCommand.h"
#include "shell/HistoryDialog.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>

#include <algorithm>

using namespace orv;
using namespace orv::gui;

namespace {

const QString ReadDone = QStringLiteral("Read data is complete. Press OK button to continue ...");
const QString BenchRadio = QStringLiteral("ORV-BENCH-7");
const QString DemoRadio = QStringLiteral("ORV-DEMO-0000042");

// Answers Open and Save As in turn (an empty text cancels).
struct FakeDialogs : FileDialogs {
    QStringList answers;
    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
    QString openFile(const QString&) override { return next(); }
    QString saveFile(const QString&, const QString&) override { return next(); }
};

struct Fixture {
    QTemporaryDir data;
    test::DataFolderEnvironment folder{data.path().toUtf8()};
    test::RadioWindow w;
    FakeDialogs* dialogs = new FakeDialogs;
    FileCommands* files = new FileCommands(*w.window, std::unique_ptr<FileDialogs>(dialogs));
    CompareCommand* compare = new CompareCommand(*w.window, *w.operate);
    HistoryCommand* history = nullptr;
    QList<QUrl> foldersShown;
    QStringList csvAsked; // folder|proposed name
    QString csvAnswer;

    // `keepBackups`: the INI's "Keep Backups" before the command reads it (none: missing).
    explicit Fixture(const QString& keepBackups = QString()) {
        if (!keepBackups.isNull())
            IniFile(ini()).writeString("Options", "Keep Backups", keepBackups);
        history = new HistoryCommand(*w.window, *w.operate, *files, *compare);
        history->setFolderOpener([this](const QUrl& url) {
            foldersShown << url;
            return true;
        });
        history->setCsvChooser([this](const QString& folder, const QString& name) {
            csvAsked << folder + "|" + name;
            return csvAnswer;
        });
    }
    // The dialog's models go before the history's connection.
    ~Fixture() { delete history->dialog(); }

    QString ini() { return w.session().startup().productIniPath; }
    // The demo radio read, then a radio with another ID read and written.
    void recordTwoRadios() {
        w.window->menuAction("mnuRead")->trigger();
        std::fill(w.radio().memory().radioId().begin(), w.radio().memory().radioId().end(), std::uint8_t(' '));
        std::copy_n(BenchRadio.toLatin1().constData(), BenchRadio.size(), w.radio().memory().radioId().begin());
        w.window->menuAction("mnuRead")->trigger();
        w.window->menuAction("mnuWrite")->trigger();
        w.feedback.clear();
    }
    HistoryDialog* open() {
        w.window->menuAction("mnuRadioHistory")->trigger();
        return history->dialog();
    }
    HistoryDialog* dialog() const { return history->dialog(); }
    // A table's shown rows, its visible columns joined by " | ", in their visual order.
    static QStringList rows(const QTableView* view) {
        QStringList out;
        const QHeaderView* header = view->horizontalHeader();
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            QStringList cells;
            for (int v = 0; v < header->count(); ++v) {
                const int c = header->logicalIndex(v);
                if (!view->isColumnHidden(c))
                    cells << view->model()->index(r, c).data().toString();
            }
            out << cells.join(" | ");
        }
        return out;
    }
    static QStringList headers(const QTableView* view) {
        QStringList out;
        const QHeaderView* header = view->horizontalHeader();
        for (int v = 0; v < header->count(); ++v)
            if (!view->isColumnHidden(header->logicalIndex(v)))
                out << view->model()->headerData(header->logicalIndex(v), Qt::Horizontal).toString();
        return out;
    }
    // The first column of each shown row: the radio IDs, or the events' operations.
    QStringList radios() const { return column(dialog()->radiosView(), HistoryRadiosModel::RadioId); }
    QStringList operations() const { return column(dialog()->eventsView(), HistoryEventsModel::Operation); }
    static QStringList column(const QTableView* view, int c) {
        QStringList out;
        for (int r = 0; r < view->model()->rowCount(); ++r)
            out << view->model()->index(r, c).data().toString();
        return out;
    }
    void clickRow(QTableView* view, int row) {
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QRect r = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    }
    // Chooses the event of `operation` of the radio chosen.
    void chooseEvent(const QString& operation) {
        const int row = operations().indexOf(operation);
        QVERIFY2(row >= 0, qPrintable(operation));
        clickRow(dialog()->eventsView(), row);
    }
};

} // namespace

class TestHistoryDialog : public QObject {
    Q_OBJECT
private slots:
    // One row per radio, the events of the chosen one newest first, the columns the
    // technician needs; new events show while the dialog is open.
    void radiosAndTheirEvents() {
        Fixture f;
        f.recordTwoRadios();
        HistoryDialog* d = f.open();
        QVERIFY(d && d->isVisible());
        QVERIFY(!d->isModal());
        QCOMPARE(d->windowTitle(), QStringLiteral("Radio History"));
        QCOMPARE(Fixture::headers(d->radiosView()), (QStringList{"Radio ID", "Model", "Last Seen", "Events"}));
        QCOMPARE(Fixture::headers(d->eventsView()),
                 (QStringList{"Time", "Operation", "Result", "Message", "Port", "Backup"}));
        const QStringList radios = Fixture::rows(d->radiosView());
        QCOMPARE(radios.size(), 2);
        QVERIFY2(radios[0].startsWith(BenchRadio + " | VHF Seven (7) | ") && radios[0].endsWith(" | 2"),
                 qPrintable(radios[0]));
        QVERIFY2(radios[1].startsWith(DemoRadio + " | VHF Seven (7) | ") && radios[1].endsWith(" | 1"),
                 qPrintable(radios[1]));
        QCOMPARE(d->chosenRadio(), BenchRadio);
        QCOMPARE(d->eventsLabel()->text(), "Events of " + BenchRadio + ":");
        QCOMPARE(f.operations(), (QStringList{"write", "read"}));
        const QStringList events = Fixture::rows(d->eventsView());
        QVERIFY2(events[0].contains(" | write | ok | Write data is complete. Press OK button to continue ... | "),
                 qPrintable(events[0]));
        QVERIFY2(events[1].endsWith("-read-2.kvd") || events[1].endsWith("-read.kvd"), qPrintable(events[1]));

        f.clickRow(d->radiosView(), 1);
        QCOMPARE(d->chosenRadio(), DemoRadio);
        QCOMPARE(f.operations(), QStringList{"read"});

        // A read while the dialog is open shows at once; the chosen radio stays chosen.
        f.w.window->menuAction("mnuRead")->trigger();
        QCOMPARE(d->chosenRadio(), DemoRadio);
        f.clickRow(d->radiosView(), 0);
        QCOMPARE(f.operations(), (QStringList{"read", "write", "read"}));
    }

    // The search keeps the radios with matching events and those events; nothing matching
    // leaves both lists empty, and clearing it brings everything back.
    void searchFilters() {
        Fixture f;
        f.recordTwoRadios();
        HistoryDialog* d = f.open();
        QTest::keyClicks(d->searchField(), "WRITE");
        QCOMPARE(f.radios(), QStringList{BenchRadio});
        QCOMPARE(f.operations(), QStringList{"write"});
        QCOMPARE(d->eventsLabel()->text(), "Events of " + BenchRadio + " holding \"WRITE\":");

        d->searchField()->clear();
        QTest::keyClicks(d->searchField(), "demo-00");
        QCOMPARE(f.radios(), QStringList{DemoRadio});
        QCOMPARE(f.operations(), QStringList{"read"});

        d->searchField()->clear();
        QTest::keyClicks(d->searchField(), "complete");
        QCOMPARE(f.radios(), (QStringList{BenchRadio, DemoRadio}));
        QCOMPARE(d->chosenRadio(), DemoRadio); // still listed, still chosen

        d->searchField()->setText("no such thing");
        QVERIFY(f.radios().isEmpty());
        QVERIFY(f.operations().isEmpty());
        QCOMPARE(d->eventsLabel()->text(), QStringLiteral("No radio is listed."));
        QVERIFY(!d->exportButton()->isEnabled());
        QVERIFY(!d->openBackupButton()->isEnabled());

        d->searchField()->clear();
        QCOMPARE(f.radios().size(), 2);
        QVERIFY(d->exportButton()->isEnabled());
    }

    // Open Backup asks about unsaved data first: Cancel keeps them, Yes with a save that
    // writes nothing keeps them, No opens the backup as Open opens a file.
    void openBackupAsksFirst() {
        Fixture f;
        f.recordTwoRadios();
        HistoryDialog* d = f.open();
        f.clickRow(d->radiosView(), 1);
        f.chooseEvent("read");
        const QString backup = d->chosenEvent()->backup;
        QVERIFY(d->openBackupButton()->isEnabled());
        f.w.session().setChannelCell(1, ColRxFreq, QStringLiteral("150.00000"));
        const RadioData edited = f.w.session().collected();

        f.w.feedback.answers = {Answer::Cancel};
        QTest::mouseClick(d->openBackupButton(), Qt::LeftButton);
        QCOMPARE(f.w.feedback.texts(), QStringList{"Data hasn't been saved. Do you want to save them?"});
        QCOMPARE(f.w.session().collected(), edited);

        f.w.feedback.answers = {Answer::Yes}; // Save As, cancelled
        QTest::mouseClick(d->openBackupButton(), Qt::LeftButton);
        QCOMPARE(f.w.session().collected(), edited);

        f.w.feedback.clear();
        f.w.feedback.answers = {Answer::No};
        QTest::mouseClick(d->openBackupButton(), Qt::LeftButton);
        QCOMPARE(f.w.feedback.texts(), QStringList{"Data hasn't been saved. Do you want to save them?"});
        QCOMPARE(f.w.session().data().image, readDataFile(backup, RadioData()).data.image);
        QCOMPARE(f.w.session().currentFileName(), backup);
        QVERIFY(f.w.window->windowTitle().endsWith(backup));
        QCOMPARE(RecentFiles(f.ini()).entries().first(), backup);

        // Saved data: no question.
        f.w.feedback.clear();
        QTest::mouseClick(d->openBackupButton(), Qt::LeftButton);
        QVERIFY(f.w.feedback.shown.isEmpty());
    }

    // Compare with Current: the window's data against the backup, nothing changed; only an
    // event with a backup offers it.
    void compareWithCurrent() {
        Fixture f;
        f.recordTwoRadios();
        f.w.window->menuAction("mnuRead")->trigger(); // the newest backup holds the window's data
        HistoryDialog* d = f.open();
        f.chooseEvent("write");
        QVERIFY(!d->compareButton()->isEnabled());
        f.chooseEvent("read");
        QVERIFY(d->compareButton()->isEnabled());
        f.w.session().setChannelCell(2, ColTxFreq, QStringLiteral("150.00000"));
        const RadioData before = f.w.session().data();
        QTest::mouseClick(d->compareButton(), Qt::LeftButton);
        DifferencesDialog* differences = f.compare->dialog();
        QVERIFY(differences && differences->isVisible());
        QCOMPARE(differences->list()->headerItem()->text(4), QStringLiteral("Backup"));
        QVERIFY2(differences->sidesLabel()->text().contains("the backup " + QDir::toNativeSeparators(d->chosenEvent()->backup)),
                 qPrintable(differences->sidesLabel()->text() + " / " + d->chosenEvent()->backup));
        QCOMPARE(differences->list()->topLevelItemCount(), 1);
        QCOMPARE(differences->list()->topLevelItem(0)->text(1), QStringLiteral("CH 2"));
        QCOMPARE(f.w.session().data(), before);
    }

    // The events listed, as orvante-cli history --format csv writes them.
    void exportCsv() {
        Fixture f;
        f.recordTwoRadios();
        HistoryDialog* d = f.open();
        f.csvAnswer = f.data.filePath("out.csv");
        QTest::mouseClick(d->exportButton(), Qt::LeftButton);
        QCOMPARE(f.csvAsked, QStringList{DialogFolders::documentsFolder() + "|history-" + BenchRadio + ".csv"});
        const QByteArray all = test::fileBytes(f.csvAnswer);
        QCOMPARE(all, historyCsv(d->shownEvents()));
        QCOMPARE(all.count('\n'), 3);
        QVERIFY(all.startsWith("time,radio_id,model_value,data_version,port,operation,result,message,sha256,backup\n"));

        d->searchField()->setText("write");
        QTest::mouseClick(d->exportButton(), Qt::LeftButton);
        const QList<QByteArray> lines = test::fileBytes(f.csvAnswer).trimmed().split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[1].contains(",write,ok,"));

        // A file that cannot be written says so.
        f.csvAnswer = f.data.path();
        QTest::mouseClick(d->exportButton(), Qt::LeftButton);
        QCOMPARE(f.w.feedback.texts(),
                 QStringList{"The file " + QDir::toNativeSeparators(f.data.path()) + " could not be written."});
    }

    // Show Folder: the chosen backup's folder, or the backups folder for an event without one.
    void showFolder() {
        Fixture f;
        f.recordTwoRadios();
        HistoryDialog* d = f.open();
        f.chooseEvent("read");
        QTest::mouseClick(d->showFolderButton(), Qt::LeftButton);
        f.chooseEvent("write");
        QTest::mouseClick(d->showFolderButton(), Qt::LeftButton);
        QCOMPARE(f.foldersShown, (QList<QUrl>{QUrl::fromLocalFile(f.data.filePath("backups/" + BenchRadio)),
                                              QUrl::fromLocalFile(f.data.filePath("backups"))}));
    }

    // A history that cannot be opened says why each time it is asked for, once only when the
    // recorder's own warning has just said it.
    void historyThatCannotBeOpened() {
        QTemporaryDir blocked;
        QVERIFY(test::putFile(blocked.filePath("data"), "a file, not a folder"));
        test::DataFolderEnvironment folder(blocked.filePath("data").toUtf8());
        test::RadioWindow w;
        auto* files = new FileCommands(*w.window, std::make_unique<FakeDialogs>());
        new HistoryCommand(*w.window, *w.operate, *files, *new CompareCommand(*w.window, *w.operate));
        w.window->menuAction("mnuRadioHistory")->trigger();
        QCOMPARE(w.feedback.shown.size(), 1);
        QVERIFY2(w.feedback.texts()[0].startsWith("Warning: radio history not kept"), qPrintable(w.feedback.texts()[0]));
        w.window->menuAction("mnuRadioHistory")->trigger();
        QCOMPARE(w.feedback.shown.size(), 2);
        QVERIFY2(w.feedback.texts()[1].startsWith("The radio history cannot be shown: "), qPrintable(w.feedback.texts()[1]));
        QVERIFY2(w.feedback.texts()[1].contains("cannot be made"), qPrintable(w.feedback.texts()[1]));
        QCOMPARE(w.feedback.shown[1].title, QStringLiteral("Radio History"));
    }

    // Keep Backups: on by default, kept in the INI at once and given to the recorder.
    void keepBackupsTick() {
        Fixture f;
        QAction* keep = f.w.window->menuAction("mnuKeepBackups");
        QVERIFY(keep->isCheckable());
        QVERIFY(keep->isChecked());
        keep->trigger();
        QCOMPARE(IniFile(f.ini()).readString("Options", "Keep Backups", "none"), QStringLiteral("0"));
        QVERIFY(!f.w.operate->history().keepBackups());
        f.w.window->menuAction("mnuRead")->trigger();
        QVERIFY(!QDir(f.data.filePath("backups")).exists());
        keep->trigger();
        QCOMPARE(IniFile(f.ini()).readString("Options", "Keep Backups", "none"), QStringLiteral("1"));
        f.w.window->menuAction("mnuRead")->trigger();
        QCOMPARE(QDir(f.data.filePath("backups/" + DemoRadio)).entryList(QDir::Files).size(), 1);

        Fixture off(QStringLiteral("0"));
        QVERIFY(!off.w.window->menuAction("mnuKeepBackups")->isChecked());
        QVERIFY(!off.w.operate->history().keepBackups());
    }
};

QTEST_MAIN(TestHistoryDialog)
#include "test_history_dialog.moc"
