#include "link/SerialBytePort.h"

#include "link/LinkLog.h"

#include <QFileInfo>

SerialBytePort::SerialBytePort(QObject *parent) : BytePort(parent), m_port(this)
{
    connect(&m_port, &QSerialPort::readyRead, this, &BytePort::dataReceived);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialBytePort::onError);
}

SerialBytePort::~SerialBytePort()
{
    if (m_port.isOpen())
        m_port.close();
}

BytePort::OpenError SerialBytePort::classify(QSerialPort::SerialPortError error, bool deviceAccessible)
{
    switch (error) {
    case QSerialPort::NoError:
        return OpenError::None;
    case QSerialPort::DeviceNotFoundError:
        return OpenError::NotFound;
    // QSerialPort reports a port locked by another program as a permission error too.
    case QSerialPort::PermissionError:
        return deviceAccessible ? OpenError::Busy : OpenError::PermissionDenied;
    case QSerialPort::OpenError:
        return OpenError::Busy;
    default:
        return OpenError::Other;
    }
}

namespace
{
bool deviceAccessible(const QString &device)
{
    // A bare system port name (COM3) has no file to look at.
    const QFileInfo info(device);
    return !info.exists() || (info.isReadable() && info.isWritable());
}
} // namespace

bool SerialBytePort::open(const QString &device)
{
    if (m_port.isOpen())
        m_port.close();
    m_openError = OpenError::None;
    m_errorString.clear();
    // A relative or absolute path is opened as it stands; a bare name is a system port.
    m_port.setPortName(device);
    m_port.setReadBufferSize(0);
    bool ok = m_port.open(QIODevice::ReadWrite);
    if (ok) {
        ok = m_port.setBaudRate(QSerialPort::Baud115200) && m_port.setDataBits(QSerialPort::Data8) &&
             m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
             m_port.setFlowControl(QSerialPort::NoFlowControl);
        if (!ok)
            m_port.close();
    }
    if (!ok) {
        const QSerialPort::SerialPortError error = m_port.error();
        const bool exists = QFileInfo::exists(device) || !device.contains(QLatin1Char('/'));
        m_openError = !exists ? OpenError::NotFound : classify(error, deviceAccessible(device));
        if (m_openError == OpenError::None)
            m_openError = OpenError::Other;
        m_errorString = m_port.errorString();
        qCInfo(lcLink) << "cannot open" << device << ":" << m_errorString;
        m_port.clearError();
        return false;
    }
    m_port.clear(QSerialPort::AllDirections);
    return true;
}

void SerialBytePort::close()
{
    if (m_port.isOpen())
        m_port.close();
}

void SerialBytePort::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return;
    m_port.write(bytes);
    // Hand the byte to the driver now, not at the next turn of the event loop, so
    // that the pauses after it are measured from the moment it left.
    m_port.flush();
}

QByteArray SerialBytePort::readAll()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

void SerialBytePort::discardInput()
{
    if (!m_port.isOpen())
        return;
    m_port.readAll();
    m_port.clear(QSerialPort::Input);
}

bool SerialBytePort::waitForData(int msecs)
{
    return m_port.isOpen() && m_port.waitForReadyRead(msecs);
}

void SerialBytePort::onError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError || !m_port.isOpen())
        return;
    // The device went away under an open port (adapter unplugged, simulator ended).
    m_errorString = m_port.errorString();
    qCWarning(lcLink) << "port lost:" << m_errorString;
    m_port.clearError();
    m_port.close();
    emit portLost();
}
