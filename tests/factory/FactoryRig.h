// A factory window on the link bench: simulated instrument, virtual clock, scripted prompts, and sample files.
#pragma once

#include "core/Defaults.h"
#include "core/Protocol.h"
#include "kit/Child.h"
#include "kit/LinkFixture.h"
#include "kit/TempProgramFolder.h"
#include "link/InstrumentContext.h"
#include "ui/factory/FactoryWindow.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

struct FactoryRig : LinkFixture {
    InstrumentContext ctx{state, prompts, link, view, [this] { connect(); }};
    FactoryWindow w{ctx};

    FactoryRig()
    {
        state.factory.armed = true;
        writeDefaultImage(state, false);
    }

    // Connects, then forgets the handshake so that streams start with the command.
    void connectFirst()
    {
        connect();
        QVERIFY(state.link.connected);
        sim.clearLog();
        view.calls.clear();
    }

    // Clicks the button with this object name.
    void click(const QString &name)
    {
        auto *b = w.findChild<QPushButton *>(name);
        QVERIFY2(b, qPrintable(name));
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // What the box with this object name shows.
    QString boxText(const char *name) const { return child<QLineEdit>(w, QLatin1String(name))->text(); }
    QPlainTextEdit *outputBox() const { return child<QPlainTextEdit>(w, QStringLiteral("txtHalvaneData")); }

    QByteArray nvm(int from, int count) const { return sim.memory.nvm.mid(from, count); }
    QByteArray eeprom(int from, int count) const { return sim.memory.eeprom.mid(from, count); }
};

// The five-byte command frame.
inline QByteArray frame(int code, int count, int address)
{
    return bytes({61, code, count, proto::high(address), proto::low(address)});
}

// XOR of all bytes.
inline quint8 xorOf(const QByteArray &b)
{
    quint8 x = 0;
    for (char c : b)
        x ^= quint8(c);
    return x;
}

// Queues the answers of one command: "yes"/"no" for the confirmation, anything else an input box
// answer ("<cancel>" cancels it).
inline void queueAnswers(ScriptedPrompts &prompts, const QStringList &answers)
{
    for (const QString &a : answers) {
        if (a == QLatin1String("yes"))
            prompts.yes();
        else if (a == QLatin1String("no"))
            prompts.no();
        else if (a == QLatin1String("<cancel>"))
            prompts.cancelInput();
        else
            prompts.input(a);
    }
}

// A program folder holding the sample factory files, made the current folder for the test's lifetime.
struct SampleFolder {
    TempProgramFolder folder;
    QString previous = QDir::currentPath();

    SampleFolder()
    {
        const QDir samples(QStringLiteral(CORVANE_SOURCE_DIR "/samples/factory"));
        for (const QString &name : samples.entryList({QStringLiteral("*.COD"), QStringLiteral("*.DAT")}, QDir::Files))
            QFile::copy(samples.filePath(name), folder.file(name));
        QDir::setCurrent(folder.path());
    }
    ~SampleFolder() { QDir::setCurrent(previous); }
    QString file(const QString &name) const { return folder.file(name); }
};
