// MainWindow: the File menu's report (PDF) and pictures (PNG) of the configuration in the editor.
#include "ui/editor/MainWindow.h"

#include "core/ConfigImage.h"
#include "core/Prompts.h"
#include "render/Report.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace
{
QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}
} // namespace

void MainWindow::onExportReportTriggered()
{
    const QString title = QStringLiteral("Export Report");
    QString path = m_prompts.saveFile(QStringLiteral("Export the configuration report to file:"),
                                      QStringLiteral("PDF files (*.pdf)| *.pdf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    if (QFileInfo::exists(path) &&
        m_prompts.askYesNo(title,
                           QStringLiteral("%1 already exists.\r\nDo you want to replace it?").arg(shownPath(path)),
                           Prompts::Icon::Question) != kYes)
        return;

    // The file the configuration came from: the one last opened, else the editor's own.
    const QString recent = recentFiles().value(0);
    QString source = QFileInfo(recent.isEmpty() ? m_state.ConfigFileName : recent).fileName();
    if (isWindowModified())
        source += QStringLiteral(" (with changes not saved)");
    const report::Identity identity{source, QDateTime::currentDateTime(), m_state.SerialNumberText,
                                    m_state.SoftwareVersionText, m_state.HardwareVersionText};

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const report::Result result = report::writePdf(ConfigImage::of(m_state), identity, path);
    QGuiApplication::restoreOverrideCursor();
    if (!result.ok())
        m_prompts.message(title,
                          QStringLiteral("The report could not be written to\r\n%1\r\n%2.\r\n"
                                         "Any earlier file of that name was left unchanged.")
                              .arg(shownPath(path), result.error),
                          Prompts::Icon::Critical);
}

void MainWindow::onExportPicturesTriggered()
{
    const QString folder =
        m_prompts.chooseFolder(QStringLiteral("Export the pictures of the 16 display configurations to folder:"));
    if (folder.isEmpty())
        return;
    QStringList written;
    const QString problem = report::writePictures(ConfigImage::of(m_state), folder, &written);
    if (problem.isEmpty())
        return;
    const QString done = written.isEmpty() ? QStringLiteral("No picture was written.")
                                           : QStringLiteral("%1 to %2 were written; the others were not.")
                                                 .arg(report::pictureName(1), report::pictureName(int(written.size())));
    m_prompts.message(QStringLiteral("Export Pictures"),
                      QStringLiteral("A picture could not be written:\r\n%1.\r\n%2").arg(problem, done),
                      Prompts::Icon::Critical);
}
