#include "ui/dialogs/NmeaMonitorWindow.h"

#include "core/EditorState.h"
#include "core/Prompts.h"
#include "link/InstrumentContext.h"
#include "link/OperationRunner.h"
#include "link/SerialLink.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
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

NmeaMonitorWindow::NmeaMonitorWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmNmeaData"));
    setWindowTitle(QStringLiteral("Incoming Nmea Data"));
    m_dataBox = new QPlainTextEdit(this);
    m_dataBox->setObjectName(QStringLiteral("txtNmeaData"));
    m_dataBox->setAccessibleName(QStringLiteral("Incoming NMEA data"));
    m_dataBox->setReadOnly(true);
    m_dataBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_dataBox->setMinimumSize(520, 160);
    m_pauseButton = button(this, "cmdNmeaDataFreeze", QStringLiteral("Pause"));
    m_resumeButton = button(this, "cmdNmeaDataResume", QStringLiteral("Resume"));
    m_cancelButton = button(this, "cmdNmeaDataCancel", QStringLiteral("Cancel"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pauseButton);
    buttons->addWidget(m_resumeButton);
    buttons->addWidget(m_cancelButton);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblNmeaDataStatus"));
    m_status->setAccessibleName(QStringLiteral("Monitor status"));
    m_status->setWordWrap(true);
    m_status->hide();
    m_refresh = new QTimer(this);
    m_refresh->setInterval(kRefreshInterval);
    connect(m_refresh, &QTimer::timeout, this, &NmeaMonitorWindow::flushText);
    m_intake = new QTimer(this);
    m_intake->setInterval(kRefreshInterval / 3);
    connect(m_intake, &QTimer::timeout, this, &NmeaMonitorWindow::takeIncoming);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_dataBox);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    connect(m_pauseButton, &QPushButton::clicked, this, &NmeaMonitorWindow::onNmeaDataFreezeClicked);
    connect(m_resumeButton, &QPushButton::clicked, this, &NmeaMonitorWindow::onNmeaDataResumeClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &NmeaMonitorWindow::onNmeaDataCancelClicked);
}

void NmeaMonitorWindow::appendReceived(char c)
{
    m_text += QLatin1Char(c);
    m_pending += QLatin1Char(c);
    if (m_text.size() > kMaxCharacters)
        m_text = m_text.right(kMaxCharacters);
    if (!m_refresh->isActive())
        m_refresh->start();
}

void NmeaMonitorWindow::flushText()
{
    m_refresh->stop();
    if (m_pending.isEmpty())
        return;
    // Appended, and the oldest characters taken off the front, instead of setting the
    // whole text again for every character.
    const bool whole = m_pending.size() >= kMaxCharacters;
    const QString added = shownText(whole ? m_text : m_pending);
    m_pending.clear();
    QTextCursor cursor(m_dataBox->document());
    if (whole) {
        m_dataBox->setPlainText(added);
    } else {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(added);
    }
    const int excess = m_dataBox->document()->characterCount() - 1 - int(shownText(m_text).size());
    if (excess > 0) {
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, excess);
        cursor.removeSelectedText();
    }
    m_dataBox->moveCursor(QTextCursor::End);
}

QString NmeaMonitorWindow::status() const
{
    return m_status->text();
}

void NmeaMonitorWindow::setStatus(const QString &text)
{
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
}

void NmeaMonitorWindow::received(char c)
{
    if (QThread::currentThread() == thread()) {
        appendReceived(c);
        return;
    }
    // Characters are gathered here and taken in by the window's refresh, so that a
    // thousand polls a second do not wake the window a thousand times.
    QMutexLocker lock(&m_incomingLock);
    m_incoming += QLatin1Char(c);
}

void NmeaMonitorWindow::takeIncoming()
{
    QString incoming;
    {
        QMutexLocker lock(&m_incomingLock);
        incoming.swap(m_incoming);
    }
    for (QChar c : std::as_const(incoming))
        appendReceived(char(c.unicode()));
}

void NmeaMonitorWindow::statusChanged(const QString &status)
{
    if (QThread::currentThread() == thread())
        setStatus(status);
    else
        QMetaObject::invokeMethod(
            this, [this, status] { setStatus(status); }, Qt::QueuedConnection);
}

void NmeaMonitorWindow::begin(int channel)
{
    setWindowTitle(QStringLiteral("Incoming Nmea Data:  Channel %1A and Channel %1B").arg(channel));
    setStatus(QString());
    m_monitor.reset();
    m_monitoring = true;
    m_found = true;
    m_lost = false;
    m_pauseButton->setEnabled(true);
    m_resumeButton->setEnabled(true);
    m_intake->start();
    showPlaced();
}

void NmeaMonitorWindow::showPlaced()
{
    if (!isVisible() && place)
        place();
    show();
    raise();
}

void NmeaMonitorWindow::monitor(InstrumentContext &ctx, int channel)
{
    try {
        m_found = m_monitor.run(ctx, channel);
    } catch (const LinkLost &) {
        m_lost = true;
        throw;
    }
}

// However the monitor ended (stopped, no instrument, the port lost), it no longer runs.
void NmeaMonitorWindow::end()
{
    m_monitoring = false;
    m_intake->stop();
    takeIncoming();
    flushText();
    m_pauseButton->setEnabled(false);
    m_resumeButton->setEnabled(false);
    if (m_lost)
        setStatus(QStringLiteral("Monitoring stopped: the connection to the instrument was lost."));
    else if (!m_found)
        hide(); // "Can't find Corvane" answered No: nothing to show
}

void NmeaMonitorWindow::run(InstrumentContext &ctx)
{
    if (m_monitoring)
        return;
    const int channel = ctx.state.nmea.channel;
    begin(channel);
    struct Ended {
        NmeaMonitorWindow *window;
        ~Ended() { window->end(); }
    } ended{this};
    monitor(ctx, channel);
}

bool NmeaMonitorWindow::start(OperationRunner &runner, int channel)
{
    if (m_monitoring)
        return false;
    begin(channel);
    InstrumentContext &ctx = runner.context();
    const bool started = runner.start(
        [this, &ctx, channel] {
            runInstrumentOperation(ctx.link, ctx.state, ctx.prompts, ctx.view, [&] { monitor(ctx, channel); });
        },
        [this] { end(); });
    if (!started) {
        m_monitoring = false;
        hide();
    }
    return started;
}

void NmeaMonitorWindow::stop()
{
    m_monitor.stop();
    hide();
}

void NmeaMonitorWindow::onNmeaDataFreezeClicked()
{
    m_monitor.setPaused(true);
}

void NmeaMonitorWindow::onNmeaDataResumeClicked()
{
    m_monitor.setPaused(false);
}

void NmeaMonitorWindow::onNmeaDataCancelClicked()
{
    stop();
}

void NmeaMonitorWindow::closeEvent(QCloseEvent *event)
{
    stop();
    QWidget::closeEvent(event);
}
