// The real byte port: a QSerialPort at 115200 8N1 without flow control.
#pragma once

#include "link/BytePort.h"

#include <QSerialPort>

class SerialBytePort : public BytePort
{
    Q_OBJECT
public:
    explicit SerialBytePort(QObject *parent = nullptr);
    ~SerialBytePort() override;

    bool open(const QString &device) override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    OpenError lastOpenError() const override { return m_openError; }
    QString errorString() const override { return m_errorString; }

    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    qint64 bytesWaiting() const override { return m_port.bytesAvailable(); }
    void discardInput() override;
    bool waitForData(int msecs) override;

    // How QSerialPort's open errors read as BytePort errors. `deviceAccessible` tells
    // a permission problem (no right to the device) from a port in use (locked).
    static OpenError classify(QSerialPort::SerialPortError error, bool deviceAccessible);

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    OpenError m_openError = OpenError::None;
    QString m_errorString;
};
