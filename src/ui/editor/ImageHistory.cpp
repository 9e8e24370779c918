#include "ui/editor/ImageHistory.h"

#include "core/FieldTable.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QKeySequence>
#include <QThread>

// One undo step: the whole image before and after (about 8 KB each).
class ImageHistory::Step : public QUndoCommand
{
public:
    Step(ImageHistory &history, const ConfigImage &before, const ConfigImage &after, const QString &name)
        : QUndoCommand(name), m_history(history), m_before(before), m_after(after)
    {
    }
    int id() const override { return 1; }
    // Typing into one field (the damping value, a grid cell) is one step.
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const Step *>(other);
        if (m_named || next->m_named || next->text() != text() || fields::changeName(m_before, next->m_after) != text())
            return false;
        m_after = next->m_after;
        return true;
    }
    void undo() override { m_history.apply(m_before); }
    void redo() override
    {
        if (m_first) {
            m_first = false; // the editor already shows the change
            return;
        }
        m_history.apply(m_after);
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
    if (now == m_snapshot) {
        // Nothing changed (a cancelled download): the name is not kept for later.
        m_pendingName.clear();
        m_pendingClean = false;
        return;
    }
    QString name = fields::changeName(m_snapshot, now);
    const bool named = !m_pendingName.isEmpty();
    if (named)
        name = m_pendingName;
    const bool clean = m_pendingClean;
    m_pendingName.clear();
    m_pendingClean = false;
    if (name.isEmpty()) {
        // Checksums, the configuration shown, the upload counter: no step of their own.
        m_snapshot = now;
        if (clean)
            m_stack.setClean();
        return;
    }
    auto *step = new Step(*this, m_snapshot, now, name);
    step->m_named = named;
    m_snapshot = now;
    m_stack.push(step);
    if (clean)
        m_stack.setClean();
}

void ImageHistory::recordAs(const QString &name, bool clean)
{
    m_pendingName = name;
    m_pendingClean = clean;
    checkpoint();
}

void ImageHistory::markClean()
{
    checkpoint();
    m_stack.setClean();
}

void ImageHistory::reset()
{
    m_stack.clear();
    m_snapshot = ConfigImage::of(m_state);
    m_pendingName.clear();
    m_pendingClean = false;
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

void ImageHistory::apply(const ConfigImage &image)
{
    m_restoring = true;
    m_restore(image);
    m_restoring = false;
    m_snapshot = ConfigImage::of(m_state);
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
