// Shows the main window in a chosen state, for screenshots of the layout (tools/screenshots.sh).
#include "NmeaStream.h"
#include "archive/Archive.h"
#include "archive/ArchiveSettings.h"
#include "core/ConfigImage.h"
#include "core/Defaults.h"
#include "core/DisplayTable.h"
#include "core/ImageModel.h"
#include "core/Prompts.h"
#include "link/Clock.h"
#include "ui/LinkWindows.h"
#include "ui/TransferWarning.h"
#include "ui/WidgetPrompts.h"
#include "ui/dialogs/NmeaMonitorWindow.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/dialogs/SendersWindow.h"
#include "ui/dialogs/TakePartsWindow.h"
#include "ui/dialogs/TimeOfDayAlarmsWindow.h"
#include "ui/editor/FieldMarks.h"
#include "ui/editor/FileController.h"
#include "ui/editor/InstrumentController.h"
#include "ui/editor/MainWindow.h"
#include "ui/editor/SourcesController.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

namespace
{
// A few instruments' entries in an archive in `folder`, which the settings then name.
void fillArchive(const QString &folder)
{
    archive::Settings settings;
    settings.folder = folder;
    settings.save();
    const archive::Archive a(folder);
    EditorState state;
    writeDefaultsToRam(state);
    archive::Parts settingsOnly;
    settingsOnly.settings = true;
    const QDateTime start(QDate(2026, 11, 3), QTime(8, 40), Qt::UTC);
    const QStringList serials{QStringLiteral("61231042"), QStringLiteral("80315012"), QStringLiteral("0")};
    const QStringList operations{archive::operation::kUpload, archive::operation::kDownload,
                                 archive::operation::kCompare, archive::operation::kUpload,
                                 archive::operation::kVerify};
    for (int i = 0; i < 15; ++i) {
        archive::Observation o;
        o.identity.serialNumber = serials.at(i % 3);
        o.identity.softwareVersion = QStringLiteral("2.14");
        o.identity.hardwareVersion = QStringLiteral("C");
        o.identity.productCode = 3;
        o.operation = operations.at(i % 5);
        o.outcome = i == 9 ? archive::Outcome::Cancelled : archive::Outcome::Completed;
        o.known = o.operation == archive::operation::kDownload ? settingsOnly : archive::Parts::all();
        state.configBlock[1][28] = quint8(20 + i % 4);
        o.image = ConfigImage::of(state);
        o.time = start.addDays(i * 3).addSecs(i * 731);
        o.user = i % 2 ? QStringLiteral("service") : QStringLiteral("annemarie.vandenberg");
        o.host = QStringLiteral("workshop-bench-2");
        a.record(o);
    }
}

// Opens one of the other windows as a user would, with something in it worth seeing; the
// sender window with user curve `curve` loaded (0: none).
void showWindow(MainWindow &w, const QString &name, int curve)
{
    if (name == QLatin1String("senders") || name == QLatin1String("chart")) {
        w.findChild<QAction *>("DegC")->trigger();
        w.findChild<QAction *>(QStringLiteral("Senders"))->trigger();
        if (auto *edit = w.sendersWindow()->findChild<QPushButton *>(QStringLiteral("cmdEditCurve%1").arg(curve)))
            edit->click();
        if (name == QLatin1String("chart"))
            w.sendersWindow()->findChild<QPushButton *>(QStringLiteral("cmdSendersView"))->click();
    } else if (name.startsWith(QLatin1String("damping"))) {
        w.findChild<QAction *>(QStringLiteral("ViewDamping"))->trigger();
        if (name == QLatin1String("damping-list")) // its list open
            QTimer::singleShot(300, &w, [&w] { w.findChild<QComboBox *>(QStringLiteral("cboDamping"))->showPopup(); });
    } else if (name.startsWith(QLatin1String("tod"))) {
        w.state().systemBlock[50] = 6;
        w.state().systemBlock[51] = 30;
        w.findChild<QAction *>(QStringLiteral("ViewTodAlarms"))->trigger();
        auto *alarms = w.todAlarmsWindow()->findChild<QComboBox *>(QStringLiteral("cboTodAlarms"));
        alarms->setCurrentIndex(2);
        if (name == QLatin1String("tod-list"))
            QTimer::singleShot(300, alarms, [alarms] { alarms->showPopup(); });
    } else if (name == QLatin1String("nmea-data")) {
        NmeaMonitorWindow *monitor = w.nmeaMonitor();
        monitor->setWindowTitle(QStringLiteral("Incoming Nmea Data:  Channel 1A and Channel 1B"));
        NmeaStream stream(1);
        for (int i = 0; i < 400; ++i)
            monitor->appendReceived(stream.next());
        monitor->showPlaced(); // as "View Data" opens it
    } else if (name == QLatin1String("comms")) {
        w.linkWindows().showPortChooser();
    } else if (name == QLatin1String("progress")) {
        w.linkWindows().setProgress(7);
        w.linkWindows().showProgress();
    } else if (name == QLatin1String("about")) {
        w.findChild<QAction *>(QStringLiteral("About"))->trigger();
    } else if (name == QLatin1String("factory")) {
        w.state().factory.armed = true;
        w.instrumentArea().openFactoryWindowIfArmed();
    } else if (name == QLatin1String("warning")) {
        w.warningWindow()->show();
    } else if (name == QLatin1String("connecting")) {
        w.linkWindows().setConnectingCaption(QStringLiteral("Connecting to Corvane on COM1"));
        w.linkWindows().showConnecting();
    } else if (name == QLatin1String("history")) {
        w.findChild<QAction *>(QStringLiteral("InstrumentHistory"))->trigger();
    } else if (name == QLatin1String("compare")) {
        ConfigImage changed = ConfigImage::of(w.state());
        changed.system[21] = 0;
        changed.blocks[1][28] = 25;
        w.fileArea().showComparison(ConfigImage::of(w.state()), QStringLiteral("Editor"), changed,
                                    QStringLiteral("DEMO.CFG"));
    } else if (name == QLatin1String("take-parts")) {
        static WidgetPrompts prompts;
        ConfigImage file = ConfigImage::of(w.state());
        file.system[21] = 0;
        file.blocks[1][28] = 25;
        auto *dialog = new TakePartsWindow(prompts, ConfigImage::of(w.state()), file, QStringLiteral("DEMO.CFG"), &w);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    }
}
// The Edit menu with its Tachometer and Pulley Ratio submenus open.
void popUpEditMenu(MainWindow &w)
{
    auto *edit = w.findChild<QMenu *>(QStringLiteral("mnuEdit"));
    auto *tachometer = w.findChild<QMenu *>(QStringLiteral("Tacho"));
    auto *ratioMenu = w.findChild<QMenu *>(QStringLiteral("PullyRatio"));
    const QPoint at =
        w.mapToGlobal(QPoint(w.menuBar()->actionGeometry(edit->menuAction()).left(), w.menuBar()->height()));
    edit->popup(at);
    const QRect tacho = edit->actionGeometry(tachometer->menuAction());
    tachometer->popup(edit->mapToGlobal(tacho.topRight()));
    const QRect ratio = tachometer->actionGeometry(ratioMenu->menuAction());
    ratioMenu->popup(tachometer->mapToGlobal(ratio.topRight()));
}

// The View menu with its Mark Differences submenu open.
void popUpViewMenu(MainWindow &w)
{
    auto *view = w.findChild<QMenu *>(QStringLiteral("mnuView"));
    auto *marks = w.findChild<QMenu *>(QStringLiteral("MarkDifferences"));
    view->popup(w.mapToGlobal(QPoint(w.menuBar()->actionGeometry(view->menuAction()).left(), w.menuBar()->height())));
    marks->popup(view->mapToGlobal(view->actionGeometry(marks->menuAction()).topRight()));
}

// A few edits (an icon, a data source, a bar limit, the temperature units, the fuel
// tank), then the marks from the factory defaults.
void markDifferences(MainWindow &w)
{
    w.findChild<QCheckBox *>(QStringLiteral("ChkIconsUpperSpeed"))->click();
    auto *list = w.findChild<QComboBox *>(QLatin1String(displays::kDisplays[1].list));
    list->setCurrentIndex(3);
    w.image().setBarLimit(w.image().shownConfiguration(), 3, ImageModel::Limit::High, 1234);
    w.image().setFuelTankSize(1234);
    w.findChild<QAction *>(QStringLiteral("DegC"))->trigger();
    w.image().setDataSource(3, 0, 24);
    w.showAlarmLimits();
    // One value of each window the Edit menu opens, and of NMEA input #2B.
    w.image().setDamping(0, 77);
    w.image().setCurveOhms(6, 3, 99.5f);
    w.image().setSenderType(senderlists::SenderList::Fuel,
                            quint8(senderlists::typeForPosition(senderlists::SenderList::Fuel, 2)));
    positionSenderLists(w.state());
    w.image().setNmeaSelection(4, layout::NmeaPart::Commas, 7);
    w.findChild<QAction *>(QStringLiteral("MarkFromDefaults"))->trigger();
}
} // namespace

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
        QStringLiteral("Pick NMEA input #2B for display n (1..5, 5 the right bar graph; opens the selector)."),
        QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption curve(QStringLiteral("curve"),
                                   QStringLiteral("The user curve the sender window shows: 6, 9, 16, 19, 25, "
                                                  "or 0 for none."),
                                   QStringLiteral("n"), QStringLiteral("6"));
    const QCommandLineOption at(QStringLiteral("at"), QStringLiteral("Move the main window to x,y first."),
                                QStringLiteral("x,y"));
    const QCommandLineOption highlight(QStringLiteral("highlight"), QStringLiteral("Show display 1's highlight."));
    const QCommandLineOption menu(QStringLiteral("edit-menu"),
                                  QStringLiteral("Open the Edit menu and its Tachometer, Pulley Ratio submenus."));
    const QCommandLineOption quitAfter(QStringLiteral("quit-after"), QStringLiteral("Quit after ms milliseconds."),
                                       QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption window(
        QStringLiteral("window"),
        QStringLiteral("Also show another window: senders, chart, damping, damping-list, tod, tod-list, "
                       "nmea-data, comms, about, warning, factory, history."),
        QStringLiteral("name"));
    const QCommandLineOption marks(QStringLiteral("marks"),
                                   QStringLiteral("Make a few edits and mark the differences from the defaults."));
    const QCommandLineOption viewMenu(QStringLiteral("view-menu"),
                                      QStringLiteral("Open the View menu and its Mark Differences submenu."));
    parser.addOptions({config, barChart, selector, curve, at, highlight, menu, quitAfter, window, marks, viewMenu});
    parser.process(app);

    QTemporaryDir folder;
    if (parser.value(window) == QLatin1String("history")) {
        // The archive and the settings naming it are the shot's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.filePath(QStringLiteral("settings")));
        fillArchive(folder.filePath(QStringLiteral("archive")));
    }
    WidgetPrompts prompts;
    DeadlineClock clock;
    MainWindow w(prompts, clock, folder.path());
    prompts.setParent(&w);
    w.showConfiguration(qBound(1, parser.value(config).toInt(), 16) - 1);
    if (parser.isSet(barChart))
        w.findChild<QAction *>("BarChart")->trigger();
    else
        w.findChild<QAction *>("Pointer")->trigger();
    if (parser.isSet(marks))
        markDifferences(w);
    w.show();
    if (parser.isSet(highlight)) {
        w.findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
        w.sourcesArea().setFocusFlag(0, true);
        w.onConnectionTimer();
    }
    if (parser.isSet(at)) {
        const QStringList xy = parser.value(at).split(QLatin1Char(','));
        w.move(xy.value(0).toInt(), xy.value(1).toInt());
    }
    if (parser.isSet(selector)) {
        const int display = qBound(1, parser.value(selector).toInt(), 5);
        // After the window manager has placed the main window.
        QTimer::singleShot(300, &w, [&w, display] {
            auto *list = w.findChild<QComboBox *>(QLatin1String(displays::kDisplays[display - 1].list));
            list->setCurrentIndex(4);
            emit list->activated(4);
        });
    }
    if (parser.isSet(viewMenu))
        QTimer::singleShot(800, &w, [&w] { popUpViewMenu(w); });
    if (parser.isSet(menu)) {
        QTimer::singleShot(800, &w, [&w] { popUpEditMenu(w); });
    }
    if (parser.isSet(window))
        QTimer::singleShot(
            300, &w, [&w, name = parser.value(window), n = parser.value(curve).toInt()] { showWindow(w, name, n); });
    const int ms = parser.value(quitAfter).toInt();
    if (ms > 0)
        QTimer::singleShot(ms, &w, [&w] {
            // No save question when the shot is taken: the window just goes.
            w.state().session.exitPrompted = 1;
            w.close();
        });
    return app.exec();
}
