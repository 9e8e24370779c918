// Results of the factory window's file readers and answer checks: a value, or the text that explains a refusal.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <utility>

namespace factory
{

// The checked answer to one prompt of the factory window.
//   ok                  the value is usable;
//   !ok with a message  tell the user the message and send nothing;
//   !ok, no message     the user cancelled: end quietly, send nothing.
struct Checked {
    bool ok = false;
    qint64 value = 0;
    QString message;

    bool cancelled() const { return !ok && message.isEmpty(); }
    static Checked accept(qint64 v) { return {true, v, QString()}; }
    static Checked refuse(const QString &why) { return {false, 0, why}; }
    static Checked cancel() { return {false, 0, QString()}; }
};

// What a reader of a factory file gives back: the value, or an error that names the
// file and, when the fault lies in one line, that line.
template <typename T> struct FileResult {
    T value{};
    QString error;

    bool ok() const { return error.isEmpty(); }
    static FileResult fail(const QString &why)
    {
        FileResult r;
        r.error = why;
        return r;
    }
    static FileResult success(T v)
    {
        FileResult r;
        r.value = std::move(v);
        return r;
    }
};

// Bytes bound for one place in the 24C512: a frame 61, 3, size, high(address), low(address)
// followed by `bytes`, each sent with the echo-checked send.
struct EepromBlock {
    int address = 0;
    QByteArray bytes;
};

} // namespace factory
