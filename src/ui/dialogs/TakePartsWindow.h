// File › Take Parts of a File…: the categories of the upload warning (and, for the
// display configurations, which of the sixteen) to take from another configuration
// file, with the compare window showing exactly what would change before "Apply".
#pragma once

#include "core/ConfigImage.h"
#include "core/ImageParts.h"

#include <QDialog>
#include <functional>

class CompareWindow;
class ImageHistory;
class Prompts;
class FileController;
class QCheckBox;
class QPushButton;

class TakePartsWindow : public QDialog
{
    Q_OBJECT
public:
    // `editor` is the image in the editor, `file` the one read from `fileTitle`.
    TakePartsWindow(Prompts &prompts, const ConfigImage &editor, const ConfigImage &file, const QString &fileTitle,
                    QWidget *parent = nullptr);

    fields::Parts parts() const;
    // The editor's image with the chosen parts taken from the file.
    const ConfigImage &result() const { return m_result; }

private:
    void update();

    ConfigImage m_editor, m_file, m_result;
    QString m_fileTitle;
    QCheckBox *m_categories[fields::kLastCategory + 1] = {};
    QCheckBox *m_configurations[17] = {};
    CompareWindow *m_compare;
    QPushButton *m_applyButton;
};

// Asks for a configuration file and shows the window for it; "Apply" puts the result
// into the editor through `restore` as one undo step "Take Parts of NAME.CFG".
void takePartsOfFile(FileController &files, Prompts &prompts, const EditorState &state, ImageHistory &history,
                     QWidget *window, std::function<void(const ConfigImage &)> restore);
