// The Corvane Display Configuration Editor program.
#include "config/Prompts.h"
#include "editor/frmMain.h"
#include "link/Clock.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane Display Configuration Editor"));
    QApplication::setOrganizationName(QStringLiteral("Halvane"));
    // Closing the main window runs the shutdown procedure, which ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    WidgetPrompts prompts;
    SteadyClock clock;
    frmMain window(prompts, clock, QCoreApplication::applicationDirPath());
    prompts.setParent(&window);
    window.show();
    return app.exec();
}
