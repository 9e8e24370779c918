// The Corvane Display Configuration Editor program.
#include "core/Prompts.h"
#include "link/Clock.h"
#include "ui/WidgetPrompts.h"
#include "ui/editor/FileController.h"
#include "ui/editor/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>

namespace
{
// For corvane-bench only (CORVANE_STARTUP_PROBE set): prints the monotonic time of
// the main window's first show event and ends the program.
class StartupProbe : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !m_shown) {
            m_shown = true;
            using namespace std::chrono;
            std::printf("first-show %.6f\n", duration<double>(steady_clock::now().time_since_epoch()).count());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_shown = false;
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane Display Configuration Editor"));
    QApplication::setOrganizationName(QStringLiteral("Halvane"));
    // The installed desktop entry, so that a desktop shows the program's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.halvane.CorvaneEditor"));
    // Closing the main window runs the shutdown procedure, which ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Edits the configuration of a Corvane display."));
    options.addHelpOption();
    options.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A configuration file (.CFG) to open."),
                                  QStringLiteral("[FILE.CFG]"));
    options.process(app);

    WidgetPrompts prompts;
    DeadlineClock clock;
    MainWindow window(prompts, clock, QCoreApplication::applicationDirPath());
    prompts.setParent(&window);
    StartupProbe probe;
    if (qEnvironmentVariableIsSet("CORVANE_STARTUP_PROBE"))
        window.installEventFilter(&probe);
    window.show();
    // A file named on the command line opens as Open would open it, once the window shows.
    if (!options.positionalArguments().isEmpty()) {
        const QString path = options.positionalArguments().constFirst();
        QTimer::singleShot(0, &window, [&window, path] { window.openCommandLineFile(path); });
    }
    return app.exec();
}
