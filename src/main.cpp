// The Corvane Display Configuration Editor program.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Halvane Corvane Display Configuration Editor"));
    w.show();
    return app.exec();
}
