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
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace
{
QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(caption);
    return b;
}

// The character the instrument sends after echoing a channel poll arrives about one
// byte time after the echo; a slow instrument gets as long as an echo.
constexpr double kCharacterWait = 0.2;
// While paused the loop sleeps in slices this long between looks at the buttons.
constexpr double kPausedSlice = 0.1;
// Polls going unanswered this long are worth a word in the window.
constexpr double kSilenceNotice = 3.0;
// The text box follows the received text every this many milliseconds at most: a
// monitor polled a thousand times a second must not lay its text out each time.
constexpr int kRefreshInterval = 100;

// The text box shows line ends as new lines and no carriage returns.
QString shownText(QString text)
{
    return text.remove(QLatin1Char('\r'));
}
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
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblNmeaDataStatus"));
    m_status->setAccessibleName(QStringLiteral("Monitor status"));
    m_status->setWordWrap(true);
    m_status->hide();
    m_refresh = new QTimer(this);
    m_refresh->setInterval(kRefreshInterval);
    connect(m_refresh, &QTimer::timeout, this, &frmNmeaData::flushText);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtNmeaData);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    connect(cmdNmeaDataFreeze, &QPushButton::clicked, this, &frmNmeaData::cmdNmeaDataFreeze_Click);
    connect(cmdNmeaDataResume, &QPushButton::clicked, this, &frmNmeaData::cmdNmeaDataResume_Click);
    connect(cmdNmeaDataCancel, &QPushButton::clicked, this, &frmNmeaData::cmdNmeaDataCancel_Click);
}

void frmNmeaData::appendReceived(char c)
{
    m_text += QLatin1Char(c);
    m_pending += QLatin1Char(c);
    if (m_text.size() > kMaxCharacters)
        m_text = m_text.right(kMaxCharacters);
    if (!m_refresh->isActive())
        m_refresh->start();
}

void frmNmeaData::flushText()
{
    m_refresh->stop();
    if (m_pending.isEmpty())
        return;
    // Appended, and the oldest characters taken off the front, instead of setting the
    // whole text again for every character.
    const bool whole = m_pending.size() >= kMaxCharacters;
    const QString added = shownText(whole ? m_text : m_pending);
    m_pending.clear();
    QTextCursor cursor(txtNmeaData->document());
    if (whole) {
        txtNmeaData->setPlainText(added);
    } else {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(added);
    }
    const int excess = txtNmeaData->document()->characterCount() - 1 - int(shownText(m_text).size());
    if (excess > 0) {
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, excess);
        cursor.removeSelectedText();
    }
    txtNmeaData->moveCursor(QTextCursor::End);
}

QString frmNmeaData::status() const
{
    return m_status->text();
}

void frmNmeaData::setStatus(const QString &text)
{
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
}

// One poll: the channel byte with its echo wait, then the character that answers it.
// That character counts only after a confirmed echo of this poll's channel byte: a
// late character of an earlier poll, or the echo itself, is never shown as text.
void frmNmeaData::poll(InstrumentContext &ctx, int channel)
{
    SerialLink &link = ctx.link;
    link.SendByteCheckEcho(channel);
    const bool confirmed = link.RxCount >= 1 && link.element(1) == channel;
    if (confirmed) {
        m_lastAnswer = link.clock().now();
        if (m_silenceShown) {
            m_silenceShown = false;
            setStatus(QString());
        }
        if (link.waitForBytes(2, kCharacterWait) && link.element(2) != channel)
            appendReceived(char(link.element(2)));
    } else if (!m_silenceShown && link.clock().now() - m_lastAnswer > kSilenceNotice) {
        m_silenceShown = true;
        setStatus(QStringLiteral("No answer from the instrument on channel %1A/%1B").arg(channel));
    }
}

// Leaves the instrument's command mode so that the next operation connects afresh.
void frmNmeaData::leaveMonitorMode(InstrumentContext &ctx)
{
    m_released = true;
    ctx.link.sendFrame(proto::kSoftReset, 0, 0, 0);
    ctx.state.Connected = kFalse;
    ctx.view.setConnectedLabel(QStringLiteral("Not connected to Corvane"));
}

void frmNmeaData::run(InstrumentContext &ctx)
{
    if (m_ctx)
        return;
    EditorState &s = ctx.state;
    const int channel = s.NmeaChannel;
    setWindowTitle(QStringLiteral("Incoming Nmea Data:  Channel %1A and Channel %1B").arg(channel));
    setStatus(QString());
    s.NmeaMonitorRunning = true;
    m_stopRequested = false;
    m_released = false;
    m_silenceShown = false;
    m_ctx = &ctx;
    cmdNmeaDataFreeze->setEnabled(true);
    cmdNmeaDataResume->setEnabled(true);
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
            window->flushText();
            window->cmdNmeaDataFreeze->setEnabled(false);
            window->cmdNmeaDataResume->setEnabled(false);
        }
    } ended{this, s};
    try {
        if (!ctx.ensureConnected()) {
            // No instrument ("Can't find Corvane" answered No): nothing to show.
            hide();
            return;
        }
        // Cancel during the connection: command mode is left without entering the monitor.
        if (!m_stopRequested)
            link.SendByte(proto::kNmeaMonitorStart);
        m_lastAnswer = link.clock().now();
        while (!m_stopRequested) {
            if (s.NmeaMonitorRunning) {
                // Pause, Resume and Cancel act inside the poll's waits.
                poll(ctx, channel);
            } else {
                link.clock().waitUntil(link.clock().now() + kPausedSlice,
                                       [this, &s] { return m_stopRequested || s.NmeaMonitorRunning; });
            }
        }
        if (!m_released)
            leaveMonitorMode(ctx);
    } catch (const LinkLost &) {
        setStatus(QStringLiteral("Monitoring stopped: the connection to the instrument was lost."));
        throw;
    }
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

void frmNmeaData::stopAndRelease()
{
    if (m_ctx && !m_released) {
        InstrumentContext &ctx = *m_ctx;
        stop();
        try {
            leaveMonitorMode(ctx);
        } catch (const LinkLost &) {
            // The port is already gone: nothing more can be sent.
        }
    }
    stop();
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
