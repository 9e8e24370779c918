// The compare window: every difference between two configuration images in the
// user's words, grouped, with a count per group; saved as a text report.
#pragma once

#include "core/ConfigImage.h"
#include "core/FieldTable.h"

#include <QWidget>
#include <vector>

class Prompts;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;

class CompareWindow : public QWidget
{
    Q_OBJECT
public:
    explicit CompareWindow(Prompts &prompts, QWidget *parent = nullptr);

    // Shows what changes from `before` to `after`, each named by its title (for
    // example "Editor" and the file's name). Curve points of both are shown in the
    // units that `units` (the editor's image) chooses, else those of `before`. The
    // window keeps its own copies.
    void compare(const ConfigImage &before, const QString &beforeTitle, const ConfigImage &after,
                 const QString &afterTitle, const ConfigImage *units = nullptr);

    // The report the Save button writes: a heading, then each group with its count
    // and one line per field ("name: old → new").
    QString reportText() const;
    int differenceCount() const { return int(m_differences.size()); }

public slots:
    void onSaveClicked();

private:
    void fill();
    const std::vector<fields::Line> &shownLines() const;

    Prompts &m_prompts;
    QLabel *m_titlesLabel;
    QRadioButton *m_differencesOption;
    QRadioButton *m_everythingOption;
    QTreeWidget *m_differenceTree;
    QPushButton *m_saveButton;
    QPushButton *m_closeButton;
    ConfigImage m_before, m_after, m_units;
    QString m_beforeTitle, m_afterTitle;
    std::vector<fields::Line> m_differences;
    mutable std::vector<fields::Line> m_everything; // built when first shown
};
