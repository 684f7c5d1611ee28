#include "link/PortMap.h"

#include "catalog/IniFile.h"
#include "catalog/NumberText.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace orv {

QStringList systemSerialDevices() {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    std::sort(devices.begin(), devices.end());
    devices.removeDuplicates();
    return devices;
}

QString deviceForPort(int n, const QString& programIni, const QStringList& devices) {
    if (n < MinPort || n > MaxPort)
        return {};
    if (!programIni.isEmpty()) {
        const QString mapped =
            IniFile(programIni).readString(QStringLiteral("Comm Port"), QStringLiteral("COM%1").arg(n), {});
        if (!mapped.isEmpty())
            return mapped;
    }
#ifdef Q_OS_WIN
    Q_UNUSED(devices);
    return QStringLiteral("COM%1").arg(n);
#else
    return n <= devices.size() ? devices[n - 1] : QString();
#endif
}

QString deviceShortName(const QString& device) {
    const QString name = QFileInfo(device).fileName();
    return name.isEmpty() ? device : name;
}

int portNumberFromName(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^COM([0-9]{1,2})$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch())
        return 0;
    const int n = m.captured(1).toInt();
    return (n >= MinPort && n <= MaxPort) ? n : 0;
}

namespace {
const QString CommSection = QStringLiteral("Comm Port");
const QString CommKey = QStringLiteral("Common Port");
const QString NoComm = QStringLiteral("No Comm");
} // namespace

int storedPortNumber(const QString& programIni, int fallback) {
    const QString value = IniFile(programIni).readString(CommSection, CommKey, NoComm);
    if (value.startsWith(NoComm))
        return fallback;
    // A text that is no number reads as port 0, which the limits turn into 1.
    return int(std::clamp(roundHalfEven(leadingNumber(value)), double(MinPort), double(MaxPort)));
}

bool storePortNumber(const QString& programIni, int port) {
    return IniFile(programIni).writeString(CommSection, CommKey, QString::number(port));
}

namespace {

QString presentPorts() {
    const QStringList devices = systemSerialDevices();
    if (devices.isEmpty())
        return QStringLiteral("No serial port is present now; check that the programming cable is plugged in.");
    return QStringLiteral("Serial ports present now: %1.").arg(devices.join(QStringLiteral(", ")));
}

QString ownerGroup(const QString& device) {
    const QString group = QFileInfo(device).group();
    return group.isEmpty() ? QStringLiteral("dialout") : group;
}

} // namespace

bool isPrivilegedGroup(const QString& group) {
    // Groups whose members are administrators, or can read or write what would make them one
    // (raw disks, memory, password hashes, logs, the container daemons, other users' terminals).
    static const QStringList privileged{
        QStringLiteral("root"),   QStringLiteral("wheel"),  QStringLiteral("sudo"),   QStringLiteral("admin"),
        QStringLiteral("adm"),    QStringLiteral("disk"),   QStringLiteral("shadow"), QStringLiteral("kmem"),
        QStringLiteral("mem"),    QStringLiteral("sys"),    QStringLiteral("staff"),  QStringLiteral("docker"),
        QStringLiteral("lxd"),    QStringLiteral("libvirt"), QStringLiteral("systemd-journal"), QStringLiteral("tty"),
    };
    return privileged.contains(group);
}

QString permissionAdvice(const QString& device, const QString& group) {
    if (isPrivilegedGroup(group))
        return QStringLiteral("No permission to use %1: it belongs to the group \"%2\", which is not meant "
                              "for ordinary users. Use the device of a serial adapter (usually "
                              "/dev/ttyUSB0 or /dev/ttyACM0, group \"dialout\"), or ask the administrator "
                              "for a rule that lets you use %1.")
            .arg(device, group);
    return QStringLiteral("No permission to use %1 (it belongs to the group \"%2\"). Add your "
                          "user to that group with: sudo usermod -aG %2 $USER, then log out "
                          "and log in again.")
        .arg(device, group);
}

QString explainOpenFailure(const QString& device, QSerialPort::SerialPortError error,
                           const QString& systemReason) {
    if (device.isEmpty())
        return QStringLiteral("No serial device is behind this port number. ") + presentPorts();
    const QFileInfo info(device);
#ifdef Q_OS_UNIX
    const bool exists = info.exists();
    const bool mayUse = exists && ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
#else
    const bool exists = error != QSerialPort::DeviceNotFoundError;
    const bool mayUse = error != QSerialPort::PermissionError;
#endif
    if (!exists || error == QSerialPort::DeviceNotFoundError)
        return QStringLiteral("%1 was not found. %2").arg(device, presentPorts());
    if (!mayUse)
        return permissionAdvice(device, ownerGroup(device));
    if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError)
        return QStringLiteral("%1 is busy: another program is using it. Close that program and "
                              "try again.")
            .arg(device);
    return QStringLiteral("%1 could not be opened: %2").arg(device, systemReason);
}

} // namespace orv
