// Option > Verify after Write in a window whose Write talks to the virtual radio: off by
// default and kept in the program's INI; on, a write is read back - a radio that holds it
// says so in the status bar, one that acknowledged a block but kept its old bytes is never a
// success (the differences, and the question whether to write again), a read back that
// fails on the line shows its message.

#include "RadioWindowFixture.h"
#include "catalog/IniFile.h"
#include "shell/VerifyCommand.h"

#include <QAction>
#include <QStatusBar>
#include <QtTest>

using namespace orv;
using namespace orv::gui;

namespace {

const QString WriteDone = QStringLiteral("Write data is complete. Press OK button to continue ...");
const QString VerifyStep = QStringLiteral("open Verifying ...|185|Verify");

struct Fixture : test::RadioWindow {
    VerifyCommand* verify = nullptr;

    // `iniValue`: the INI's "Verify after Write" before the command reads it (none: missing).
    explicit Fixture(const QString& iniValue = QString()) {
        if (!iniValue.isNull())
            ini().writeString("Options", "Verify after Write", iniValue);
        verify = new VerifyCommand(*window, *operate);
    }
    IniFile ini() { return IniFile(session().startup().productIniPath); }
    QString iniValue() { return ini().readString("Options", "Verify after Write", "none"); }
    QAction* item() { return window->menuAction("mnuVerifyAfterWrite"); }
    void write() {
        feedback.clear();
        window->menuAction("mnuWrite")->trigger();
    }
};

} // namespace

class TestVerifyWindow : public QObject {
    Q_OBJECT
private slots:
    // Off unless the INI says 1; the tick is written at once.
    void theCheckMarkIsKeptInTheIni() {
        Fixture plain;
        QVERIFY(plain.item()->isCheckable());
        QVERIFY(!plain.item()->isChecked());
        QCOMPARE(plain.iniValue(), QStringLiteral("none"));
        plain.item()->trigger();
        QVERIFY(plain.verify->verifyAfterWrite());
        QCOMPARE(plain.iniValue(), QStringLiteral("1"));
        plain.item()->trigger();
        QCOMPARE(plain.iniValue(), QStringLiteral("0"));

        QVERIFY(Fixture(QStringLiteral("1")).item()->isChecked());
        QVERIFY(!Fixture(QStringLiteral("0")).item()->isChecked());
    }

    // Off: Write is what it always was, not a byte read back.
    void offWritesOnly() {
        Fixture f;
        f.write();
        QCOMPARE(f.feedback.texts(), QStringList{WriteDone});
        QVERIFY(!f.feedback.progress.contains(VerifyStep));
        QVERIFY(f.radio().log().blocksRead.isEmpty());
    }

    // On, with a radio that keeps what it is sent: the verify's own step, then the verdict
    // in the status bar; nothing to answer.
    void radioHoldsWhatWasWritten() {
        Fixture f(QStringLiteral("1"));
        f.session().setChannelCell(2, ColTxFreq, QStringLiteral("150.00000"));
        f.write();
        QCOMPARE(f.feedback.texts(), QStringList{WriteDone});
        QVERIFY(f.feedback.progress.contains(VerifyStep));
        QCOMPARE(f.radio().log().blocksRead.size(), WriteBlockCount);
        QCOMPARE(f.window->statusBar()->currentMessage(), QStringLiteral("Verify: the radio holds what was written."));
    }

    // The radio acknowledged block 3 (the second half of CH 2's record) but kept its old
    // bytes: the channel and field are named and the technician asked to write again. No
    // writes once; Yes writes again (and is verified again).
    void radioKeptOldBytes() {
        Fixture f(QStringLiteral("1"));
        f.window->menuAction("mnuRead")->trigger();
        f.faults("keep-old-at-block:3");
        const QString held = f.session().channels().rows[1].cells[ColBusy];
        f.session().toggleChannelCell(2, ColBusy);
        const QString written = f.session().channels().rows[1].cells[ColBusy];
        f.feedback.answers = {Answer::No};
        f.write();
        QCOMPARE(f.feedback.shown.size(), 2);
        QCOMPARE(f.feedback.shown[0].text, WriteDone);
        const test::Shown question = f.feedback.shown[1];
        QCOMPARE(question.kind, test::Shown::Question);
        QCOMPARE(question.title, QStringLiteral("Verify after Write"));
        QCOMPARE(int(question.buttons), int(Buttons::YesNo));
        QCOMPARE(question.text,
                 QStringLiteral("Verify failed: 1 difference(s) between what was written and what the radio holds.\n"
                                "What was written -> what the radio holds:\n\n"
                                "CH 2  Busy Lockout  %1 -> %2\n\nWrite to the radio again?")
                     .arg(written, held));
        QVERIFY(f.window->statusBar()->currentMessage().isEmpty());

        f.feedback.answers = {Answer::Yes, Answer::No};
        f.write();
        QTRY_COMPARE(f.feedback.texts().filter("Verify failed").size(), 2);
        QCOMPARE(f.feedback.texts().filter(WriteDone).size(), 2);
        QTest::qWait(50);
        QCOMPARE(f.feedback.shown.size(), 4);
    }

    // A read back that breaks off shows its own message, and no question.
    void readBackFailsOnTheLine() {
        Fixture f(QStringLiteral("1"));
        f.faults("short-reply-at-block:0");
        f.write();
        QCOMPARE(f.feedback.texts(),
                 (QStringList{WriteDone, QStringLiteral("Verifying data interrupted. Please write again!")}));
    }
};

QTEST_MAIN(TestVerifyWindow)
#include "test_verify_window.moc"
