// Undo and redo of every change to the configuration image, in one place: the image
// is compared with its last snapshot whenever the editor falls idle, and a change
// becomes one undo step named after the field that changed (or "N changes").
#pragma once

#include "core/ConfigImage.h"

#include <QObject>
#include <QUndoStack>
#include <functional>

class QAction;

class ImageHistory : public QObject
{
    Q_OBJECT
public:
    // `restore` puts an image into the editor and redraws every window showing it;
    // `locked` is true while an instrument operation holds the image (nothing is
    // recorded, undo and redo are refused, until it ends).
    ImageHistory(EditorState &state, std::function<void(const ConfigImage &)> restore, std::function<bool()> locked,
                 QObject *parent = nullptr);
    // The stack empties itself as it goes and announces it: nothing may call back
    // into a window that is itself being destroyed.
    ~ImageHistory() override;

    QUndoStack &stack() { return m_stack; }
    // "Undo <what>" and "Redo <what>" with their shortcuts; enabled only while there
    // is something to undo or redo and the image is not locked.
    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }

    // Records the change since the last snapshot, if the user changed a value.
    void checkpoint();
    // Records the change just made as one step called `name` ("Open DEMO.CFG",
    // "New", "Download"); with `clean`, the image after it counts as saved; a
    // `source` says where the image now comes from ("DEMO.CFG"). While the image is
    // locked the name waits for the change the operation makes.
    void recordAs(const QString &name, bool clean, const QString &source = QString());
    // The image as it stands is the saved one (Save, Save As); a `savedTo` file is
    // where it now comes from.
    void markClean(const QString &savedTo = QString());
    // Starts again from the image as it stands, which comes from `source`: no undo
    // steps, nothing unsaved.
    void reset(const QString &source);

    // Where the image in the editor comes from: a file's name, kDownloaded or
    // kFactoryDefaults. Undo and redo put it back with the image.
    QString source() const { return m_source; }
    // Whether the image differs from the last New, Open, Save or Download.
    bool modified() const { return !m_stack.isClean(); }
    static const QString kDownloaded;
    static const QString kFactoryDefaults;

    void undo();
    void redo();
    // Whether an instrument operation holds the image now.
    bool locked() const { return m_locked(); }

signals:
    // True when the image differs from the last New, Open, Save or Download.
    void modifiedChanged(bool modified);
    void sourceChanged(const QString &source);

private:
    class Step;
    void apply(const ConfigImage &image, const QString &source);
    void setSource(const QString &source);
    void updateActions();

    EditorState &m_state;
    std::function<void(const ConfigImage &)> m_restore;
    std::function<bool()> m_locked;
    QUndoStack m_stack;
    ConfigImage m_snapshot;
    QString m_pendingName;
    QString m_pendingSource;
    QString m_source;
    bool m_pendingClean = false;
    bool m_restoring = false;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
};
