#include "ui/dialogs/frmNmeaData.h"

#include "core/EditorState.h"
#include "core/Prompts.h"
#include "link/InstrumentContext.h"
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

void frmNmeaData::received(char c)
{
    appendReceived(c);
}

void frmNmeaData::statusChanged(const QString &status)
{
    setStatus(status);
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
    NmeaMonitor monitor(ctx, *this);
    m_monitor = &monitor;
    m_ctx = &ctx;
    cmdNmeaDataFreeze->setEnabled(true);
    cmdNmeaDataResume->setEnabled(true);
    show();
    raise();

    // However the monitor ends (stopped, or the port lost), it is no longer running.
    struct Ended {
        frmNmeaData *window;
        EditorState &state;
        ~Ended()
        {
            state.NmeaMonitorRunning = false;
            window->m_ctx = nullptr;
            window->m_monitor = nullptr;
            window->flushText();
            window->cmdNmeaDataFreeze->setEnabled(false);
            window->cmdNmeaDataResume->setEnabled(false);
        }
    } ended{this, s};
    try {
        // No instrument ("Can't find Corvane" answered No): nothing to show.
        if (!monitor.run(channel))
            hide();
    } catch (const LinkLost &) {
        setStatus(QStringLiteral("Monitoring stopped: the connection to the instrument was lost."));
        throw;
    }
}

void frmNmeaData::stop()
{
    if (m_monitor) {
        m_monitor->stop();
        m_ctx->state.NmeaMonitorRunning = false;
    }
    hide();
}

void frmNmeaData::stopAndRelease()
{
    if (m_monitor)
        m_monitor->release();
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
