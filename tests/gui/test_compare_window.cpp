// File > Compare with File... and Operate > Compare with Radio in a window whose radio
// commands talk to the virtual radio: the Differences dialog's rows, its scope, Copy, "No
// differences", leading to a cell or a list, following the data; the window's data left as
// they were by every comparison, and a read for a comparison kept by the history.

#include "EditorTestSupport.h"
#include "RadioWindowFixture.h"
#include "common/TestFiles.h"
#include "compare/DiffReport.h"
#include "editors/ChannelEditor.h"
#include "editors/SettingsPanel.h"
#include "files/DataFile.h"
#include "shell/CompareCommand.h"
#include "shell/DialogFolders.h"
#include "shell/DifferencesDialog.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

using namespace orv;
using namespace orv::gui;
using orv::test::cell;

namespace {

const QString ReadDone = QStringLiteral("Read data is complete. Press OK button to continue ...");

// What the window holds and shows, to see that a comparison changed none of it.
struct Held {
    RadioData data;
    ChannelTable channels;
    SettingsSelection settings;
    QString caption;
    bool unsaved;
    bool operator==(const Held&) const = default;
};

struct Fixture : test::RadioWindow {
    CompareCommand* compare = new CompareCommand(*window, *operate);
    QString chosenFile; // what the file dialog answers
    QStringList chooserFolders;

    Fixture() {
        compare->setFileChooser([this](const QString& folder) {
            chooserFolders << folder;
            return chosenFile;
        });
    }
    DifferencesDialog* dialog() const { return compare->dialog(); }
    // The rows as the list shows them, the columns joined by " | ".
    QStringList rows() const {
        QStringList out;
        const QTreeWidget* list = dialog()->list();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QStringList columns;
            for (int c = 0; c < list->columnCount(); ++c)
                columns << list->topLevelItem(i)->text(c);
            out << columns.join(" | ");
        }
        return out;
    }
    QStringList headers() const {
        QStringList out;
        for (int c = 0; c < dialog()->list()->columnCount(); ++c)
            out << dialog()->list()->headerItem()->text(c);
        return out;
    }
    void doubleClickRow(int row) {
        QVERIFY(QTest::qWaitForWindowExposed(dialog()));
        QTreeWidget* list = dialog()->list();
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    // The window's data as Save would write them, as a file of the fixture's folder.
    QString savedCopy(const QString& name) {
        const QString path = dir.filePath(name);
        if (writeDataFile(path, session().collected()) != SaveStatus::Ok)
            qWarning("the copy was not written");
        return path;
    }
    Held held() {
        return {session().data(), session().channels(), session().settings(), window->windowTitle(),
                session().dataUnsaved()};
    }
    QTableView* grid() const { return window->channelEditor()->grid(); }
    QString channelText(int channel, int column) const {
        return session().channels().rows[size_t(channel - 1)].cells[size_t(column)];
    }
    Document& session() const { return window->document(); }
};

} // namespace

class TestCompareWindow : public QObject {
    Q_OBJECT
private slots:
    // The window's edits against the file they started from: a row per difference, the scope,
    // Copy, leading to the cell or the list, the list following the data, and nothing of the
    // window's data changed by comparing or closing.
    void compareWithFile() {
        Fixture f;
        f.chosenFile = f.savedCopy("plan.kvd");
        const QString rxWas = f.channelText(3, ColRxFreq);
        const QString totWas = f.session().settings().text(Setting::TxTot);
        f.session().selectSetting(Setting::TxTot, f.session().settings().index(Setting::TxTot) + 1);
        const QString totNow = f.session().settings().text(Setting::TxTot);
        f.session().setInfoText(QStringLiteral("Bench 4"));
        // CH 3's receive frequency typed and not yet entered: the comparison enters it first.
        f.grid()->setFocus();
        f.grid()->setCurrentIndex(cell(f.grid(), 3, ColRxFreq));
        QTest::keyClicks(f.grid(), "1");
        QTest::keyClicks(f.window->channelEditor()->frequencyEditor(), "46.52");
        f.window->menuAction("mnuCompareFile")->trigger();
        const Held before = f.held();

        QCOMPARE(f.chooserFolders,
                 QStringList{DialogFolders(f.session().startup().productIniPath).startFolder(FileKind::Data)});
        QVERIFY(f.dialog() && f.dialog()->isVisible());
        QVERIFY(!f.dialog()->isModal());
        QCOMPARE(f.dialog()->windowTitle(), QStringLiteral("Differences"));
        QCOMPARE(f.headers(), (QStringList{"Section", "Place", "Field", "Current Data", "File"}));
        QVERIFY(f.dialog()->sidesLabel()->text().contains(QDir::toNativeSeparators(f.chosenFile)));
        QCOMPARE(f.rows(), (QStringList{"Channel | CH 3 | Rx Freq(MHz) | 146.52000 | " + rxWas,
                                        "Settings | Settings | Tx TOT | " + totNow + " | " + totWas,
                                        "Radio Information | Radio Information | Text | \"Bench 4\" | \"\""}));
        QVERIFY(f.dialog()->countLabel()->text().startsWith("3 differences."));
        QVERIFY(!f.dialog()->noDifferencesLabel()->isVisible());
        QVERIFY(f.feedback.shown.isEmpty());

        // What Write sends leaves out the radio information.
        test::choose(f.dialog()->scopeBox(), "Programming (what Write sends)");
        QCOMPARE(f.dialog()->scope(), compare::Scope::Programming);
        QCOMPARE(f.rows().size(), 2);
        test::choose(f.dialog()->scopeBox(), "All");
        QCOMPARE(f.rows().size(), 3);

        // Copy gives orvante-cli diff's text form; so does Ctrl+C in the list.
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(f.dialog()->copyButton(), Qt::LeftButton);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY2(copied.startsWith("CH 3  Rx Freq(MHz)  146.52000 -> " + rxWas + "\nSettings  Tx TOT  "), qPrintable(copied));
        QVERIFY(copied.endsWith("\n3 difference(s)\n"));
        QGuiApplication::clipboard()->clear();
        f.dialog()->list()->setFocus();
        QTest::keyClick(f.dialog()->list(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);

        // A double-click leads to the cell, Enter to the settings list; a place the window has
        // no cell for says so. The dialog stays.
        f.grid()->setCurrentIndex(cell(f.grid(), 1, ColScan));
        f.doubleClickRow(0);
        QCOMPARE(f.grid()->currentIndex(), cell(f.grid(), 3, ColRxFreq));
        QCOMPARE(f.window->focusWidget(), f.grid());
        QVERIFY(!f.dialog()->noteLabel()->isVisible());
        f.dialog()->list()->setFocus();
        f.dialog()->list()->setCurrentItem(f.dialog()->list()->topLevelItem(1));
        QTest::keyClick(f.dialog()->list(), Qt::Key_Return);
        QCOMPARE(f.window->focusWidget(), f.window->settingsPanel()->list(Setting::TxTot));
        f.dialog()->list()->setCurrentItem(f.dialog()->list()->topLevelItem(2));
        QTest::keyClick(f.dialog()->list(), Qt::Key_Return);
        QCOMPARE(f.dialog()->noteLabel()->text(),
                 QStringLiteral("Radio Information Text has no cell or list of its own in the window."));
        QVERIFY(f.dialog()->isVisible());
        QCOMPARE(f.held(), before);

        // The list follows the data: what is set back leaves it, the chosen row stays.
        f.session().setChannelCell(3, ColRxFreq, rxWas);
        QCOMPARE(f.rows().size(), 2);
        QCOMPARE(f.dialog()->list()->currentItem()->text(2), QStringLiteral("Text"));

        // Escape closes it; nothing changed.
        const Held edited = f.held();
        QTest::keyClick(f.dialog(), Qt::Key_Escape);
        QVERIFY(!f.dialog()->isVisible());
        QCOMPARE(f.held(), edited);
        QVERIFY(f.feedback.shown.isEmpty());
    }

    // The window's data against a file of the same data, which is what Save would write:
    // "No differences", plainly; Copy says so too.
    void noDifferences() {
        Fixture f;
        f.session().setChannelCell(5, ColTxFreq, QStringLiteral("150.00000"));
        f.chosenFile = f.savedCopy("same.kvd");
        f.window->menuAction("mnuCompareFile")->trigger();
        QVERIFY(f.dialog()->noDifferencesLabel()->isVisible());
        QCOMPARE(f.dialog()->noDifferencesLabel()->text(), QStringLiteral("No differences"));
        QVERIFY(!f.dialog()->list()->isVisible());
        QVERIFY(!f.dialog()->countLabel()->isVisible());
        f.dialog()->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("No differences\n"));

        // A second comparison reuses the dialog.
        DifferencesDialog* first = f.dialog();
        f.session().setChannelCell(5, ColTxFreq, QStringLiteral("151.00000"));
        f.window->menuAction("mnuCompareFile")->trigger();
        QCOMPARE(f.dialog(), first);
        QCOMPARE(f.rows(), QStringList{"Channel | CH 5 | Tx Freq(MHz) | 151.00000 | 150.00000"});
    }

    // A cancelled choice does nothing; a file that cannot be read says why, as Open does, and
    // shows no comparison.
    void fileThatCannotBeCompared() {
        Fixture f;
        f.window->menuAction("mnuCompareFile")->trigger();
        QVERIFY(!f.dialog());
        QVERIFY(f.feedback.shown.isEmpty());

        f.chosenFile = f.dir.filePath("damaged.kvd");
        QVERIFY(test::putFile(f.chosenFile, "not a data file"));
        const Held before = f.held();
        f.window->menuAction("mnuCompareFile")->trigger();
        QVERIFY(!f.dialog());
        QCOMPARE(f.feedback.shown.size(), 1);
        QCOMPARE(f.feedback.shown[0].text, loadFailureMessage(readDataFile(f.chosenFile, RadioData()).status).text);
        QCOMPARE(f.held(), before);
    }

    // The radio read in full without replacing anything in the window: the read's messages,
    // the history's backup of it, the differences; after a Read of the same radio, none.
    void compareWithRadio() {
        Fixture f;
        f.session().setChannelCell(1, ColRxFreq, QStringLiteral("150.00000"));
        const Held before = f.held();
        f.window->menuAction("mnuCompareRadio")->trigger();
        QCOMPARE(f.feedback.texts(), QStringList{ReadDone});
        QCOMPARE(f.held(), before);
        QVERIFY(f.dialog() && f.dialog()->isVisible());
        QCOMPARE(f.headers().last(), QStringLiteral("Radio"));
        QVERIFY(f.dialog()->sidesLabel()->text().contains("the radio (Demo radio), read at"));
        QVERIFY(f.rows().size() > 1);
        QVERIFY(QFileInfo(f.operate->history().lastBackup()).isFile());

        f.window->menuAction("mnuRead")->trigger();
        f.window->menuAction("mnuCompareRadio")->trigger();
        QVERIFY2(f.dialog()->noDifferencesLabel()->isVisible(), qPrintable(f.rows().join("\n")));

        // Another radio's channel 5.
        f.radio().memory().channel(4)[2] ^= 0x10;
        f.window->menuAction("mnuCompareRadio")->trigger();
        QCOMPARE(f.rows().size(), 1);
        QVERIFY(f.rows()[0].startsWith("Channel | CH 5 | "));
    }

    // A read that fails shows its message and nothing else: no dialog, the data as they were.
    void failedReadComparesNothing() {
        Fixture f;
        f.faults("silent");
        const Held before = f.held();
        f.window->menuAction("mnuCompareRadio")->trigger();
        QCOMPARE(f.feedback.shown.size(), 1);
        QVERIFY(!f.dialog());
        QCOMPARE(f.held(), before);
    }

    // The README's picture of the Differences dialog (ORVANTE_SCREENSHOT_DIR=docs/screenshots).
    void screenshotOfTheDifferences() {
        const QString dir = qEnvironmentVariable("ORVANTE_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("ORVANTE_SCREENSHOT_DIR is not set");
        Fixture f;
        f.window->menuAction("mnuRead")->trigger();
        f.session().setChannelCell(3, ColRxFreq, QStringLiteral("146.52000"));
        f.session().setChannelCell(3, ColTxFreq, QStringLiteral("146.52000"));
        f.session().setChannelNoTx(5, true);
        f.session().selectSetting(Setting::TxTot, f.session().settings().index(Setting::TxTot) + 1);
        f.radio().memory().infoText()[0] = 'W';
        f.window->menuAction("mnuCompareRadio")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog()));
        QVERIFY(f.dialog()->grab().save(QDir(dir).filePath(QStringLiteral("differences.png"))));
    }
};

QTEST_MAIN(TestCompareWindow)
#include "test_compare_window.moc"
