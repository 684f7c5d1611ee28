#include "link/QtSerialLink.h"

#include "link/PortMap.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace orv {

bool parseLineSettings(const QString& text, LineSettings& out) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    bool okBaud = false, okData = false, okStop = false;
    LineSettings s;
    s.baud = parts[0].trimmed().toInt(&okBaud);
    const QString parity = parts[1].trimmed().toUpper();
    s.dataBits = parts[2].trimmed().toInt(&okData);
    s.stopBits = parts[3].trimmed().toInt(&okStop);
    if (!okBaud || !okData || !okStop || s.baud <= 0 || parity.size() != 1 ||
        !QStringLiteral("NOE").contains(parity) || s.dataBits < 5 || s.dataBits > 8 ||
        (s.stopBits != 1 && s.stopBits != 2))
        return false;
    s.parity = parity[0].toLatin1();
    out = s;
    return true;
}

QtSerialLink::QtSerialLink(QString device) : m_device(std::move(device)) {
    m_port.setPortName(m_device);
}

QtSerialLink::~QtSerialLink() { close(); }

bool QtSerialLink::setSettings(const QString& settings) {
    LineSettings s;
    if (!parseLineSettings(settings, s))
        return false;
    bool ok = m_port.setBaudRate(s.baud);
    ok = m_port.setDataBits(QSerialPort::DataBits(s.dataBits)) && ok;
    ok = m_port.setParity(s.parity == 'N'   ? QSerialPort::NoParity
                          : s.parity == 'O' ? QSerialPort::OddParity
                                            : QSerialPort::EvenParity) &&
         ok;
    ok = m_port.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) && ok;
    ok = m_port.setFlowControl(QSerialPort::NoFlowControl) && ok;
    return ok;
}

bool QtSerialLink::open() {
    m_openError.clear();
    if (m_port.isOpen())
        return true;
    if (m_port.open(QIODevice::ReadWrite)) {
        m_port.clearError();
        return true;
    }
    m_openError = explainOpenFailure(m_device, m_port.error(), m_port.errorString());
    m_port.clearError();
    return false;
}

void QtSerialLink::close() {
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

bool QtSerialLink::isOpen() const { return m_port.isOpen(); }

// An open port whose device is still there. A wait that timed out leaves TimeoutError
// behind, which says nothing about the port.
bool QtSerialLink::usable() {
    if (!m_port.isOpen())
        return false;
    switch (m_port.error()) {
    case QSerialPort::NoError:
        return true;
    case QSerialPort::TimeoutError:
        m_port.clearError();
        return true;
    case QSerialPort::ResourceError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::NotOpenError:
        return false;
    default:
        m_port.clearError();
        return true;
    }
}

int QtSerialLink::inBufferCount() {
    if (!usable())
        return -1;
    // Pull what the device holds into the port's buffer without waiting.
    m_port.waitForReadyRead(0);
    if (!usable())
        return -1;
    return int(m_port.bytesAvailable());
}

int QtSerialLink::driverOutQueue() const {
#ifdef Q_OS_UNIX
    int inDriver = 0;
    if (m_port.handle() >= 0 && ::ioctl(m_port.handle(), TIOCOUTQ, &inDriver) == 0 && inDriver > 0)
        return inDriver;
#endif
    return 0;
}

int QtSerialLink::outBufferCount() {
    if (!usable())
        return -1;
    m_port.flush();
    if (!usable())
        return -1;
    // Bytes the driver still holds count as unsent, as they do on the wire.
    return int(m_port.bytesToWrite()) + driverOutQueue();
}

bool QtSerialLink::discardInput() {
    if (!usable())
        return false;
    m_port.clear(QSerialPort::Input);
    m_port.readAll(); // and whatever Qt had buffered already
    return usable();
}

bool QtSerialLink::discardOutput() {
    if (!usable())
        return false;
    // Only bytes that are still waiting are thrown away. A pseudo-terminal reports its bytes
    // as sent while the other side has not read them yet; flushing then would lose them.
    if (m_port.bytesToWrite() > 0 || driverOutQueue() > 0)
        m_port.clear(QSerialPort::Output);
    return usable();
}

bool QtSerialLink::send(const QByteArray& bytes) {
    if (!usable())
        return false;
    if (m_port.write(bytes) != bytes.size())
        return false;
    m_port.flush();
    return usable();
}

QByteArray QtSerialLink::takeAll() {
    if (!usable())
        return {};
    m_port.waitForReadyRead(0);
    QByteArray bytes = m_port.readAll();
    usable();
    return bytes;
}

} // namespace orv
