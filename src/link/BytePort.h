// A serial port as the link sees it: open at 115200 8N1, write bytes, read what arrived.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class BytePort : public QObject
{
    Q_OBJECT
public:
    enum class OpenError { None, NotFound, PermissionDenied, Busy, Other };

    using QObject::QObject;
    ~BytePort() override = default;

    // Opens `device` (a device path or system port name) at 115200 baud, 8 data
    // bits, no parity, 1 stop bit, no flow control. Returns false on failure.
    virtual bool open(const QString &device) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual OpenError lastOpenError() const = 0;
    virtual QString errorString() const = 0;

    virtual void write(const QByteArray &bytes) = 0;
    virtual QByteArray readAll() = 0;
    virtual qint64 bytesWaiting() const = 0;
    // Throws away everything received and not yet read.
    virtual void discardInput() = 0;
    // Blocks up to `msecs` until bytes arrive (dataReceived is emitted before it
    // returns); true when some did. Ports that only deliver through an event loop
    // return false at once.
    virtual bool waitForData(int /*msecs*/) { return false; }

signals:
    // Bytes are waiting to be read.
    void dataReceived();
    // The device went away while open (adapter unplugged).
    void portLost();
};
