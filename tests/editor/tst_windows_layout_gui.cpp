// The main window and the windows of the instrument link and the NMEA sources: nothing overlaps or is
// cut off, every control has a name and is reached with Tab, and the windows that open beside another
// leave it, and the control in use, uncovered.
#include "LayoutChecks.h"

#include "core/Prompts.h"
#include "ui/AboutWindow.h"
#include "ui/ConnectingWindow.h"
#include "ui/LinkWindows.h"
#include "ui/PortChooser.h"
#include "ui/ProgressWindow.h"
#include "ui/TransferWarning.h"
#include "ui/WidgetPrompts.h"
#include "ui/dialogs/NmeaMonitorWindow.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/editor/FaceView.h"

#include <QAction>

using namespace layout;

namespace
{

// Each window as the user opens it.
const Windows &windows()
{
    static const Windows list = {
        {"main window", [](MainWindowFixture &f) -> QWidget * { return f.window.get(); }},
        {"NMEA selector",
         [](MainWindowFixture &f) -> QWidget * {
             f.pick(QStringLiteral("ComboDisplay1"), 4);
             return f.window->nmeaSelector();
         }},
        {"NMEA monitor",
         [](MainWindowFixture &f) -> QWidget * {
             NmeaMonitorWindow *monitor = f.window->nmeaMonitor();
             monitor->setWindowTitle(QStringLiteral("Incoming Nmea Data:  Channel 2A and Channel 2B"));
             for (char c : QByteArray("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A"))
                 monitor->appendReceived(c);
             monitor->show();
             return monitor;
         }},
        {"port chooser",
         [](MainWindowFixture &f) -> QWidget * {
             f.window->linkWindows().showPortChooser();
             return f.window->linkWindows().comms();
         }},
        {"connecting",
         [](MainWindowFixture &f) -> QWidget * {
             f.window->linkWindows().showConnecting();
             return f.window->linkWindows().connecting();
         }},
        {"progress",
         [](MainWindowFixture &f) -> QWidget * {
             f.window->linkWindows().showProgress();
             return f.window->linkWindows().progress();
         }},
        {"transfer warning",
         [](MainWindowFixture &f) -> QWidget * {
             f.window->warningWindow()->show();
             return f.window->warningWindow();
         }},
        {"about",
         [](MainWindowFixture &f) -> QWidget * {
             f.window->findChild<QAction *>(QStringLiteral("About"))->trigger();
             return f.window->aboutWindow();
         }},
    };
    return list;
}

// The prompts' dialog that is up, once it is up.
void inspectModal(const std::function<void(QWidget *)> &inspect)
{
    QTimer::singleShot(0, [inspect] {
        if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            inspect(modal);
            modal->done(0);
        }
    });
}

} // namespace

class TestWindowsLayout : public QObject
{
    Q_OBJECT
private slots:
    void everyWindow_data() { addWindowRows(windows()); }
    void everyWindow() { checkWindow(windows()); }

    void mainWindowNamesAndReadingOrder()
    {
        MainWindowFixture f;
        showWidestState(f);
        QCOMPARE(accessibleName(f.get<FaceView>("picBrevo")->element(QStringLiteral("PicUpRightArrow"))),
                 QStringLiteral("Right Up Arrow"));
        QVERIFY(!accessibleName(f.get<QWidget>(QStringLiteral("shpCommsConnected"))).isEmpty());
        QList<QWidget *> chain;
        QWidget *w = f.get<ClickLabel>("lblConnected");
        do {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
                chain << w;
            w = w->nextInFocusChain();
        } while (w != f.get<ClickLabel>("lblConnected"));
        auto at = [&](const char *name) { return chain.indexOf(f.window->findChild<QWidget *>(name)); };
        QVERIFY(at("lblConnected") < at("cmdUpload"));
        QVERIFY(at("cmdDownload") < at("CmdConf1_0"));
        QVERIFY(at("CmdConf1_15") < at("cmdSetCurrentConfig"));
        QVERIFY(at("cmdClearConfig") < at("ChkIconsUpperSpeed"));
        QVERIFY(at("ChkIconsLowerRightFuel") < at("ComboDisplay1"));
        QVERIFY(at("ComboDisplay2") < at("cmdDD2HiAlarm"));
        QVERIFY(at("cmdDD2HiAlarm") < at("cmdDD2LoAlarm"));
        QVERIFY(at("cmdDD4LoBar") < at("ComboDisplayRightBar"));
    }

    void messageBoxesCarryTheirTitle_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("question") << "question"
                                  << "Quit Program";
        QTest::newRow("message") << "message"
                                 << "Save Configuration";
        QTest::newRow("prompt") << "prompt"
                                << "Enter Value";
    }
    void messageBoxesCarryTheirTitle()
    {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        WidgetPrompts prompts;
        QString name;
        QString interfaceName;
        inspectModal([&](QWidget *box) {
            name = box->accessibleName();
            interfaceName = accessibleName(box);
        });
        if (kind == QLatin1String("question"))
            prompts.askYesNo(title, QStringLiteral("Save changes?"), Prompts::Icon::Question);
        else if (kind == QLatin1String("message"))
            prompts.message(title, QStringLiteral("The file was saved."), Prompts::Icon::Information);
        else
            prompts.inputBox(QStringLiteral("Enter new High Alarm Value below:"), title, QStringLiteral("0"),
                             std::nullopt);
        QCOMPARE(name, title);
        QCOMPARE(interfaceName, title);
    }

    // The selector opens beside the data panel: never over the list the user picked in, nor over
    // "Clear Configuration", and wholly on the screen, also when the main window leaves no room at
    // its right.
    void selectorOpensBesideTheList_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("atRightEdge");
        for (const char *list :
             {"ComboDisplay1", "ComboDisplay2", "ComboDisplay3", "ComboDisplayLeftBar", "ComboDisplayRightBar"}) {
            QTest::newRow(list) << list << false;
            QTest::newRow(qPrintable(QStringLiteral("%1 at the right edge").arg(list))) << list << true;
        }
    }
    void selectorOpensBesideTheList()
    {
        QFETCH(QString, list);
        QFETCH(bool, atRightEdge);
        MainWindowFixture f;
        showWidestState(f);
        const QRect screen = f.window->screen()->availableGeometry();
        if (atRightEdge)
            f.window->move(screen.right() - f.window->frameGeometry().width() + 1, 0);
        f.pick(list, 3);
        NmeaSelector *selector = f.window->nmeaSelector();
        QVERIFY(selector->isVisible());
        const QRect placed = selector->frameGeometry();
        QVERIFY2(screen.contains(placed), qPrintable(QStringLiteral("selector off screen")));
        QVERIFY(!placed.intersects(globalRect(f.get<QComboBox>(list))));
        QVERIFY(!placed.intersects(globalRect(f.get<QPushButton>("cmdClearConfig"))));
    }

    // The main window opens fitting its screen, whatever its size and scale: where the
    // screen is smaller than the designed layout the content scrolls, and every control
    // comes into view when it takes the focus.
    void mainWindowFitsTheScreen()
    {
        MainWindowFixture f;
        f.window->show(); // as the program opens it
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const QRect screen = f.window->screen()->availableGeometry();
        QVERIFY2(screen.contains(f.window->frameGeometry()), qPrintable(QStringLiteral("%1 x %2 on a screen of %3 x %4")
                                                                            .arg(f.window->frameGeometry().width())
                                                                            .arg(f.window->frameGeometry().height())
                                                                            .arg(screen.width())
                                                                            .arg(screen.height())));
        QWidget *content = f.window->centralWidget();
        for (const char *name : {"cmdUpload", "cmdDownload", "CmdConf1_15", "cmdClearConfig", "ChkIconsLowerRightFuel",
                                 "cmdDD4HiBar", "cmdDD4LoBar", "cmdDD5HiBar", "cmdDD5LoBar"}) {
            QWidget *control = f.get<QWidget>(QLatin1String(name));
            control->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            const QRect shown(control->mapTo(content, QPoint(0, 0)), control->size());
            QVERIFY2(content->rect().contains(shown), name);
        }
    }

    // A dialog opens wholly on the screen, whatever its size and scale; where the screen is
    // view, and wholly on the screen.
    void monitorOpensBesideTheSelector()
    {
        MainWindowFixture f;
        showWidestState(f);
        f.pick(QStringLiteral("ComboDisplay2"), 4);
        NmeaSelector *selector = f.window->nmeaSelector();
        QVERIFY(selector->isVisible());
        NmeaMonitorWindow *monitor = f.window->nmeaMonitor();
        monitor->showPlaced();
        QVERIFY(QTest::qWaitForWindowExposed(monitor));
        QVERIFY(selector->screen()->availableGeometry().contains(monitor->frameGeometry()));
        QVERIFY(!monitor->frameGeometry().intersects(selector->frameGeometry()));
    }
};

int main(int argc, char *argv[])
{
    return runOnLayoutScreen<TestWindowsLayout>(argc, argv);
}

#include "tst_windows_layout_gui.moc"
