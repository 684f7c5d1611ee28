// The signalling dialog: how a text opens it, the tone and code checks with their messages,
// and what OK and Cancel hand back.

#include "catalog/NumberText.h"
#include "common/RecordingFeedback.h"
#include "editors/SignalDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace orv;
using namespace orv::gui;
using orv::test::RecordingFeedback;

namespace {

struct Fixture {
    RecordingFeedback feedback;
    SignalDialog dialog;
    QComboBox* tone = dialog.findChild<QComboBox*>(QStringLiteral("cboChRxQT"));
    QComboBox* code = dialog.findChild<QComboBox*>(QStringLiteral("cboChRxDQT"));
    QCheckBox* invert = dialog.findChild<QCheckBox*>(QStringLiteral("chkChRxDQT"));

    explicit Fixture(const QString& text, NumberFormat numbers = NumberFormat()) : dialog(feedback, numbers) {
        dialog.setSignalText(text);
        dialog.open();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }
    QRadioButton* option(int i) { return dialog.findChild<QRadioButton*>(QStringLiteral("optChRxdec_%1").arg(i)); }
    void retype(QComboBox* list, const QString& keys) {
        list->setFocus();
        list->lineEdit()->selectAll();
        QTest::keyClick(list, Qt::Key_Backspace);
        QTest::keyClicks(list, keys);
    }
    void click(const char* button) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
};

} // namespace

class TestSignal : public QObject {
    Q_OBJECT
private slots:
    void opensOnTheFormOfTheText() {
        Fixture ctc(QStringLiteral("CTC 88.5"));
        QVERIFY(ctc.option(1)->isChecked());
        QCOMPARE(ctc.tone->currentText(), QStringLiteral("88.5"));
        QVERIFY(ctc.tone->isEnabled() && !ctc.code->isEnabled() && !ctc.invert->isEnabled());

        Fixture dcs(QStringLiteral("-DCS 754"));
        QVERIFY(dcs.option(2)->isChecked());
        QCOMPARE(dcs.code->currentText(), QStringLiteral("754"));
        QVERIFY(dcs.invert->isChecked());
        QVERIFY(!dcs.tone->isEnabled() && dcs.code->isEnabled() && dcs.invert->isEnabled());
    }

    // OK always closes with a well-formed text; unusable input is reported once and replaced
    // by the last accepted tone or code.
    void okGivesAWellFormedText_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("mode");      // option clicked first, -1 for none
        QTest::addColumn<QString>("typed"); // into the list of the mode; null: nothing typed
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message"); // "text|title", empty for none
        const QString ctc = QStringLiteral("CTC 88.5"), dcs = QStringLiteral("DCS 243");
        QTest::newRow("tone above") << ctc << -1 << "300" << "CTC 254.1" << "";
        QTest::newRow("tone below") << ctc << -1 << "50" << "CTC 67.0" << "";
        QTest::newRow("tone off the list") << ctc << -1 << "1a00.54" << "CTC 100.5" << "";
        QTest::newRow("empty tone") << ctc << -1 << "" << ctc << "CTC Data Invalid!|Error";
        QTest::newRow("tone not a number") << ctc << -1 << "." << ctc << "CTC Data Invalid!|Error CTC";
        QTest::newRow("code not octal") << dcs << -1 << "18" << dcs << "DCS Data Invalid!|Error DCS";
        QTest::newRow("empty code") << dcs << -1 << "" << dcs << "DCS Data Invalid!|Error DCS";
        QTest::newRow("code below") << dcs << -1 << "7" << "DCS 023" << "";
        QTest::newRow("code above") << dcs << -1 << "777" << "DCS 754" << "";
        QTest::newRow("code off the list") << dcs << -1 << "a2b5c" << "DCS 025" << "";
        QTest::newRow("no form") << "" << -1 << QString() << "OFF" << "";
        QTest::newRow("to DCS") << ctc << 2 << QString() << "DCS 023" << "";
        QTest::newRow("to OFF") << ctc << 0 << QString() << "OFF" << "";
    }
    void okGivesAWellFormedText() {
        QFETCH(QString, start);
        QFETCH(int, mode);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        QFETCH(QString, message);
        Fixture f(start);
        if (mode >= 0)
            f.option(mode)->click();
        if (!typed.isNull())
            f.retype(f.dialog.mode() == SignalDialog::ModeCtc ? f.tone : f.code, typed);
        f.click("cmdOK");
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.dialog.signalText(), result);
        QStringList shown;
        for (const auto& s : f.feedback.shown)
            shown << s.text + QLatin1Char('|') + s.title;
        QCOMPARE(shown.join(QLatin1Char(';')), message);
    }

    void leavingAListChecksIt() {
        Fixture f(QStringLiteral("CTC 88.5"));
        f.retype(f.tone, QStringLiteral("."));
        QTest::keyClick(f.tone, Qt::Key_Tab);
        QCOMPARE(f.feedback.texts(), QStringList{QStringLiteral("CTC Data Invalid!")});
        QCOMPARE(f.feedback.shown[0].icon, Icon::Exclamation);
        QCOMPARE(f.tone->currentText(), QStringLiteral("88.5"));
    }

    void commaTypesTheDecimalSeparator() {
        Fixture f(QStringLiteral("CTC 88,5"), NumberFormat(QLatin1Char(',')));
        f.retype(f.tone, QStringLiteral("123.45"));
        QCOMPARE(f.tone->currentText(), QStringLiteral("123,45"));
        f.click("cmdOK");
        QCOMPARE(f.dialog.signalText(), QStringLiteral("CTC 123,5"));
    }

    void cancelKeepsTheTextAfterAnyChange() {
        Fixture f(QStringLiteral("CTC 88.5"));
        QTest::keyClick(f.dialog.windowHandle(), Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(f.option(2)->isChecked()); // a mnemonic clicks after a short delay
        f.retype(f.code, QStringLiteral("754"));
        QTest::mouseClick(f.invert, Qt::LeftButton);
        f.click("cmdCancel");
        QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
        QCOMPARE(f.dialog.signalText(), QStringLiteral("CTC 88.5"));
    }
};

QTEST_MAIN(TestSignal)
#include "test_signal.moc"
