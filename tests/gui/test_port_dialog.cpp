// The COM port command and its dialog, on a fake list of serial devices: which ports can be
// chosen, which one is selected, what the labels show, what OK, Cancel and the keys leave
// behind; and the real probe on pseudo-terminals.

#include "common/RecordingFeedback.h"
#include "common/TestFiles.h"
#include "common/TestSetup.h"
#include "shell/MainWindow.h"
#include "shell/PortCommand.h"
#include "shell/PortDialog.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace orv;
using namespace orv::gui;

namespace {

struct Fixture {
    QTemporaryDir dir;
    VirtualClock clock;
    test::RecordingFeedback feedback;
    std::unique_ptr<MainWindow> window;
    PortCommand* command = nullptr;
    // What the dialog showed: the ports enabled and the one selected.
    QList<int> enabled;
    int selected = 0;

    explicit Fixture(int storedPort, const QString& iniExtra = QString()) {
        test::putFile(
            iniPath(),
            QStringLiteral("[Comm Port]\nCommon Port=%1\n%2").arg(storedPort).arg(iniExtra).toUtf8());
        window = std::make_unique<MainWindow>(orv::test::makeDocument(ModelCatalog(), clock, iniPath()), feedback);
        command = new PortCommand(*window);
    }
    QString iniPath() const { return dir.filePath(QStringLiteral("ORVANTE.ini")); }
    // The probe finds exactly these ports; the dialog is answered by `answer`.
    void run(const QList<int>& present, const std::function<void(PortDialog&)>& answer) {
        command->setProbe([present](int n) { return present.contains(n) ? 1 : 0; });
        runDialog(answer);
    }
    void runDialog(const std::function<void(PortDialog&)>& answer) {
        command->setRunDialog([this, answer](PortDialog& d) {
            enabled.clear();
            for (int n = 1; n <= 16; ++n)
                if (d.optCOMM(n)->isEnabled())
                    enabled << n;
            selected = d.optCOMM(d.COMi())->isChecked() ? d.COMi() : 0;
            answer(d);
        });
        window->runCommand(MainWindow::Command::Port); // F9 and the toolbar button run this
    }
    QString status() const { return window->statusPanel(2)->text(); }
};

} // namespace

class TestPortDialog : public QObject {
    Q_OBJECT
private slots:
    // The ports found are enabled and the port in use is selected; a port in use that is gone
    // gives way to the lowest one found (COM1 when none is), which stays after Cancel.
    void portsFoundAndPortInUse_data() {
        QTest::addColumn<QList<int>>("present");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("selected");
        QTest::newRow("COM1 and COM4, 4 in use") << QList<int>{1, 4} << 4 << 4;
        QTest::newRow("12 in use but absent") << QList<int>{3, 7, 16} << 12 << 3;
        QTest::newRow("no port at all") << QList<int>{} << 5 << 1;
    }
    void portsFoundAndPortInUse() {
        QFETCH(QList<int>, present);
        QFETCH(int, stored);
        QFETCH(int, selected);
        Fixture f(stored);
        f.run(present, [](PortDialog& d) { d.cmdCancel()->click(); });
        QCOMPARE(f.enabled, present);
        QCOMPARE(f.selected, selected);
        QCOMPARE(f.window->comPort(), selected);
        QCOMPARE(f.status(), QStringLiteral("COM %1").arg(selected));
    }

    // OK (button or Enter) takes the port chosen, by mouse or arrow key (which skips the ports
    // that cannot be chosen); Cancel, Escape and the close box keep the port.
    void okAndCancel_data() {
        QTest::addColumn<QString>("move"); // "", "click" on COM1, "left" arrow from COM4
        QTest::addColumn<QString>("close");
        QTest::addColumn<int>("port");
        QTest::newRow("OK unchanged") << QString() << QStringLiteral("ok") << 4;
        QTest::newRow("click, OK") << QStringLiteral("click") << QStringLiteral("ok") << 1;
        QTest::newRow("arrow, Enter") << QStringLiteral("left") << QStringLiteral("enter") << 1;
        QTest::newRow("click, Cancel") << QStringLiteral("click") << QStringLiteral("cancel") << 4;
        QTest::newRow("arrow, Escape") << QStringLiteral("left") << QStringLiteral("escape") << 4;
        QTest::newRow("click, close box") << QStringLiteral("click") << QStringLiteral("closebox") << 4;
    }
    void okAndCancel() {
        QFETCH(QString, move);
        QFETCH(QString, close);
        QFETCH(int, port);
        Fixture f(4);
        f.run({1, 4, 9}, [&](PortDialog& d) {
            d.show();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            QCOMPARE(QApplication::focusWidget(), d.optCOMM(4));
            if (move == QLatin1String("click"))
                QTest::mouseClick(d.optCOMM(1), Qt::LeftButton);
            else if (move == QLatin1String("left"))
                QTest::keyClick(d.optCOMM(4), Qt::Key_Left);
            QCOMPARE(d.COMi(), move.isEmpty() ? 4 : 1);
            if (close == QLatin1String("ok"))
                d.cmdOK()->click();
            else if (close == QLatin1String("cancel"))
                d.cmdCancel()->click();
            else if (close == QLatin1String("closebox"))
                d.close();
            else
                QTest::keyClick(QApplication::focusWidget(),
                                close == QLatin1String("enter") ? Qt::Key_Return : Qt::Key_Escape);
            QVERIFY(!d.isVisible());
            QCOMPARE(d.CancelPressed(), port == 4 && !move.isEmpty());
        });
        QCOMPARE(f.window->comPort(), port);
        QCOMPARE(f.status(), QStringLiteral("COM %1").arg(port));
    }

    // The real probe opens and closes the device behind each number, the n-th device found or
    // the one the program's INI maps to it: pseudo-terminals are found, a missing device and a
    // number without one are not, and no port stays open. The labels name the devices.
    void realProbeAndDeviceLabels() {
        QCOMPARE(PortCommand::probeDevice(QString()), 0);
        int masters[2];
        QStringList devices;
        for (int& m : masters) {
            m = posix_openpt(O_RDWR | O_NOCTTY);
            QVERIFY(m >= 0 && grantpt(m) == 0 && unlockpt(m) == 0);
            devices << QString::fromLocal8Bit(ptsname(m));
        }
        Fixture f(3, QStringLiteral("COM5=/dev/serial/by-id/usb-Cable-if00\n"));
        devices.insert(1, f.dir.filePath(QStringLiteral("ttyGone")));
        f.command->setDeviceList([devices] { return devices; });
        QStringList labels;
        QString tip;
        f.runDialog([&](PortDialog& d) {
            for (int n = 1; n <= 5; ++n)
                labels << d.deviceLabel(n)->text();
            tip = d.deviceLabel(2)->toolTip();
            d.cmdOK()->click();
        });
        QCOMPARE(f.enabled, (QList<int>{1, 3}));
        QCOMPARE(f.window->comPort(), 3);
        QCOMPARE(labels,
                 (QStringList{QFileInfo(devices[0]).fileName(), "ttyGone", QFileInfo(devices[2]).fileName(),
                              QStringLiteral("\u2014"), "usb-Cable-if00"}));
        QVERIFY2(tip.startsWith(devices[1]) && tip.contains("cannot be opened"), qPrintable(tip));
        for (const QString& pts : {devices[0], devices[2]}) {
            QSerialPort again(pts);
            QVERIFY2(again.open(QIODevice::ReadWrite), qPrintable(pts + ": " + again.errorString()));
        }

        // The port the window holds open itself (tune mode between items) is not opened a
        // second time: it counts as present, and stays the port in use.
        QSerialPort held(devices[2]);
        QVERIFY(held.open(QIODevice::ReadWrite));
        f.command->setHeldDevice([] { return QString(); });
        f.runDialog([](PortDialog& d) { d.cmdCancel()->click(); });
        QCOMPARE(f.enabled, QList<int>{1});
        f.window->setComPort(3);
        f.command->setHeldDevice([&] { return devices[2]; });
        f.runDialog([](PortDialog& d) { d.cmdOK()->click(); });
        QCOMPARE(f.enabled, (QList<int>{1, 3}));
        QCOMPARE(f.window->comPort(), 3);
        for (int m : masters)
            ::close(m);
    }
};

QTEST_MAIN(TestPortDialog)
#include "test_port_dialog.moc"
