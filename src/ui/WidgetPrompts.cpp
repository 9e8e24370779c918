#include "ui/WidgetPrompts.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace
{
QMessageBox::Icon toQt(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void WidgetPrompts::beep()
{
    QApplication::beep();
}

int WidgetPrompts::askYesNo(const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setAccessibleName(title);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? 6 : 7;
}

void WidgetPrompts::message(const QString &title, const QString &text, Icon icon)
{
    const QString shownTitle = title.isEmpty() ? applicationTitle() : title;
    QMessageBox box(toQt(icon), shownTitle, text, QMessageBox::Ok, m_parent);
    box.setAccessibleName(shownTitle);
    box.exec();
}

QString WidgetPrompts::inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                                std::optional<QPoint> twipsPos)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setAccessibleName(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setInputMode(QInputDialog::TextInput);
    if (twipsPos)
        twips::placeWindow(&dialog, twipsPos->y(), twipsPos->x());
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

QString WidgetPrompts::qtFilter(const QString &designedFilter)
{
    const int bar = designedFilter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return designedFilter;
    const QString description = designedFilter.left(bar).trimmed();
    const QString pattern = designedFilter.mid(bar + 1).trimmed();
    // Match the designed upper-case pattern and its lower-case form alike.
    return QStringLiteral("%1 (%2 %3)").arg(description, pattern, pattern.toLower());
}

QString WidgetPrompts::openFile(const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, title, QString(), qtFilter(filter));
}

QString WidgetPrompts::saveFile(const QString &title, const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, title, QString(), qtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString WidgetPrompts::chooseFolder(const QString &title)
{
    return QFileDialog::getExistingDirectory(m_parent, title);
}
