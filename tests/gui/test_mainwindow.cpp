// The main window driven as a user drives it: start-up state, the COM port kept in the
// program's INI file, closing, the model change, menus and toolbar, finishing cell edits,
// the clipboard, the channel view command and the scrolling editing surface.

#include "EditorTestSupport.h"
#include "catalog/IniFile.h"
#include "catalog/NumberText.h"
#include "common/TestFiles.h"
#include "editors/ChannelEditor.h"
#include "editors/SettingsPanel.h"
#include "shell/BusyCursor.h"
#include "shell/EditingArea.h"
#include "common/TestSetup.h"
#include "document/TuneSession.h"
#include "exchange/ExchangeRunner.h"
#include "link/TuneExchanges.h"
#include "shell/MainWindow.h"
#include "link/RadioLink.h"
#include "sim/MemoryLink.h"
#include "shell/ModelFrame.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

using namespace orv;
using namespace orv::gui;
using orv::test::RecordingFeedback;
using Cmd = MainWindow::Command;

namespace {

const QString Title = QStringLiteral("ORVANTE Programming Software");
const QString Unsaved = QStringLiteral("Data hasn't been saved. Do you want to save them?");

// The model of value 7 is not the first one: start-up has to look it up.
ModelCatalog catalog() {
    return ModelCatalog({
        {QStringLiteral("UHF Nine"), 9, 400.0, 470.0, 400.0, 480.0},
        {QStringLiteral("VHF Seven"), 7, 136.0, 174.0, 130.0, 176.0},
        {QStringLiteral("Other"), 12, 150.0, 160.0, 150.0, 160.0},
    });
}

struct Fixture {
    QTemporaryDir dir;
    VirtualClock clock;
    RecordingFeedback feedback;
    std::unique_ptr<MainWindow> window;
    QStringList log; // handlers plugged in by the tests, in the order they ran

    // iniText: the program's INI file before start-up (none when null).
    explicit Fixture(const QString& iniText = QString(), ModelCatalog models = catalog()) {
        if (!iniText.isNull())
            orv::test::putFile(iniPath(), iniText.toUtf8());
        window = std::make_unique<MainWindow>(orv::test::makeDocument(std::move(models), clock, iniPath()), feedback);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QString iniPath() const { return dir.filePath(QStringLiteral("ORVANTE.ini")); }
    QString iniPort() const { return IniFile(iniPath()).readString("Comm Port", "Common Port", "(none)"); }
    void plug(Cmd c, const QString& name) {
        window->setCommandHandler(c, [this, name] { log.append(name); });
    }
    Document& session() { return window->document(); }
    template <class T> T* find(const QString& name) { return window->findChild<T*>(name); }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startUpState() {
        Fixture f;
        MainWindow& w = *f.window;
        QCOMPARE(w.windowTitle(), Title);
        QCOMPARE(w.statusPanel(1)->text(), Title);
        QCOMPARE(w.statusPanel(2)->text(), QStringLiteral("COM 1"));
        // 12000 x 9000 twips at 96 dpi, no wider than the 800-pixel offscreen screen with the frame.
        QCOMPARE(w.size(), QSize(800 - 4, 600));
        QCOMPARE(w.viewMode(), int(MainWindow::ChannelView));
        QVERIFY(f.feedback.shown.isEmpty());
        QVERIFY(!w.dataUnsaved());

        // The model of value 7, found at catalog position 1.
        QCOMPARE(w.modelFrame()->cboModel()->count(), 3);
        QCOMPARE(w.modelFrame()->cboModel()->currentText(), QStringLiteral("VHF Seven"));
        QCOMPARE(w.modelFrame()->lblRadio()->text(), QStringLiteral("VHF Seven"));
        QCOMPARE(w.modelFrame()->lblFreqBand()->text(), QStringLiteral("136.00000~174.00000 MHz"));
        QCOMPARE(f.session().data().modelByte(), 7);

        QVERIFY(w.menuAction("mnuChannel")->isChecked());
        QVERIFY(!w.menuAction("mnuTune")->isChecked());
        QVERIFY(w.timer1()->isActive() && w.timer1()->isSingleShot());
        for (const char* shown : {"frmModel", "fraChannel", "frmScan"})
            QVERIFY2(f.find<QWidget>(QLatin1String(shown))->isVisible(), shown);
    }

    void emptyCatalog() {
        Fixture f{QString(), ModelCatalog()};
        QCOMPARE(f.window->modelFrame()->cboModel()->count(), 0);
        QCOMPARE(f.window->modelFrame()->lblRadio()->text(), QString());
        QCOMPARE(f.window->modelFrame()->lblFreqBand()->text(), QString());
        QCOMPARE(f.window->windowTitle(), Title);
    }

    void comPortFromIni_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<int>("port");
        QTest::newRow("no file") << QString() << 1;
        QTest::newRow("12") << QStringLiteral("[Comm Port]\nCommon Port=12\n") << 12;
        QTest::newRow("40") << QStringLiteral("[Comm Port]\nCommon Port=40\n") << 16;
        QTest::newRow("No Comm") << QStringLiteral("[Comm Port]\nCommon Port=No Comm\n") << 1;
        QTest::newRow("not a number") << QStringLiteral("[comm port]\ncommon port=abc\n") << 1;
        QTest::newRow("leading number") << QStringLiteral("[Comm Port]\nCommon Port=7x\n") << 7;
        QTest::newRow("far too large") << QStringLiteral("[Comm Port]\nCommon Port=99999999999\n") << 16;
    }
    void comPortFromIni() {
        QFETCH(QString, ini);
        QFETCH(int, port);
        Fixture f(ini);
        QCOMPARE(f.window->comPort(), port);
        QCOMPARE(f.window->statusPanel(2)->text(), QStringLiteral("COM %1").arg(port));
        // Written back, in decimal, when the window closes.
        QVERIFY(f.window->close());
        QCOMPARE(f.iniPort(), QString::number(port));
    }

    // Unsaved data (changed settings or channels, or data just read) asks first: Cancel keeps
    // the window and writes nothing, Yes leaves an active tune item then saves, No saves
    // nothing. An active tune item is always left before the port closes.
    void closing_data() {
        QTest::addColumn<int>("unsaved"); // 0 nothing, 1 settings, 2 channels, 3 data just written
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("log"); // empty: the window stays
        QTest::newRow("cancel") << 1 << int(Answer::Cancel) << QStringList();
        QTest::newRow("yes after a write") << 3 << int(Answer::Yes) << QStringList{"leave tune", "save", "close port"};
        QTest::newRow("no") << 2 << int(Answer::No) << QStringList{"leave tune", "close port"};
        QTest::newRow("nothing unsaved") << 0 << int(Answer::Cancel) << QStringList{"leave tune", "close port"};
    }
    void closing() {
        QFETCH(int, unsaved);
        QFETCH(int, answer);
        QFETCH(QStringList, log);
        Fixture f;
        // A tune item active on a virtual radio.
        sim::VirtualRadio radio;
        radio.memory().testChannel(0)[2] |= 0x08;
        sim::MemoryLink wire(radio, f.clock);
        RadioLink link(wire, f.clock, QStringLiteral("COM1"));
        ExchangeRunner runner(link, f.feedback);
        TuneSession& tune = f.session().tuning();
        QVERIFY(tune.enterTuneMode(runner));
        tune.chooseItem(1, runner);
        QCOMPARE(tune.state(), int(TuneSession::ItemActive));
        f.feedback.clear();
        f.window->setCommandHandler(Cmd::LeaveTuneMode, [&] {
            f.log.append("leave tune");
            tune.leaveTuneMode(runner);
        });
        f.plug(Cmd::FileSave, "save");
        f.plug(Cmd::ClosePort, "close port");
        if (unsaved == 1)
            QVERIFY(f.session().selectSetting(Setting::BeepTone, 1));
        if (unsaved == 2)
            QVERIFY(f.session().setChannelCell(1, ColScan, QStringLiteral("Delete")));
        if (unsaved == 3)
            f.session().applyWrite(f.session().data(), 2, true);
        f.feedback.answers = {Answer(answer)};
        f.window->menuAction("mnuFileExit")->trigger();
        QCOMPARE(f.window->isVisible(), log.isEmpty());
        QCOMPARE(f.log, log);
        QCOMPARE(QFile::exists(f.iniPath()), !log.isEmpty());
        QCOMPARE(f.feedback.texts(), unsaved ? QStringList{Unsaved} : QStringList());
        if (unsaved) {
            QCOMPARE(f.feedback.shown[0].title, Title);
            QCOMPARE(f.feedback.shown[0].icon, Icon::Exclamation);
            QCOMPARE(f.feedback.shown[0].buttons, Buttons::YesNoCancel);
        }
    }

    // The question and what the document does are in the document tests; here, what the
    // window shows.
    void modelChange() {
        Fixture f;
        QComboBox* combo = f.window->modelFrame()->cboModel();
        const QString file = f.dir.filePath(QStringLiteral("a.kvd"));
        QCOMPARE(f.session().save(file, f.feedback), SaveStatus::Ok);
        const RadioData before = f.session().data();

        // No: nothing changes and the list shows the old model again.
        f.feedback.answers = {Answer::No};
        orv::test::choose(combo, "Other");
        QCOMPARE(f.feedback.shown.size(), 1);
        QCOMPARE(combo->currentText(), QStringLiteral("VHF Seven"));
        QVERIFY(f.session().data().image == before.image);
        QCOMPARE(f.window->windowTitle(), Title + file);

        // Yes: a new image for the new model, shown in the editors; the data belong to no file.
        bool shown = false;
        connect(f.window.get(), &MainWindow::dataShown, [&shown] { shown = true; });
        f.feedback.answers = {Answer::Yes};
        orv::test::choose(combo, "UHF Nine");
        auto* grid = f.find<QAbstractItemView>("gridChan");
        QCOMPARE(grid->model()->index(1, ColRxFreq).data().toString(), QStringLiteral("400.00000"));
        QCOMPARE(f.window->modelFrame()->lblRadio()->text(), QStringLiteral("UHF Nine"));
        QCOMPARE(f.window->modelFrame()->lblFreqBand()->text(), QStringLiteral("400.00000~470.00000 MHz"));
        QCOMPARE(f.window->windowTitle(), Title);
        QVERIFY(shown);
        QVERIFY(f.window->channelEditor()->isVisible());
    }

    // Shortcuts reach the plugged-in commands, also the one inside the Comm-Port submenu.
    void shortcuts() {
        Fixture f;
        f.plug(Cmd::Read, "read");
        f.plug(Cmd::Write, "write");
        f.plug(Cmd::Port, "port");
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::keyClick(f.window.get(), Qt::Key_R, Qt::ControlModifier);
        QTest::keyClick(f.window.get(), Qt::Key_W, Qt::ControlModifier);
        QTest::keyClick(f.window.get(), Qt::Key_F9);
        QCOMPARE(f.log, (QStringList{"read", "write", "port"}));
    }

    // The buttons, in order, with their icons, run the menu handlers whatever the menu state.
    void toolbarRunsTheMenuHandlers() {
        Fixture f;
        const QStringList keys{"Open", "Save", "Print", "Read", "COMport", "Write"};
        const Cmd commands[] = {Cmd::FileOpen, Cmd::FileSave, Cmd::FilePrint, Cmd::Read, Cmd::Port, Cmd::Write};
        QStringList shownKeys;
        for (QAction* a : f.window->toolBar()->actions())
            if (!a->isSeparator())
                shownKeys.append(a->data().toString());
        QCOMPARE(shownKeys, keys);
        f.window->menuAction("mnuFileOpen")->setEnabled(false);
        for (int i = 0; i < keys.size(); ++i) {
            f.plug(commands[i], keys[i]);
            QVERIFY(!f.window->toolButton(keys[i])->icon().isNull());
            QTest::mouseClick(f.window->toolBar()->widgetForAction(f.window->toolButton(keys[i])), Qt::LeftButton);
        }
        QCOMPARE(f.log, keys);
    }

    void clicksOutsideTheEditorsCommitCellEdits() {
        Fixture f;
        // A second cell editor (as the tune view adds one), open.
        QLineEdit tuneBox(f.window->editingArea()->picture());
        tuneBox.show();
        int commits = 0;
        f.window->addCellEditor([&tuneBox] { return &tuneBox; }, [&] {
            ++commits;
            tuneBox.hide();
        });
        QPushButton* parking = f.find<QPushButton>("Command2");
        QVERIFY(parking->isVisible());

        QTest::mouseClick(f.window->editingArea()->picture(), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(commits, 1);
        QCOMPARE(QApplication::focusWidget(), parking);

        // A closed editor is left alone; the focus is parked all the same.
        QLineEdit* txtChFreq = f.window->channelEditor()->frequencyEditor();
        txtChFreq->setFocus();
        QTest::mouseClick(f.window->statusBar(), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(commits, 1);
        QCOMPARE(QApplication::focusWidget(), parking);

        for (QWidget* background : {static_cast<QWidget*>(f.window->statusBar()),
                                    static_cast<QWidget*>(f.window->toolBar())}) {
            tuneBox.show();
            const QPoint spot(background->width() - 3, background->height() / 2);
            QTest::mouseClick(background, Qt::LeftButton, {}, spot);
        }
        QCOMPARE(commits, 3);
        // The window's own background shows when the window is larger than Picture1.
        f.window->resize(3000, 2000);
        tuneBox.show();
        EditingArea* area = f.window->editingArea();
        QTRY_VERIFY(area->width() > area->picture()->width());
        QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(area->width() - 2, area->height() - 2));
        QCOMPARE(commits, 4);
    }

    void copyAndPaste() {
        Fixture f;
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText("keep");
        f.window->menuAction("mnuEditCopy")->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("keep"));
        f.window->menuAction("mnuEditPaste")->trigger(); // nothing open: nothing to paste into

        QLineEdit* txtChFreq = f.window->channelEditor()->frequencyEditor();
        QLineEdit tuneBox(f.window->editingArea()->picture());
        f.window->addCellEditor([&tuneBox] { return &tuneBox; }, [] {});
        tuneBox.setText("tune");
        tuneBox.show();
        txtChFreq->setText("146.52000");
        txtChFreq->show();
        f.window->menuAction("mnuEditCopy")->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("146.52000")); // the channel editor first
        clipboard->setText("150.1");
        f.window->menuAction("mnuEditPaste")->trigger();
        QCOMPARE(txtChFreq->text(), QStringLiteral("150.1"));
        QCOMPARE(tuneBox.text(), QStringLiteral("tune"));

        txtChFreq->hide();
        f.window->menuAction("mnuEditCopy")->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("tune"));
    }

    void channelViewCommand() {
        Fixture f;
        MainWindow& w = *f.window;
        f.plug(Cmd::LeaveTuneMode, "leave tune");
        QWidget tuneFrame;
        w.addToTuneView(&tuneFrame);
        QVERIFY(!tuneFrame.isVisible());

        // Already in the channel view: only the view mode and the pixel size change.
        w.setViewMode(MainWindow::RadioInfoView);
        // Priority CH 3, then a radio in tune mode whose settings byte names no list entry.
        RadioData radio = f.session().data();
        radio.functionSettings()[2] = 3;
        orv::test::takeBytes(f.session(), radio, f.feedback);
        QCOMPARE(f.session().settings().index(Setting::PriorityCh), 3);
        radio.functionSettings()[2] = 16;
        f.session().applyTuneEntry(TuneModeEntry{radio, 7, {2, 0}});
        w.menuAction("mnuChannel")->trigger();
        QCOMPARE(w.viewMode(), int(MainWindow::ChannelView));
        QCOMPARE(w.pixelSize(), QPoint(15, 15));
        QCOMPARE(f.session().caption(), "While tuning - " + Title);
        QVERIFY(w.menuAction("mnuChannel")->isChecked());
        QVERIFY(f.log.isEmpty());

        // Back from the tune view.
        w.menuAction("mnuChannel")->setChecked(false);
        w.menuAction("mnuTune")->setChecked(true);
        w.setViewMode(MainWindow::TuneView);
        w.findChild<QWidget*>("frmScan")->hide();
        tuneFrame.show();
        w.menuAction("mnuChannel")->trigger();
        QCOMPARE(f.log, QStringList{"leave tune"});
        QVERIFY(w.findChild<QWidget*>("frmScan")->isVisible());
        QVERIFY(!tuneFrame.isVisible());
        QCOMPARE(f.session().settings().index(Setting::PriorityCh), 0);
        QVERIFY(w.menuAction("mnuChannel")->isChecked());
        QVERIFY(!w.menuAction("mnuTune")->isChecked());
        QCOMPARE(w.windowTitle(), Title);
        tuneFrame.setParent(nullptr);
    }

    void editingAreaScrolls() {
        Fixture f;
        EditingArea* area = f.window->editingArea();
        QWidget* picture = area->picture();
        QScrollBar* h = area->hScroll();
        QScrollBar* v = area->vScroll();
        auto* corner = f.find<QPushButton>("Command1");
        auto* left = f.find<QPushButton>("cmdLeft");

        // Small window: both bars, each ranging over the part that does not fit.
        f.window->resize(400, 300);
        QTRY_VERIFY(h->isVisible() && v->isVisible());
        QVERIFY(corner->isVisible() && left->isVisible());
        QCOMPARE(h->maximum(), picture->width() - v->x());
        QCOMPARE(v->maximum(), picture->height() - h->y());
        QCOMPARE(h->width(), v->x());
        h->setValue(30);
        v->setValue(h->maximum() > 0 ? 20 : 0);
        QCOMPARE(picture->pos(), QPoint(-30, -20));

        // Tall enough, not wide enough: only the horizontal bar; the vertical one is back at 0.
        f.window->resize(400, 3000);
        QTRY_VERIFY(!v->isVisible());
        QVERIFY(h->isVisible() && !corner->isVisible() && left->isVisible());
        QCOMPARE(v->value(), 0);
        QCOMPARE(picture->pos(), QPoint(-30, 0));

        // Large: no bars, Picture1 at the top left, its size kept.
        const QSize size = picture->size();
        f.window->resize(3000, 3000);
        QTRY_VERIFY(!h->isVisible());
        QVERIFY(!left->isVisible());
        QCOMPARE(picture->pos(), QPoint(0, 0));
        QCOMPARE(picture->size(), size);
    }

    void timer1ClosesTheSplash() {
        Fixture f;
        QWidget splash;
        splash.show();
        f.window->setSplash(&splash);
        BusyCursor::showHourglass();
        f.window->timer1()->setInterval(1);
        f.window->timer1()->start();
        QTRY_VERIFY(!splash.isVisible());
        QVERIFY(!f.window->timer1()->isActive());
        QVERIFY(!BusyCursor::hourglassShown());
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
