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

int portNumberFromName(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^COM([0-9]{1,2})$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch())
        return 0;
    const int n = m.captured(1).toInt();
    return (n >= MinPort && n <= MaxPort) ? n : 0;
}

int storedPortNumber(const QString& programIni) {
    const QString value = IniFile(programIni).readString(QStringLiteral("Comm Port"),
                                                         QStringLiteral("Common Port"),
                                                         QStringLiteral("No Comm"));
    if (value.left(7) == QLatin1String("No Comm"))
        return MinPort;
    const int n = int(leadingNumber(value));
    return std::clamp(n, MinPort, MaxPort);
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
    if (!mayUse) {
        const QString group = ownerGroup(device);
        return QStringLiteral("No permission to use %1 (it belongs to the group \"%2\"). Add your "
                              "user to that group with: sudo usermod -aG %2 $USER, then log out "
                              "and log in again.")
            .arg(device, group);
    }
    if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError)
        return QStringLiteral("%1 is busy: another program is using it. Close that program and "
                              "try again.")
            .arg(device);
    return QStringLiteral("%1 could not be opened: %2").arg(device, systemReason);
}

} // namespace orv
