#include "dialogs/frmNmeaData.h"

#include "config/EditorState.h"
#include "config/Prompts.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"
#include "link/Protocol.h"
#include "link/SerialLink.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(caption);
    return b;
}

// The character the instrument sends after echoing a channel poll arrives one
// byte time after the echo; this is how long a poll waits for it at most.
constexpr double kCharacterWait = 0.01;
// While paused the loop sleeps in slices this long between looks at the buttons.
constexpr double kPausedSlice = 0.1;
} // namespace

frmNmeaData::frmNmeaData(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmNmeaData"));
    setWindowTitle(QStringLiteral("Incoming Nmea Data"));
    txtNmeaData = new QPlainTextEdit(this);
    txtNmeaData->setObjectName(QStringLiteral("txtNmeaData"));
    txtNmeaData->setAccessibleName(QStringLiteral("Incoming NMEA data"));
    txtNmeaData->setReadOnly(true);
    txtNmeaData->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtNmeaData->setMinimumSize(520, 160);
    cmdNmeaDataFreeze = button(this, "cmdNmeaDataFreeze", QStringLiteral("Pause"));
    cmdNmeaDataResume = button(this, "cmdNmeaDataResume", QStringLiteral("Resume"));
    cmdNmeaDataCancel = button(this, "cmdNmeaDataCancel", QStringLiteral("Cancel"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdNmeaDataFreeze);
    buttons->addWidget(cmdNmeaDataResume);
    buttons->addWidget(cmdNmeaDataCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtNmeaData);
    layout->addLayout(buttons);

    connect(cmdNmeaDataFreeze, &QPushButton::clicked, this, &frmNmeaData::cmdNmeaDataFreeze_Click);
    connect(cmdNmeaDataResume, &QPushButton::clicked, this, &frmNmeaData::cmdNmeaDataResume_Click);
    connect(cmdNmeaDataCancel, &QPushButton::clicked, this, &frmNmeaData::cmdNmeaDataCancel_Click);
}

void frmNmeaData::appendReceived(char c)
{
    m_text += QLatin1Char(c);
    if (m_text.size() > kMaxCharacters)
        m_text = m_text.right(kMaxCharacters);
    QString shown = m_text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.remove(QLatin1Char('\r'));
    txtNmeaData->setPlainText(shown);
    txtNmeaData->moveCursor(QTextCursor::End);
}

void frmNmeaData::run(InstrumentContext &ctx)
{
    if (m_ctx)
        return;
    EditorState &s = ctx.state;
    const int channel = s.NmeaChannel;
    setWindowTitle(QStringLiteral("Incoming Nmea Data:  Channel %1A and Channel %1B").arg(channel));
    s.NmeaMonitorRunning = true;
    m_stopRequested = false;
    m_ctx = &ctx;
    show();
    raise();

    SerialLink &link = ctx.link;
    // However the monitor ends (stopped, or the port lost), it is no longer running.
    struct Ended {
        frmNmeaData *window;
        EditorState &state;
        ~Ended()
        {
            state.NmeaMonitorRunning = false;
            window->m_ctx = nullptr;
        }
    } ended{this, s};
    if (!ctx.ensureConnected())
        return;
    link.SendByte(proto::kNmeaMonitorStart);
    while (!m_stopRequested) {
        if (s.NmeaMonitorRunning) {
            link.SendByteCheckEcho(channel);
            if (link.RxCount >= 1 && link.waitForBytes(2, kCharacterWait))
                appendReceived(char(link.element(2)));
            link.clock().processEvents();
        } else {
            link.clock().waitUntil(link.clock().now() + kPausedSlice,
                                   [this, &s] { return m_stopRequested || s.NmeaMonitorRunning; });
        }
    }
    // Leave the instrument's command mode so that the next operation connects afresh.
    link.sendFrame(proto::kSoftReset, 0, 0, 0);
    s.Connected = kFalse;
    ctx.view.setConnectedLabel(QStringLiteral("Not connected to Corvane"));
}

void frmNmeaData::stop()
{
    if (m_ctx) {
        m_stopRequested = true;
        m_ctx->state.NmeaMonitorRunning = false;
        m_ctx->link.clock().wake();
    }
    hide();
}

void frmNmeaData::cmdNmeaDataFreeze_Click()
{
    if (m_ctx)
        m_ctx->state.NmeaMonitorRunning = false;
}

void frmNmeaData::cmdNmeaDataResume_Click()
{
    if (m_ctx) {
        m_ctx->state.NmeaMonitorRunning = true;
        m_ctx->link.clock().wake();
    }
}

void frmNmeaData::cmdNmeaDataCancel_Click()
{
    stop();
}

void frmNmeaData::closeEvent(QCloseEvent *event)
{
    stop();
    QWidget::closeEvent(event);
}
