// Every window's layout: nothing overlaps or is cut off, every control has a name and is reached with Tab, and
// the windows that open beside another leave it, and the control in use, uncovered.
#include "MainWindowFixture.h"
#include "ui/editor/InstrumentController.h"

#include "core/ConfigFile.h"
#include "core/Prompts.h"
#include "ui/AboutWindow.h"
#include "ui/ConnectingWindow.h"
#include "ui/LinkWindows.h"
#include "ui/PortChooser.h"
#include "ui/ProgressWindow.h"
#include "ui/TransferWarning.h"
#include "ui/WidgetPrompts.h"
#include "ui/dialogs/ChartWindow.h"
#include "ui/dialogs/DampingWindow.h"
#include "ui/dialogs/NmeaMonitorWindow.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/dialogs/SendersWindow.h"
#include "ui/dialogs/TakePartsWindow.h"
#include "ui/dialogs/TimeOfDayAlarmsWindow.h"
#include "ui/editor/ClickLabel.h"
#include "ui/editor/FaceView.h"
#include "ui/factory/FactoryWindow.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <functional>

namespace
{

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

bool isControl(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QLabel *>(w) || qobject_cast<const QGroupBox *>(w) ||
           qobject_cast<const QLineEdit *>(w) ||
           // A scroll area holding a widget is a container: its content is checked as any other.
           (qobject_cast<const QAbstractScrollArea *>(w) && !qobject_cast<const QScrollArea *>(w)) ||
           qobject_cast<const QProgressBar *>(w) || qobject_cast<const QAbstractSpinBox *>(w);
}

// Parents whose children lie on one another on purpose, and why.
const std::pair<const char *, const char *> kStackedOnPurpose[] = {
    {"picBrevo", "the icon pictures and display highlights lie on the picture of the instrument's face, "
                 "where the instrument lights them"},
};

bool stackedOnPurpose(const QWidget *parent)
{
    return std::any_of(std::begin(kStackedOnPurpose), std::end(kStackedOnPurpose),
                       [parent](const auto &entry) { return parent->objectName() == QLatin1String(entry.first); });
}

// A part of a control (a list's arrow, a table's scroll bar): the control answers for it.
bool isPartOfAControl(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (isControl(p) && !qobject_cast<const QGroupBox *>(p))
            return true;
    return false;
}

// What a label shows: rich text collapses blanks as a browser does.
QString shownText(const QLabel *label)
{
    if (label->textFormat() == Qt::RichText ||
        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()))) {
        QTextDocument doc;
        doc.setHtml(label->text());
        return doc.toPlainText();
    }
    return label->text();
}

QRect globalRect(const QWidget *w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// Long captions and values in the main window, so that the widest texts are on screen.
void showWidestState(MainWindowFixture &f)
{
    f.select(16);
    for (int i = 128; i <= 227; ++i)
        f.sys(i) = 0xFF;
    f.block(16)[28] = 200; // an "Other source" entry
    f.block(16)[88] = 10;  // one decimal place
    f.block(16)[108] = 10;
    for (int d : {89, 90, 91, 92, 109, 110, 111, 112})
        f.block(16)[d] = 0xFF;
    f.window->updateInstrumentDisplay();
    f.window->showAlarmLimits();
    f.get<ClickLabel>("lblConnected")->setText("Not Connected to Corvane");
    f.get<QLabel>("lblCommsPort")->setText("COM Port =  16");
    f.get<QLabel>("lblTessaroSN")->setText(" Corvane SN#:  4294967295");
    f.window->fitToScreen();
    f.window->move(0, 0);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
}

using Opener = std::function<QWidget *(MainWindowFixture &)>;

QWidget *sendersWithCurve(MainWindowFixture &f, int curve)
{
    f.window->findChild<QAction *>(QStringLiteral("Senders"))->trigger();
    f.get<QPushButton>(QStringLiteral("cmdEditCurve%1").arg(curve))->click();
    return f.window->sendersWindow();
}

// Each window as the user opens it.
const QList<std::pair<const char *, Opener>> &windows()
{
    static const QList<std::pair<const char *, Opener>> list = {
        {"main window", [](MainWindowFixture &f) -> QWidget * { return f.window.get(); }},
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
        {"factory",
         [](MainWindowFixture &f) -> QWidget * {
             f.state().factory.armed = true;
             f.window->instrumentArea().openFactoryWindowIfArmed();
             return f.window->factoryWindow();
         }},
    };
    return list;
}

QWidget *openWindow(MainWindowFixture &f, const QString &name)
{
    showWidestState(f);
    for (const auto &[rowName, open] : windows()) {
        if (name == QLatin1String(rowName)) {
            QWidget *w = open(f);
            if (w && w->isVisible())
                (void)QTest::qWaitForWindowExposed(w);
            return w;
        }
    }
    return nullptr;
}

void checkNoOverlapAndInside(QWidget *window)
{
    QList<QWidget *> parents = window->findChildren<QWidget *>();
    parents << window;
    for (QWidget *parent : parents) {
        if (!parent->isVisible() || isPartOfAControl(parent) ||
            (isControl(parent) && !qobject_cast<QGroupBox *>(parent)) || (parent->isWindow() && parent != window))
            continue;
        if (stackedOnPurpose(parent)) {
            // Its children still lie inside it.
            for (QWidget *c : parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
                QVERIFY2(!c->isVisible() || parent->rect().contains(c->geometry()),
                         qPrintable(c->objectName() + " leaves " + parent->objectName()));
            continue;
        }
        QList<QWidget *> children;
        for (QWidget *c : parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (c->isVisible() && !c->isWindow())
                children << c;
        // What a scroll area's viewport shows may be larger than the viewport: it scrolls.
        const bool scrolls = qobject_cast<QScrollArea *>(parent->parentWidget()) &&
                             static_cast<QScrollArea *>(parent->parentWidget())->viewport() == parent;
        for (int i = 0; i < children.size(); ++i) {
            QVERIFY2(scrolls || parent->rect().contains(children[i]->geometry()),
                     qPrintable(children[i]->objectName() + " leaves " + parent->objectName()));
            for (int j = i + 1; j < children.size(); ++j)
                QVERIFY2(!children[i]->geometry().intersects(children[j]->geometry()),
                         qPrintable(children[i]->objectName() + " overlaps " + children[j]->objectName()));
        }
    }
}

void checkNothingCutOff(QWidget *window)
{
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->window() != window || isPartOfAControl(w))
            continue;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            const QString shown = shownText(label);
            // A caption is one piece: no gap wide enough to read as two captions.
            QVERIFY2(label->wordWrap() || !shown.trimmed().contains(QLatin1String("   ")),
                     qPrintable(label->objectName() + " splits its caption: " + shown));
            if (label->wordWrap())
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                         qPrintable(label->objectName() + " cuts off " + shown));
            else
                for (const QString &line : shown.split(QLatin1Char('\n')))
                    QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= label->contentsRect().width(),
                             qPrintable(label->objectName() + " cuts off " + line));
        }
        if (auto *box = qobject_cast<QCheckBox *>(w))
            QVERIFY2(box->width() >= box->sizeHint().width(),
                     qPrintable(box->objectName() + " cuts off " + box->text()));
        else if (w->inherits("WrapButton"))
            QVERIFY2(w->width() >= w->minimumSizeHint().width() && w->height() >= w->minimumSizeHint().height(),
                     qPrintable(w->objectName() + " cuts off its caption"));
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 8 <= button->width(),
                     qPrintable(button->objectName() + " cuts off " + button->text()));
        if (auto *combo = qobject_cast<QComboBox *>(w))
            QVERIFY2(combo->width() >= combo->fontMetrics().horizontalAdvance(combo->currentText()) + 20,
                     qPrintable(combo->objectName() + " cuts off " + combo->currentText()));
    }
}

// Tab reaches the checked option of an exclusive group; the arrow keys reach the others.
bool groupIsReached(QWidget *c, const QList<QWidget *> &chain)
{
    auto *option = qobject_cast<QAbstractButton *>(c);
    if (!option || !option->group())
        return false;
    const QList<QAbstractButton *> members = option->group()->buttons();
    return std::any_of(members.begin(), members.end(), [&](QAbstractButton *b) { return chain.contains(b); });
}

void checkNamesAndTab(QWidget *window)
{
    QList<QWidget *> chain;
    QWidget *w = window;
    do {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            chain << w;
        w = w->nextInFocusChain();
    } while (w != window);
    int controls = 0;
    for (QWidget *c : window->findChildren<QWidget *>()) {
        if (!c->isVisible() || c->window() != window)
            continue;
        // A picture on the face is named like a control: it tells what the instrument shows.
        const bool picture = stackedOnPurpose(c) || stackedOnPurpose(c->parentWidget());
        if (!picture && (!isControl(c) || isPartOfAControl(c)))
            continue;
        ++controls;
        QVERIFY2(!accessibleName(c).trimmed().isEmpty(), qPrintable(c->objectName() + " has no accessible name"));
        const bool operable = qobject_cast<QAbstractButton *>(c) || qobject_cast<QComboBox *>(c) ||
                              qobject_cast<QLineEdit *>(c) || qobject_cast<QAbstractItemView *>(c);
        if (operable && c->isEnabled())
            QVERIFY2(chain.contains(c) || groupIsReached(c, chain),
                     qPrintable(c->objectName() + " is not reachable with Tab"));
    }
    QVERIFY(controls > 0);
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
    void everyWindow_data()
    {
        QTest::addColumn<QString>("window");
        for (const auto &row : windows())
            QTest::newRow(row.first) << QString::fromLatin1(row.first);
    }
    void everyWindow()
    {
        QFETCH(QString, window);
        MainWindowFixture f;
        QWidget *w = openWindow(f, window);
        QVERIFY(w && w->isVisible());
        checkNoOverlapAndInside(w);
        if (QTest::currentTestFailed())
            return;
        checkNothingCutOff(w);
        if (QTest::currentTestFailed())
            return;
        checkNamesAndTab(w);
    }

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
        QWidget *w = openWindow(f, window);
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

    void chartOpensBesideTheSenderWindow()
    {
        MainWindowFixture f;
        QWidget *chart = openWindow(f, QStringLiteral("chart"));
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
    // The offscreen screen is 800 x 600 unless told otherwise: give it the size the screenshots use, so
    // that there is room beside the main window for the windows it opens.
    // CORVANE_LAYOUT_SCREEN="1366x768" runs the test on a screen of another size (and
    // QT_SCALE_FACTOR at another scale).
    QTemporaryDir folder;
    const QList<QByteArray> pixels =
        qEnvironmentVariable("CORVANE_LAYOUT_SCREEN", QStringLiteral("1600x1200")).toLatin1().split('x');
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && folder.isValid() && pixels.size() == 2) {
        QFile config(folder.filePath(QStringLiteral("screen.json")));
        if (config.open(QIODevice::WriteOnly)) {
            config.write(R"({"screens": [{"name": "Screen", "x": 0, "y": 0, "width": )" + pixels[0] +
                         R"(, "height": )" + pixels[1] + R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            config.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
        }
    }
    QApplication app(argc, argv);
    TestWindowsLayout test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windows_layout_gui.moc"
