// MainWindow: the difference marks, where their references come from, the View menu's
// choice of reference and the controls of the main window that carry marks.
#include "ui/editor/MainWindow.h"

#include "core/FieldNames.h"
#include "ui/editor/FaceController.h"
#include "ui/editor/FieldMarks.h"
#include "ui/editor/FileController.h"
#include "ui/editor/InstrumentController.h"
#include "ui/editor/SettingsMenu.h"
#include "ui/editor/SourcesController.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

void MainWindow::createMarks()
{
    m_marks = new FieldMarks(
        m_state, *m_image, *m_history, [this](const ConfigImage &image) { restoreImage(image); }, this);
    m_file->onFileImage = [this] { m_marks->setSavedImage(ConfigImage::of(m_state)); };
    m_instrument->onInstrumentImage = [this](const ConfigImage &image, const ImageAreas &known) {
        m_marks->setInstrumentImage(image, known);
    };
}

void MainWindow::connectMarkModes(QMenu *marksMenu)
{
    auto *group = new QActionGroup(marksMenu);
    const QList<QAction *> items = marksMenu->actions(); // in the order of FieldMarks::Mode
    for (QAction *item : items) {
        item->setCheckable(true);
        group->addAction(item);
    }
    items.first()->setChecked(true);
    connect(m_marks, &FieldMarks::modeChanged, this,
            [items](FieldMarks::Mode mode) { items[int(mode)]->setChecked(true); });
    // Greyed until an image was read from the instrument; the window enables every menu
    // item again after an operation.
    QAction *fromInstrument = items.last();
    const auto grey = [this, fromInstrument] {
        if (fromInstrument->isEnabled() && !m_marks->hasInstrumentImage())
            fromInstrument->setEnabled(false);
    };
    connect(fromInstrument, &QAction::enabledChanged, this, grey);
    connect(m_marks, &FieldMarks::instrumentImageChanged, this, [fromInstrument] { fromInstrument->setEnabled(true); });
    grey();
}

void MainWindow::attachMarks()
{
    m_face->setFieldMarks(m_marks);
    m_sources->setFieldMarks(m_marks);
    m_settings->attachMarks(*m_marks);
    // The Edit menu's entries of the settings and of the windows that edit a group.
    const std::pair<const char *, QStringList> items[] = {
        {"ViewMaintenanceAlarm", {QStringLiteral("Engine maintenance alarm")}},
        {"FuelTankSize", {QStringLiteral("Fuel tank size")}},
        {"Tank2Size", {QStringLiteral("2n'd tank size")}},
        {"ViewDamping", fields::groupFieldNames(fields::kDamping)},
        {"ViewTodAlarms", fields::groupFieldNames(fields::kTimeOfDayAlarms)},
        {"Senders", fields::groupFieldNames(fields::kSenderCurves)},
    };
    for (const auto &[name, fieldNames] : items)
        if (auto *item = m_editMenu->findChild<QAction *>(QLatin1String(name)))
            m_marks->attach(item, fieldNames);
}
