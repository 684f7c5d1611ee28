// The window's radio commands in the radio history: Read keeps a backup and Write is recorded
// under the radio read before; "Keep Backups" off keeps none; a history that cannot be
// written warns once through the window's feedback and the read still comes in.

#include "RadioWindowFixture.h"
#include "common/DataFolderEnvironment.h"
#include "common/TestFiles.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryRecorder.h"

#include <QAction>
#include <QDir>
#include <QtTest>

using namespace orv;

namespace {

const QString ReadDone = QStringLiteral("Read data is complete. Press OK button to continue ...");

QStringList recorded(const QString& folder) {
    HistoryDatabase db(QDir(folder).filePath(HistoryFileName));
    QStringList out;
    if (!db.open())
        return out;
    for (const HistoryEvent& e : db.events().value_or(std::vector<HistoryEvent>{}))
        out << e.operation + "/" + e.result + "/" + e.radioId + "/" + QFileInfo(e.backup).fileName();
    return out;
}

} // namespace

class TestHistoryWindow : public QObject {
    Q_OBJECT

  private slots:
    void readAndWriteAreRecorded() {
        QTemporaryDir data;
        test::DataFolderEnvironment folder(data.path().toUtf8());
        test::RadioWindow f;
        f.window->menuAction("mnuRead")->trigger();
        QCOMPARE(f.feedback.texts(), QStringList{ReadDone});
        const QString backup = f.operate->history().lastBackup();
        QCOMPARE(QFileInfo(backup).dir().path(), data.filePath("backups/ORV-DEMO-0000042"));
        QCOMPARE(test::fileBytes(backup).size(), 1370);

        f.operate->history().setKeepBackups(false);
        f.window->menuAction("mnuRead")->trigger();
        f.window->menuAction("mnuWrite")->trigger();
        QCOMPARE(recorded(data.path()),
                 (QStringList{"write/ok/ORV-DEMO-0000042/", "read/ok/ORV-DEMO-0000042/",
                              "read/ok/ORV-DEMO-0000042/" + QFileInfo(backup).fileName()}));
        QCOMPARE(QDir(data.filePath("backups/ORV-DEMO-0000042")).entryList(QDir::Files).size(), 1);
    }

    void historyThatCannotBeWritten() {
        QTemporaryDir data;
        QVERIFY(test::putFile(data.filePath("blocked"), "a file, not a folder"));
        test::DataFolderEnvironment folder(data.filePath("blocked").toUtf8());
        test::RadioWindow f;
        f.window->menuAction("mnuRead")->trigger();
        f.window->menuAction("mnuRead")->trigger();
        QCOMPARE(f.feedback.shown.size(), 3);
        const test::Shown warning = f.feedback.shown[0];
        QVERIFY2(warning.text.startsWith("Warning: radio history not kept"), qPrintable(warning.text));
        QCOMPARE(warning.title, QStringLiteral("Radio History"));
        QCOMPARE(int(warning.icon), int(Icon::Exclamation));
        QCOMPARE(f.feedback.shown[1].text, ReadDone);
        QCOMPARE(f.feedback.shown[2].text, ReadDone);
        QCOMPARE(f.session().data().image, f.radio().memory().image);
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "test_history_window.moc"
