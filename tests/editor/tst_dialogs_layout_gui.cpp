// The editing dialogs (senders and their chart, damping, time-of-day alarms, Take Parts, factory)
// and the instrument history:
// nothing overlaps or is cut off, every control has a name and is reached with Tab, each lies on
// the screen, and the chart leaves the sender window uncovered.
#include "LayoutChecks.h"

#include "archive/Archive.h"
#include "archive/ArchiveSettings.h"
#include "core/ConfigFile.h"
#include "kit/ArchiveSamples.h"
#include "ui/dialogs/ChartWindow.h"
#include "ui/dialogs/DampingWindow.h"
#include "ui/dialogs/InstrumentHistoryWindow.h"
#include "ui/dialogs/SendersWindow.h"
#include "ui/dialogs/TakePartsWindow.h"
#include "ui/dialogs/TimeOfDayAlarmsWindow.h"
#include "ui/editor/InstrumentController.h"
#include "ui/factory/FactoryWindow.h"

#include <QAction>

using namespace layout;

namespace
{

QWidget *sendersWithCurve(MainWindowFixture &f, int curve)
{
    f.window->findChild<QAction *>(QStringLiteral("Senders"))->trigger();
    f.get<QPushButton>(QStringLiteral("cmdEditCurve%1").arg(curve))->click();
    return f.window->sendersWindow();
}

// Each window as the user opens it.
const Windows &windows()
{
    static const Windows list = {
        {"senders, no curve",
         [](MainWindowFixture &f) -> QWidget * {
             f.window->findChild<QAction *>(QStringLiteral("Senders"))->trigger();
             return f.window->sendersWindow();
         }},
        {"senders, curve 6 in deg C",
         [](MainWindowFixture &f) {
             f.window->findChild<QAction *>("DegC")->trigger();
             return sendersWithCurve(f, 6);
         }},
        {"senders, curve 9", [](MainWindowFixture &f) { return sendersWithCurve(f, 9); }},
        {"senders, curve 16", [](MainWindowFixture &f) { return sendersWithCurve(f, 16); }},
        {"senders, curve 19", [](MainWindowFixture &f) { return sendersWithCurve(f, 19); }},
        {"senders, curve 25", [](MainWindowFixture &f) { return sendersWithCurve(f, 25); }},
        {"chart",
         [](MainWindowFixture &f) -> QWidget * {
             sendersWithCurve(f, 16)->findChild<QPushButton *>(QStringLiteral("cmdSendersView"))->click();
             return f.window->sendersWindow()->chartWindow();
         }},
        {"damping",
         [](MainWindowFixture &f) -> QWidget * {
             f.trigger(QStringLiteral("ViewDamping"));
             return f.window->dampingWindow();
         }},
        {"time-of-day alarms",
         [](MainWindowFixture &f) -> QWidget * {
             f.trigger(QStringLiteral("ViewTodAlarms"));
             return f.window->todAlarmsWindow();
         }},
        {"take parts",
         [](MainWindowFixture &f) -> QWidget * {
             EditorState other;
             other.copyImageFrom(f.state());
             other.setSystemWord(180, 5);
             if (!writeConfigFile(other, f.folder.file(QStringLiteral("OTHER.CFG"))).isEmpty())
                 return nullptr;
             f.prompts.openFile(f.folder.file(QStringLiteral("OTHER.CFG")));
             f.window->findChild<QAction *>(QStringLiteral("TakeParts"))->trigger();
             auto *parts = f.window->findChild<TakePartsWindow *>();
             parts->findChild<QCheckBox *>(QStringLiteral("chkCategory10"))->click();
             return parts;
         }},
        {"instrument history",
         [](MainWindowFixture &f) -> QWidget * {
             archive::Settings settings;
             settings.folder = f.folder.file(QStringLiteral("archive"));
             settings.save();
             const archive::Archive a(settings.folder);
             const QDateTime time(QDate(2026, 5, 1), QTime(9, 0), Qt::UTC);
             for (int i = 0; i < 3; ++i)
                 a.record(kit::sampleObservation(QStringLiteral("4294967295"), archive::operation::kFactoryReset,
                                                 archive::Parts::all(), time.addDays(i), i));
             f.trigger(QStringLiteral("InstrumentHistory"));
             return f.window->findChild<InstrumentHistoryWindow *>();
         }},
        {"factory",
         [](MainWindowFixture &f) -> QWidget * {
             f.state().factory.armed = true;
             f.window->instrumentArea().openFactoryWindowIfArmed();
             return f.window->factoryWindow();
         }},
    };
    return list;
}

} // namespace

class TestDialogsLayout : public QObject
{
    Q_OBJECT
private slots:
    void everyWindow_data() { addWindowRows(windows()); }
    void everyWindow() { checkWindow(windows()); }

    // smaller than its content, the content scrolls and each box comes into view with the focus.
    void dialogFitsTheScreen_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("enabler"); // a box that enables the others
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("take parts") << "take parts"
                                    << "chkCategory1"
                                    << QStringList{"chkCategory14", "chkConfiguration1", "chkConfiguration16",
                                                   "chkCategory1",  "cmdApply",          "cmdCancel"};
    }
    void dialogFitsTheScreen()
    {
        QFETCH(QString, window);
        QFETCH(QString, enabler);
        QFETCH(QStringList, controls);
        MainWindowFixture f;
        QWidget *w = openWindow(windows(), f, window);
        QVERIFY(w && w->isVisible());
        if (!enabler.isEmpty())
            w->findChild<QAbstractButton *>(enabler)->click();
        const QRect screen = w->screen()->availableGeometry();
        QVERIFY2(screen.contains(w->frameGeometry()),
                 qPrintable(QStringLiteral("%1 x %2 at %3, %4 on a screen of %5 x %6")
                                .arg(w->frameGeometry().width())
                                .arg(w->frameGeometry().height())
                                .arg(w->frameGeometry().x())
                                .arg(w->frameGeometry().y())
                                .arg(screen.width())
                                .arg(screen.height())));
        for (const QString &name : controls) {
            auto *control = w->findChild<QWidget *>(name);
            QVERIFY2(control && control->isEnabled(), qPrintable(name));
            control->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            // Shown: inside the window and inside every scrolling viewport around it.
            for (QWidget *p = control->parentWidget(); p; p = p->parentWidget()) {
                const QRect shown(control->mapTo(p, QPoint(0, 0)), control->size());
                QVERIFY2(p->rect().contains(shown), qPrintable(name + " is out of view in " + p->objectName()));
                if (p == w)
                    break;
            }
        }
    }

    // The data monitor opens beside the sentence selector, whose lists and buttons stay in

    void chartOpensBesideTheSenderWindow()
    {
        MainWindowFixture f;
        QWidget *chart = openWindow(windows(), f, QStringLiteral("chart"));
        QVERIFY(chart && chart->isVisible());
        QVERIFY(chart->screen()->availableGeometry().contains(chart->frameGeometry()));
        const QRect senders = f.window->sendersWindow()->frameGeometry();
        const QRect screen = chart->screen()->availableGeometry();
        const QRect both = chart->frameGeometry().intersected(senders);
        // Where the screen has no room beside, below or above the sender window, the chart
        // covers no more than a strip of it.
        const QSize need = chart->frameGeometry().size() + QSize(8, 8);
        const bool room =
            screen.right() - senders.right() >= need.width() || senders.left() - screen.left() >= need.width() ||
            screen.bottom() - senders.bottom() >= need.height() || senders.top() - screen.top() >= need.height();
        QVERIFY2(room ? both.isEmpty() : both.height() * 5 < senders.height() || both.width() * 5 < senders.width(),
                 qPrintable(QStringLiteral("the chart covers %1 x %2").arg(both.width()).arg(both.height())));
    }
};

int main(int argc, char *argv[])
{
    return runOnLayoutScreen<TestDialogsLayout>(argc, argv);
}

#include "tst_dialogs_layout_gui.moc"
