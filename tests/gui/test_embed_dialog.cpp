// The radio information dialog and its command against the virtual radio on a virtual clock:
// the 96-character limit when typing and pasting, what the ID and date labels show, Read and
// Write, and what Close, Cancel and the tune view leave in the window's data.

#include "RadioWindowFixture.h"
#include "image/RadioInfoText.h"
#include "link/RadioConnection.h"
#include "document/Document.h"
#include "document/TuneSession.h"
#include "shell/EmbedDialog.h"
#include "shell/MainWindow.h"
#include "shell/OperateCommands.h"
#include "shell/RadioInfoCommand.h"
#include "sim/VirtualRadio.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace orv;
using namespace orv::gui;
using orv::test::RecordingFeedback;

namespace {

const QString Title = orv::test::WindowTitle;
const QString Limit = QStringLiteral("It has been reached to the Top Size of the Input Text.");

struct Fixture : orv::test::RadioWindow {
    RadioInfoCommand* command = nullptr;

    Fixture() { command = new RadioInfoCommand(*window, runner()); }
    QString imageText() const { return window->document().infoText(); }
    // The window's data with `change` made to the bytes, as a radio read gives them.
    void changeBytes(const std::function<void(RadioData&)>& change) {
        RadioData d = session().data();
        change(d);
        orv::test::takeBytes(session(), d, feedback);
    }

    // A dialog on the window's data, shown (its load step has run) with `text`.
    std::unique_ptr<EmbedDialog> dialog(const QString& text) {
        auto d = std::make_unique<EmbedDialog>(session(), runner(), window.get());
        d->setEmbedData(text);
        d->show();
        return d;
    }
    // The command from the menu; `user` plays the shown dialog.
    void runCommand(const std::function<void(EmbedDialog&)>& user) {
        command->setRunDialog([user](EmbedDialog& d) {
            d.show();
            user(d);
        });
        window->menuAction(QStringLiteral("mnuRadio"))->trigger();
    }
};

QPlainTextEdit* box(EmbedDialog& d) { return d.findChild<QPlainTextEdit*>(QStringLiteral("rtxtbEmbed")); }
QString labelText(EmbedDialog& d, const char* name) { return d.findChild<QLabel*>(QLatin1String(name))->text(); }
void click(EmbedDialog& d, const char* name) { d.findChild<QPushButton*>(QLatin1String(name))->click(); }

void putCaret(QPlainTextEdit* edit, int position) {
    QTextCursor c = edit->textCursor();
    c.setPosition(position);
    edit->setTextCursor(c);
}

// A text of n characters, each telling its position a little.
QString sample(int n) {
    QString t;
    for (int i = 0; i < n; ++i)
        t.append(QChar(u'a' + i % 26));
    return t;
}

} // namespace

class TestEmbedDialog : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { EmbedDialog::setProgramFont(QFont(QStringLiteral("Arial"), 8)); }

    // Typing past 96 characters takes the character before the caret out again, wherever the
    // caret is, and says so once per keystroke.
    void typingStopsAt96() {
        Fixture f;
        auto d = f.dialog(sample(94));
        QPlainTextEdit* edit = box(*d);
        QCOMPARE(edit->textCursor().selectedText(), sample(94)); // the load step selects it all
        putCaret(edit, 94);
        QTest::keyClicks(edit, QStringLiteral("XYZ"));
        QCOMPARE(edit->toPlainText(), sample(94) + QStringLiteral("XY"));
        QCOMPARE(d->embedData(), edit->toPlainText());
        QCOMPARE(edit->textCursor().position(), 96);
        QCOMPARE(f.feedback.texts(), QStringList{Limit});
        QCOMPARE(f.feedback.shown[0].title, Title);
        QCOMPARE(f.feedback.shown[0].icon, Icon::None);

        // In the middle: the typed character goes, nothing else.
        const QString full = edit->toPlainText();
        putCaret(edit, 10);
        QTest::keyClick(edit, Qt::Key_Q);
        QCOMPARE(edit->toPlainText(), full);
        QCOMPARE(edit->textCursor().position(), 10);
        QCOMPARE(f.feedback.texts().count(Limit), 2);
    }

    // Ten characters pasted into the middle of 90: the last pasted one is lost and the text is
    // cut at the end, 96 kept. Pasted at the very end, the text is cut to its first 96.
    void pasteStopsAt96() {
        Fixture f;
        const QString ninety = sample(90);
        auto d = f.dialog(ninety);
        QPlainTextEdit* edit = box(*d);
        QGuiApplication::clipboard()->setText(QStringLiteral("ABCDEFGHIJ"));
        putCaret(edit, 45);
        edit->paste();
        QCOMPARE(edit->toPlainText(), ninety.left(45) + QStringLiteral("ABCDEFGHI") + ninety.mid(45, 42));
        QCOMPARE(edit->textCursor().position(), 54);
        QCOMPARE(d->embedData(), edit->toPlainText());
        QCOMPARE(f.feedback.texts(), QStringList{Limit});

        edit->undo(); // the paste and its cut are one step
        QCOMPARE(edit->toPlainText(), ninety);
        putCaret(edit, 90);
        edit->paste();
        QCOMPARE(edit->toPlainText(), ninety + QStringLiteral("ABCDEF"));
        QCOMPARE(f.feedback.texts().count(Limit), 2);
    }

    // The ID shows its 16 bytes as characters, control bytes as middle dots so the label keeps
    // its length; the date stamp's digits in their pattern; the text up to its first zero code.
    void labelsAndText() {
        Fixture f;
        f.changeBytes([](RadioData& data) {
            std::fill(data.radioId().begin(), data.radioId().end(), std::uint8_t('A'));
            const QByteArray stamp("20050429134502");
            std::copy(stamp.begin(), stamp.end(), data.dateStamp().begin());
            storeInfoText(QStringLiteral("Depot <b>North</b>"), data);
        });
        auto d = f.dialog(f.imageText());
        QCOMPARE(labelText(*d, "lblRadioID"), QStringLiteral("AAAAAAAAAAAAAAAA"));
        QCOMPARE(labelText(*d, "lblLastTime"), QStringLiteral("2005-04-29, 13:45:02"));
        QCOMPARE(box(*d)->toPlainText(), QStringLiteral("Depot <b>North</b>"));
        QCOMPARE(d->embedData(), QStringLiteral("Depot <b>North</b>"));

        f.changeBytes([](RadioData& data) {
            const QByteArray id("R7\0\0X\0\0\0\0\0\0\0\0\0\0\x01", 16);
            std::copy(id.begin(), id.end(), data.radioId().begin());
        });
        d->showRadioInfo();
        QCOMPARE(labelText(*d, "lblRadioID"), QStringLiteral("R7\u00B7\u00B7X") + QString(11, QChar(0xB7)));
    }

    // Read: the radio's text, date and ID into the window's data and the dialog. Cancel then
    // drops the edits, but the image keeps what the read brought, and it is not saved yet.
    void readThenCancel() {
        Fixture f;
        storeInfoText(QStringLiteral("Fleet 7 / Depot"), f.radio().memory());
        const QByteArray stamp("20240102030405");
        std::copy(stamp.begin(), stamp.end(), f.radio().memory().dateStamp().begin());
        f.runCommand([&](EmbedDialog& d) {
            click(d, "cmdReadInfo");
            QCOMPARE(box(d)->toPlainText(), QStringLiteral("Fleet 7 / Depot"));
            QCOMPARE(labelText(d, "lblRadioID"), radioIdText(f.radio().memory()));
            QCOMPARE(labelText(d, "lblLastTime"), QStringLiteral("2024-01-02, 03:04:05"));
            QTest::keyClicks(box(d), QStringLiteral("edited"));
            click(d, "cmdCancel");
        });
        QCOMPARE(f.feedback.texts(), QStringList{QStringLiteral("Reading is complete. Press OK button to continue ...")});
        QVERIFY(std::ranges::equal(f.session().data().infoText(), f.radio().memory().infoText()));
        QVERIFY(f.session().settingsChanged());
    }

    // Write: the typed text reaches the radio's text area; the ID and the date are never sent.
    void writeSendsTheTextOnly() {
        Fixture f;
        const RadioData radioBefore = f.radio().memory();
        f.changeBytes([](RadioData& data) {
            std::fill(data.radioId().begin(), data.radioId().end(), std::uint8_t('Z'));
            std::fill(data.dateStamp().begin(), data.dateStamp().end(), std::uint8_t('9'));
        });
        auto d = f.dialog(QString());
        QTest::keyClicks(box(*d), QStringLiteral("Ops room, call 212"));
        click(*d, "cmdWriteInfo");

        QCOMPARE(f.feedback.texts(), QStringList{QStringLiteral("Writing is complete. Press OK button to continue ...")});
        QCOMPARE(infoTextFromImage(f.radio().memory()).left(19), QStringLiteral("Ops room, call 212") + QChar(0));
        QVERIFY(std::ranges::equal(f.radio().memory().infoText(), f.session().data().infoText()));
        QVERIFY(std::ranges::equal(f.radio().memory().radioId(), radioBefore.radioId()));
        QVERIFY(std::ranges::equal(f.radio().memory().dateStamp(), radioBefore.dateStamp()));
    }

    // Close puts the text back into the image; only a different text counts as a change.
    // Cancel and Escape leave the image alone.
    void closeAndCancel() {
        Fixture f;
        f.changeBytes([](RadioData& data) { storeInfoText(QStringLiteral("Unit 4"), data); });
        f.runCommand([](EmbedDialog& d) { click(d, "cmdOK"); });
        QCOMPARE(f.imageText().left(7), QStringLiteral("Unit 4") + QChar(0));
        QVERIFY(!f.session().settingsChanged());
        QCOMPARE(f.window->viewMode(), int(MainWindow::RadioInfoView));

        f.runCommand([](EmbedDialog& d) {
            QTest::keyClicks(box(d), QStringLiteral("Spare"));
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(d.isHidden());
            QVERIFY(d.cancelPressed());
        });
        QCOMPARE(f.imageText().left(7), QStringLiteral("Unit 4") + QChar(0));
        QVERIFY(!f.session().settingsChanged());

        f.runCommand([](EmbedDialog& d) {
            QTest::keyClicks(box(d), QStringLiteral("Unit 5"));
            click(d, "cmdOK");
            QVERIFY(!d.cancelPressed());
        });
        QCOMPARE(f.imageText().left(7), QStringLiteral("Unit 5") + QChar(0));
        QVERIFY(f.session().settingsChanged());
        QVERIFY(f.window->dataUnsaved());
    }

    // From the tune view the command leaves tune mode and brings back the channel view first.
    void fromTheTuneView() {
        Fixture f;
        QVERIFY(f.session().tuning().enterTuneMode(f.runner()));
        QVERIFY(f.radio().inTuneMode());
        f.window->showCaption();
        f.window->setViewMode(MainWindow::TuneView);
        f.window->menuAction(QStringLiteral("mnuChannel"))->setChecked(false);
        f.window->menuAction(QStringLiteral("mnuTune"))->setChecked(true);
        f.runCommand([&](EmbedDialog& d) {
            QVERIFY(!f.radio().inTuneMode());
            QCOMPARE(f.session().tuning().state(), int(TuneSession::None));
            QCOMPARE(f.window->viewMode(), int(MainWindow::RadioInfoView));
            QVERIFY(f.window->menuAction(QStringLiteral("mnuChannel"))->isChecked());
            QVERIFY(!f.window->menuAction(QStringLiteral("mnuTune"))->isChecked());
            click(d, "cmdCancel");
        });
        QCOMPARE(f.radio().log().tuneExits, 1);
        QCOMPARE(f.window->windowTitle(), f.session().title());
    }

    // The font dialog starts from the program font; Cancel changes nothing, OK applies the
    // font in whole points and the next dialog keeps it.
    void fontForTheRun() {
        Fixture f;
        auto d = f.dialog(QStringLiteral("x"));
        QFont offered;
        std::optional<QFont> answer;
        d->setFontChooser([&](const QFont& initial, QWidget*) {
            offered = initial;
            return answer;
        });
        click(*d, "cmdFont");
        QCOMPARE(offered.family(), QStringLiteral("Arial"));
        QCOMPARE(offered.pointSize(), 8);
        QVERIFY(!offered.bold() && !offered.italic());

        answer = QFont(QStringLiteral("Liberation Serif"));
        answer->setPointSizeF(12.5);
        answer->setBold(true);
        click(*d, "cmdFont");
        QCOMPARE(box(*d)->font().pointSize(), 12);
        auto next = f.dialog(QString());
        QCOMPARE(box(*next)->font().family(), QStringLiteral("Liberation Serif"));
        QVERIFY(box(*next)->font().bold());
    }
};

QTEST_MAIN(TestEmbedDialog)
#include "test_embed_dialog.moc"
