// The instrument archive's settings: kept or not, its folder, the workshop repository.
#pragma once

#include "archive/ArchiveSettings.h"

#include <QDialog>

class Prompts;
class QCheckBox;
class QLineEdit;

class ArchiveSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    ArchiveSettingsDialog(Prompts &prompts, const archive::Settings &settings, QWidget *parent = nullptr);

    archive::Settings settings() const;

private:
    Prompts &m_prompts;
    QCheckBox *m_keep;
    QLineEdit *m_folder;
    QLineEdit *m_workshop;
};
