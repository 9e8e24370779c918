#include "ui/editor/ImageHistory.h"

#include "core/FieldTable.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QKeySequence>
#include <QThread>

const QString ImageHistory::kDownloaded = QStringLiteral("Downloaded from Corvane");
const QString ImageHistory::kFactoryDefaults = QStringLiteral("Factory defaults");

// One undo step: the whole image before and after (about 8 KB each), and where each came from.
class ImageHistory::Step : public QUndoCommand
{
public:
    Step(ImageHistory &history, const ConfigImage &before, const ConfigImage &after, const QString &name)
        : QUndoCommand(name), m_history(history), m_before(before), m_after(after)
    {
    }
    QString m_sourceBefore, m_sourceAfter;
    int id() const override { return 1; }
    // Typing into one field (the damping value, a grid cell) is one step.
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const Step *>(other);
        if (m_named || next->m_named || next->text() != text() || fields::changeName(m_before, next->m_after) != text())
            return false;
        m_after = next->m_after;
        m_sourceAfter = next->m_sourceAfter;
        return true;
    }
    void undo() override { m_history.apply(m_before, m_sourceBefore); }
    void redo() override
    {
        if (m_first) {
            m_first = false; // the editor already shows the change
            return;
        }
        m_history.apply(m_after, m_sourceAfter);
    }
    bool m_named = false;

private:
    ImageHistory &m_history;
    ConfigImage m_before, m_after;
    bool m_first = true;
};

ImageHistory::~ImageHistory()
{
    disconnect(&m_stack, nullptr, this, nullptr);
    m_stack.blockSignals(true);
}

ImageHistory::ImageHistory(EditorState &state, std::function<void(const ConfigImage &)> restore,
                           std::function<bool()> locked, QObject *parent)
    : QObject(parent), m_state(state), m_restore(std::move(restore)), m_locked(std::move(locked)),
      m_snapshot(ConfigImage::of(state))
{
    m_undo = new QAction(QStringLiteral("&Undo"), this);
    m_undo->setObjectName(QStringLiteral("EditUndo"));
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo = new QAction(QStringLiteral("&Redo"), this);
    m_redo->setObjectName(QStringLiteral("EditRedo"));
    m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(m_undo, &QAction::triggered, this, &ImageHistory::undo);
    connect(m_redo, &QAction::triggered, this, &ImageHistory::redo);
    // The window enables every menu item again after an operation: only what can be
    // undone stays enabled.
    connect(m_undo, &QAction::enabledChanged, this, &ImageHistory::updateActions);
    connect(m_redo, &QAction::enabledChanged, this, &ImageHistory::updateActions);
    connect(&m_stack, &QUndoStack::indexChanged, this, &ImageHistory::updateActions);
    connect(&m_stack, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
    // Each time the editor has finished what the user did and waits for more.
    if (auto *dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &ImageHistory::checkpoint);
    updateActions();
}

void ImageHistory::checkpoint()
{
    if (m_restoring || m_locked())
        return;
    const ConfigImage now = ConfigImage::of(m_state);
    const QString source = m_pendingSource.isEmpty() ? m_source : m_pendingSource;
    QString name = now == m_snapshot ? QString() : fields::changeName(m_snapshot, now);
    const bool named = !m_pendingName.isEmpty() && now != m_snapshot;
    if (named)
        name = m_pendingName;
    const bool clean = m_pendingClean;
    m_pendingName.clear();
    m_pendingSource.clear();
    m_pendingClean = false;
    if (name.isEmpty()) {
        // Nothing changed (a cancelled download: neither name nor source is kept for
        // later), or only checksums, the configuration shown, the upload counter: no
        // step of their own.
        if (now != m_snapshot) {
            if (clean)
                m_stack.setClean();
            setSource(source);
        }
        m_snapshot = now;
        return;
    }
    auto *step = new Step(*this, m_snapshot, now, name);
    step->m_named = named;
    step->m_sourceBefore = m_source;
    step->m_sourceAfter = source;
    m_snapshot = now;
    m_stack.push(step);
    setSource(source);
    if (clean)
        m_stack.setClean();
}

void ImageHistory::recordAs(const QString &name, bool clean, const QString &source)
{
    m_pendingName = name;
    m_pendingClean = clean;
    m_pendingSource = source;
    checkpoint();
}

void ImageHistory::markClean(const QString &savedTo)
{
    checkpoint();
    m_stack.setClean();
    if (!savedTo.isEmpty())
        setSource(savedTo);
}

void ImageHistory::reset(const QString &source)
{
    m_stack.clear();
    m_snapshot = ConfigImage::of(m_state);
    m_pendingName.clear();
    m_pendingSource.clear();
    m_pendingClean = false;
    setSource(source);
}

void ImageHistory::setSource(const QString &source)
{
    if (source == m_source)
        return;
    m_source = source;
    emit sourceChanged(source);
}

void ImageHistory::undo()
{
    if (m_locked())
        return;
    checkpoint();
    m_stack.undo();
}

void ImageHistory::redo()
{
    if (m_locked())
        return;
    checkpoint();
    m_stack.redo();
}

void ImageHistory::apply(const ConfigImage &image, const QString &source)
{
    m_restoring = true;
    m_restore(image);
    m_restoring = false;
    m_snapshot = ConfigImage::of(m_state);
    setSource(source);
}

void ImageHistory::updateActions()
{
    const bool locked = m_locked();
    const bool canUndo = m_stack.canUndo() && !locked;
    const bool canRedo = m_stack.canRedo() && !locked;
    m_undo->setText(canUndo ? QStringLiteral("&Undo %1").arg(m_stack.undoText()) : QStringLiteral("&Undo"));
    m_redo->setText(canRedo ? QStringLiteral("&Redo %1").arg(m_stack.redoText()) : QStringLiteral("&Redo"));
    // A menu item's accessible name is its text; the status tip says it in full.
    m_undo->setStatusTip(canUndo ? QStringLiteral("Undo the change of %1").arg(m_stack.undoText()) : QString());
    m_redo->setStatusTip(canRedo ? QStringLiteral("Redo the change of %1").arg(m_stack.redoText()) : QString());
    if (m_undo->isEnabled() != canUndo)
        m_undo->setEnabled(canUndo);
    if (m_redo->isEnabled() != canRedo)
        m_redo->setEnabled(canRedo);
}
