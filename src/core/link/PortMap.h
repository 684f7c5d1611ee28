#pragma once
// The program speaks of serial ports COM1..COM16. On Windows port n is the device "COMn";
// elsewhere port n is the n-th serial device of the system, sorted by location, unless the
// program's INI file maps it (section "Comm Port", keys "COM1".."COM16" = a device path).

#include <QSerialPort>
#include <QString>
#include <QStringList>

namespace orv {

inline constexpr int MinPort = 1;
inline constexpr int MaxPort = 16;

// The system's serial devices now, sorted by location ("/dev/ttyS0", "/dev/ttyUSB0", ...).
QStringList systemSerialDevices();

// The device behind port number n (1..16): the INI mapping when programIni holds one, else
// "COMn" on Windows, else the n-th of `devices`. Empty when nothing is behind n.
QString deviceForPort(int n, const QString& programIni, const QStringList& devices);

// A device as the port lists show it: "/dev/ttyUSB0" as "ttyUSB0"; a Windows name ("COM3")
// as it is.
QString deviceShortName(const QString& device);

// "COM3" → 3; anything else → 0.
int portNumberFromName(const QString& text);

// The COM port number stored in the program's INI ("Comm Port" / "Common Port"), rounded and
// clamped to 1..16; "No Comm", a missing file or key gives `fallback`.
int storedPortNumber(const QString& programIni, int fallback = MinPort);
// Stores the COM port number there, keeping the rest of the file.
bool storePortNumber(const QString& programIni, int port);

// True for a group whose members are administrators or can become one (root, wheel, sudo,
// adm, disk, shadow, ...): joining it is never the advice for a serial port.
bool isPrivilegedGroup(const QString& group);
// What to do about a device of `group` the user may not open: join an ordinary device group
// ("dialout"); for a privileged group, use a serial adapter's device or ask the administrator.
QString permissionAdvice(const QString& device, const QString& group);

// Why a device could not be opened, in words a technician can act on: not found (with the
// serial ports present now), no permission (with the owning group and the remedy), busy.
QString explainOpenFailure(const QString& device, QSerialPort::SerialPortError error,
                           const QString& systemReason);

} // namespace orv
