#pragma once
// The real serial port, through QSerialPort. Received bytes only reach QSerialPort's buffer
// while Qt reads the device, so the counts below pull whatever the device holds before
// answering; the waits between polls run the event loop (SystemClock) and do the same.

#include "link/SerialLink.h"

#include <QSerialPort>

namespace orv {

class QtSerialLink : public SerialLink {
public:
    // device: a system device ("/dev/ttyUSB0", "COM3").
    explicit QtSerialLink(QString device);
    ~QtSerialLink() override;

    const QString& device() const { return m_device; }

    bool setSettings(const QString& settings) override;
    bool open() override;
    void close() override;
    bool isOpen() const override;
    QString openError() const override { return m_openError; }

    int inBufferCount() override;
    int outBufferCount() override;
    bool discardInput() override;
    bool discardOutput() override;
    bool send(const QByteArray& bytes) override;
    QByteArray takeAll() override;

private:
    bool usable();
    int driverOutQueue() const;
    QString m_device;
    QSerialPort m_port;
    QString m_openError;
};

// Line settings from a text such as "9600,N,8,2". Returns false for anything else.
struct LineSettings {
    int baud = 9600;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 2;
};
bool parseLineSettings(const QString& text, LineSettings& out);

} // namespace orv
