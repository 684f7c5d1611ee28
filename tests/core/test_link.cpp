// The serial link itself: line settings, port numbers and their devices, the reasons given
// when a port cannot be opened, and the real QSerialPort link on a pseudo-terminal (bytes
// both ways, buffer counts, a line that goes away).

#include "Clock.h"
#include "common/TestFiles.h"
#include "link/PortMap.h"
#include "link/QtSerialLink.h"
#include "link/RadioConnection.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace orv;

class TestLink : public QObject {
    Q_OBJECT

private slots:
    void lineSettings() {
        LineSettings s;
        QVERIFY(parseLineSettings(QStringLiteral("9600,N,8,2"), s));
        QCOMPARE(s.baud, 9600);
        QCOMPARE(s.parity, 'N');
        QCOMPARE(s.stopBits, 2);
        QVERIFY(parseLineSettings(QStringLiteral("9600,O,8,2"), s));
        QCOMPARE(s.parity, 'O');
        for (const char* bad : {"", "9600", "9600,X,8,2", "9600,N,9,2", "9600,N,8,3", "fast,N,8,2"})
            QVERIFY2(!parseLineSettings(QString::fromLatin1(bad), s), bad);
    }

    void portNumbersAndDevices() {
        QCOMPARE(portNumberFromName(QStringLiteral("COM3")), 3);
        QCOMPARE(portNumberFromName(QStringLiteral("com16")), 16);
        QCOMPARE(portNumberFromName(QStringLiteral("COM17")), 0);
        QCOMPARE(portNumberFromName(QStringLiteral("/dev/ttyUSB0")), 0);

        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("prog.ini"));
        const QStringList devices{QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0")};
        QCOMPARE(deviceForPort(2, ini, devices), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(deviceForPort(3, ini, devices), QString());
        QCOMPARE(deviceForPort(0, ini, devices), QString());
        test::putFile(ini, "[Comm Port]\nCommon Port=12\nCOM3=/dev/ttyACM0\n");
        QCOMPARE(deviceForPort(3, ini, devices), QStringLiteral("/dev/ttyACM0"));
        QCOMPARE(deviceForPort(1, ini, devices), QStringLiteral("/dev/ttyS0"));
    }

    // The window's connection looks the device up for every command: a new mapping (or an
    // adapter plugged in meanwhile) is used without changing the port number.
    void connectionFollowsTheDevice() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("prog.ini"));
        test::putFile(ini, "[Comm Port]\nCOM7=/dev/orvante-a\n");
        RadioConnection c(SystemClock::instance());
        c.usePort(7, ini);
        QCOMPARE(c.device(), QStringLiteral("/dev/orvante-a"));
        QCOMPARE(c.label(), QStringLiteral("COM7"));
        test::putFile(ini, "[Comm Port]\nCOM7=/dev/orvante-b\n");
        c.usePort(7, ini);
        QCOMPARE(c.device(), QStringLiteral("/dev/orvante-b"));
        c.usePortName(QStringLiteral("/dev/orvante-c"), ini);
        QCOMPARE(c.label(), QStringLiteral("/dev/orvante-c"));
    }

    // A port that is not there says so and lists what is there instead; nothing is opened.
    void missingDeviceIsExplained() {
        QtSerialLink link(QStringLiteral("/dev/orvante-no-such-port"));
        QVERIFY(!link.open());
        QVERIFY(!link.isOpen());
        QVERIFY2(link.openError().contains(QLatin1String("/dev/orvante-no-such-port was not found")),
                 qPrintable(link.openError()));
        QCOMPARE(link.inBufferCount(), -1);
        QVERIFY(!link.send("x"));
        QVERIFY(explainOpenFailure(QString(), QSerialPort::DeviceNotFoundError, {})
                    .startsWith(QLatin1String("No serial device is behind this port number.")));
    }

    // The permission advice never suggests joining a group that makes the user an
    // administrator; an ordinary device group gets the usual remedy.
    void permissionAdviceNeverSuggestsPrivilegedGroups() {
        for (const char* group : {"root", "wheel", "sudo", "adm", "disk", "shadow", "tty"}) {
            const QString advice = permissionAdvice(QStringLiteral("/dev/ttyS0"), QLatin1String(group));
            QVERIFY2(!advice.contains(QLatin1String("usermod")), qPrintable(advice));
            QVERIFY2(advice.contains(QStringLiteral("\"%1\", which is not meant for ordinary users").arg(QLatin1String(group))),
                     qPrintable(advice));
            QVERIFY(advice.contains(QLatin1String("dialout")));
        }
        const QString dialout = permissionAdvice(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("dialout"));
        QCOMPARE(dialout, QStringLiteral("No permission to use /dev/ttyUSB0 (it belongs to the group \"dialout\"). "
                                         "Add your user to that group with: sudo usermod -aG dialout $USER, then "
                                         "log out and log in again."));
        QVERIFY(permissionAdvice(QStringLiteral("/dev/ttyUSB1"), QStringLiteral("uucp")).contains(QLatin1String("usermod -aG uucp")));
    }

    // Bytes both ways through the real port, the counts, discarding, and a line that goes
    // away (the other end closed) showing up as a failed operation, not as silence.
    void realPortOnPseudoTerminal() {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        const QString slave = QString::fromLocal8Bit(::ptsname(master));

        QtSerialLink link(slave);
        QVERIFY(link.setSettings(QStringLiteral("9600,N,8,2")));
        QVERIFY2(link.open(), qPrintable(link.openError()));
        // Raw mode on our side too, so nothing is echoed or translated.
        termios t{};
        ::tcgetattr(master, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(master, TCSANOW, &t);

        QVERIFY(link.send(QByteArray("\x52\x02\xA8\x08", 4)));
        QTRY_COMPARE(link.outBufferCount(), 0);
        QByteArray got;
        QTRY_VERIFY([&] {
            char buf[16];
            const auto n = ::read(master, buf, sizeof buf);
            if (n > 0)
                got.append(buf, int(n));
            return got.size() >= 4;
        }());
        QCOMPARE(got, QByteArray("\x52\x02\xA8\x08", 4));

        QCOMPARE(::write(master, "\x06\x06\x06", 3), 3);
        QTRY_COMPARE(link.inBufferCount(), 3);
        QCOMPARE(link.takeAll(), QByteArray("\x06\x06\x06"));
        QCOMPARE(link.inBufferCount(), 0);

        QCOMPARE(::write(master, "ab", 2), 2);
        QTRY_COMPARE(link.inBufferCount(), 2);
        QVERIFY(link.discardInput());
        QCOMPARE(link.inBufferCount(), 0);

        ::close(master);
        QTRY_COMPARE(link.inBufferCount(), -1);
        link.close();
        QVERIFY(!link.isOpen());
    }

    // Waits on the real clock (an event loop here, with the application) never end early.
    // How little CPU they use is measured by bench_link.
    void realDelaysNeverEndEarly() {
        SystemClock& clock = SystemClock::instance();
        for (int i = 0; i < 20; ++i) {
            const auto t0 = clock.nowMs();
            clock.delayMs(5);
            QVERIFY(clock.nowMs() - t0 >= 5);
        }
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
