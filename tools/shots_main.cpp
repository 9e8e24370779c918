// Shows the main window in a chosen state, for screenshots of the layout (tools/screenshots.sh).
#include "config/Prompts.h"
#include "dialogs/frmNmea.h"
#include "editor/frmMain.h"
#include "link/Clock.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the editor's main window for a screenshot."));
    parser.addHelpOption();
    const QCommandLineOption config(QStringLiteral("config"), QStringLiteral("Display configuration 1..16."),
                                    QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption barChart(QStringLiteral("bar-chart"), QStringLiteral("Bar graphs as bar charts."));
    const QCommandLineOption selector(
        QStringLiteral("selector"),
        QStringLiteral("Pick NMEA input #2B for the right bar graph (opens the selector)."));
    const QCommandLineOption highlight(QStringLiteral("highlight"), QStringLiteral("Show display 1's highlight."));
    const QCommandLineOption menu(QStringLiteral("edit-menu"),
                                  QStringLiteral("Open the Edit menu and its Tachometer, Pulley Ratio submenus."));
    const QCommandLineOption quitAfter(QStringLiteral("quit-after"), QStringLiteral("Quit after ms milliseconds."),
                                       QStringLiteral("ms"), QStringLiteral("0"));
    parser.addOptions({config, barChart, selector, highlight, menu, quitAfter});
    parser.process(app);

    QTemporaryDir folder;
    WidgetPrompts prompts;
    SteadyClock clock;
    frmMain w(prompts, clock, folder.path());
    prompts.setParent(&w);
    w.CmdConf1_Click(qBound(1, parser.value(config).toInt(), 16) - 1);
    if (parser.isSet(barChart))
        w.BarChart_Click();
    else
        w.Pointer_Click();
    w.show();
    if (parser.isSet(highlight)) {
        w.Timer1->stop();
        w.ComboDisplay1_GotFocus();
        w.Timer1_Timer();
    }
    if (parser.isSet(selector)) {
        w.ComboDisplayRightBar->setCurrentIndex(4);
        emit w.ComboDisplayRightBar->activated(4);
    }
    if (parser.isSet(menu)) {
        QTimer::singleShot(800, &w, [&w] {
            const QPoint at = w.mapToGlobal(
                QPoint(w.menuBar()->actionGeometry(w.mnuEdit->menuAction()).left(), w.menuBar()->height()));
            w.mnuEdit->popup(at);
            const QRect tacho = w.mnuEdit->actionGeometry(w.Tacho->menuAction());
            w.Tacho->popup(w.mnuEdit->mapToGlobal(tacho.topRight()));
            const QRect ratio = w.Tacho->actionGeometry(w.PullyRatio->menuAction());
            w.PullyRatio->popup(w.Tacho->mapToGlobal(ratio.topRight()));
        });
    }
    const int ms = parser.value(quitAfter).toInt();
    if (ms > 0)
        QTimer::singleShot(ms, &w, [&w] {
            // No save question when the shot is taken: the window just goes.
            w.state().ExitPrompted = 1;
            w.close();
        });
    return app.exec();
}
