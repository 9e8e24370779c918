// A scriptable byte port for the primitives: records writes, answers by rule, injects bytes, fails to open, gets lost.
#pragma once

#include "link/BytePort.h"

#include <QMap>
#include <functional>

class VirtualClock;

class FakePort : public BytePort
{
    Q_OBJECT
public:
    explicit FakePort(VirtualClock &clock, QObject *parent = nullptr) : BytePort(parent), m_clock(clock) {}

    bool open(const QString &device) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    OpenError lastOpenError() const override { return m_error; }
    QString errorString() const override { return QStringLiteral("fake error"); }
    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    qint64 bytesWaiting() const override { return m_input.size(); }
    void discardInput() override;

    // Devices that refuse to open, with the error they give.
    QMap<QString, OpenError> refuse;
    QStringList opened;
    QByteArray written;
    int discards = 0;
    // For each byte written: the bytes that come back, and after how long.
    std::function<QByteArray(quint8)> answer;
    double answerDelay = 0.001;

    // Bytes arrive now / after `seconds`.
    void inject(const QByteArray &bytes);
    void injectIn(double seconds, const QByteArray &bytes);
    // The port goes away after `seconds`.
    void loseIn(double seconds);

private:
    VirtualClock &m_clock;
    bool m_open = false;
    OpenError m_error = OpenError::None;
    QByteArray m_input;
};
