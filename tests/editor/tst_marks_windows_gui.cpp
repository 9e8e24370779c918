// Difference marks in the windows opened from the Edit menu and the NMEA selector: with
// the marks off an edit changes nothing about any control; from the factory defaults the
// edited control (a grid's point) is marked with the default's value, its put-back menu
// restores the default's bits as one step named after the field, and the window shows
// the value put back.
#include "MainWindowFixture.h"
#include "MarkChecks.h"

#include "core/ConfigImage.h"
#include "core/FieldNames.h"
#include "ui/dialogs/ListItemMarks.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/editor/FieldMarks.h"
#include "ui/editor/ImageHistory.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <optional>

namespace
{

// What a mark may change: every control's tooltip and description, and the grid's cells'.
QStringList looks(const MainWindow &w)
{
    QStringList all;
    for (const QWidget *c : w.findChildren<QWidget *>())
        all << c->objectName() + QLatin1Char('|') + c->toolTip() + QLatin1Char('|') + c->accessibleDescription();
    for (const QTableWidget *grid : w.findChildren<QTableWidget *>())
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                all << grid->item(r, c)->toolTip() + QLatin1Char('|') +
                           grid->item(r, c)->data(Qt::AccessibleDescriptionRole).toString();
    for (const QComboBox *list : w.findChildren<QComboBox *>())
        for (int i = 0; i < list->count(); ++i)
            all << list->objectName() + QLatin1Char('|') + list->itemData(i, Qt::ToolTipRole).toString();
    all.sort(); // raising a widget reorders its parent's children
    return all;
}

void type(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

// The next entry of a list, as the user picks it.
void pickNext(QComboBox *list)
{
    const int next = (list->currentIndex() + 1) % list->count();
    list->setCurrentIndex(next);
    emit list->activated(next);
}

// An edit in one of the windows: the control that shows it, the field it changes.
struct Edit {
    QWidget *control = nullptr; // the control that takes the put-back menu's keys
    QString field;
    std::function<void()> open;    // shows the window with the control
    std::function<void()> change;  // the user's edit
    std::function<QString()> said; // the marked thing's tooltip and description
    std::function<QString()> shown;
    QWidget *marked = nullptr;   // the widget that carries the mark
    QComboBox *choice = nullptr; // the list that chooses what the control shows
    int entry = -1;              // and its entry marked with it

    Edit(QWidget *c, const QString &f, std::function<void()> o, std::function<void()> ch)
        : control(c), field(f), open(std::move(o)), change(std::move(ch)), marked(c)
    {
    }
};

Edit editIn(MainWindowFixture &f, const QString &kind)
{
    MainWindow &w = *f.window;
    std::optional<Edit> made;
    if (kind == "damping") {
        auto *box = f.get<QLineEdit>("txtDampingValue");
        made.emplace(
            box, fields::dampingFieldName(2), [&f] { f.trigger("ViewDamping"); },
            [&f] {
                f.pick("cboDamping", 2);
                type(f.get<QLineEdit>("txtDampingValue"), "77");
            });
        made->choice = f.get<QComboBox>("cboDamping");
        made->entry = 2;
    } else if (kind == "time-of-day minutes") {
        made.emplace(
            f.get<QLineEdit>("txtTodMinutes"), fields::todAlarmFieldName(3, true), [&f] { f.trigger("ViewTodAlarms"); },
            [&f] {
                f.pick("cboTodAlarms", 2);
                type(f.get<QLineEdit>("txtTodMinutes"), "33");
            });
        made->choice = f.get<QComboBox>("cboTodAlarms");
        made->entry = 2;
    } else if (kind == "NMEA commas") {
        NmeaSelector *selector = w.nmeaSelector();
        made.emplace(
            f.get<QComboBox>("cmdNmeaCommas"), fields::nmeaFieldName(3, layout::NmeaPart::Commas),
            [selector] { selector->openForSource(3); },
            [&f] {
                pickNext(f.get<QComboBox>("cmdNmeaCommas"));
                f.click("cmdNmeaAccept");
            });
    } else if (kind == "sender type") {
        made.emplace(
            f.get<QComboBox>("cboFuelSender"), fields::senderTypeFieldName(senderlists::SenderList::Fuel),
            [&f] { f.trigger("Senders"); },
            [&f] {
                pickNext(f.get<QComboBox>("cboFuelSender"));
                f.click("cmdSendersExit");
            });
    } else { // a point of the curve grid
        auto *grid = f.get<QTableWidget>("MSFlexGrid1");
        made.emplace(
            grid, fields::curvePointFieldName(6, 3),
            [&f, grid] {
                f.click("cmdEditCurve6");
                grid->setCurrentCell(2, 1);
            },
            [grid] {
                QTest::keyClick(grid, Qt::Key_Backspace);
                QTest::keyClicks(grid, "9");
            });
        Edit &e = *made;
        e.said = [grid] {
            return grid->item(2, 0)->toolTip() + '|' + grid->item(2, 1)->data(Qt::AccessibleDescriptionRole).toString();
        };
        e.shown = [grid] { return grid->item(2, 1)->text(); };
        e.marked = f.get<QPushButton>("cmdEditCurve6");
        return e;
    }
    Edit &e = *made;
    QWidget *control = e.control;
    e.said = [control] { return control->toolTip() + '|' + control->accessibleDescription(); };
    e.shown = [control] {
        if (auto *list = qobject_cast<QComboBox *>(control))
            return list->currentText();
        return qobject_cast<QLineEdit *>(control)->text();
    };
    return e;
}

} // namespace

class TestWindowMarks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void markAndPutBack_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"damping", "time-of-day minutes", "NMEA commas", "sender type", "curve point"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void markAndPutBack()
    {
        QFETCH(QString, kind);
        MainWindowFixture f;
        MainWindow &w = *f.window;
        FieldMarks &marks = w.fieldMarks();
        Edit e = editIn(f, kind);
        const fields::Field &changed = field(e.field);
        const ConfigImage defaults = *marks.reference(FieldMarks::Mode::Defaults);

        // Off: the edit marks nothing.
        e.open();
        const QStringList unmarkedLooks = looks(w);
        const QString unmarked = e.said();
        const QString before = e.shown();
        const int steps = w.history().stack().count();
        e.change();
        QVERIFY(fields::differs(changed, ConfigImage::of(f.state()), defaults));
        QVERIFY(e.shown() != before);
        QCOMPARE(looks(w), unmarkedLooks);
        QCOMPARE(badges(w), 0);

        f.trigger("MarkFromDefaults");
        e.open(); // an edit may have closed the window
        QVERIFY(marks.isMarked(e.marked));
        const QString line = "Default: " + changed.text(defaults);
        QVERIFY2(e.said().contains(line), qPrintable(e.said() + " lacks " + line));
        // The list that chooses what the control shows marks the entry in its popup.
        const auto entryMarked = [&e] { return e.choice && ListItemMarks::isMarked(e.choice, e.entry); };
        QCOMPARE(entryMarked(), e.choice != nullptr);
        if (e.choice)
            QVERIFY(e.choice->itemData(e.entry, Qt::ToolTipRole).toString().contains(line));

        // Put back by the keyboard: the field's bits alone, one step named after it.
        const ConfigImage edited = ConfigImage::of(f.state());
        QTest::keyClick(e.control, Qt::Key_F10, Qt::ShiftModifier);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction *reset = menu->actions().at(0);
        QVERIFY(reset->isEnabled());
        reset->trigger();
        menu->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!e.control->isVisible())
            e.open(); // the main window's redraw closes the NMEA selector
        const ConfigImage after = ConfigImage::of(f.state());
        QVERIFY(!fields::differs(changed, after, defaults));
        for (const fields::Field &other : fields::table())
            QVERIFY2(other.derived || &other == &changed || !fields::differs(other, edited, after),
                     qPrintable(other.name));
        QCOMPARE(e.shown(), before);
        QVERIFY(!marks.isMarked(e.marked));
        QVERIFY(!entryMarked());
        QCOMPARE(e.said(), unmarked);
        QCOMPARE(w.history().stack().count(), steps + 2);
        QCOMPARE(w.history().stack().undoText(), e.field);

        w.history().undo();
        QVERIFY(marks.isMarked(e.marked));
        f.trigger("MarkOff");
        QCOMPARE(looks(w), unmarkedLooks);
        QCOMPARE(badges(w), 0);
    }
};

QTEST_MAIN(TestWindowMarks)
#include "tst_marks_windows_gui.moc"
