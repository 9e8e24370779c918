// Difference marks through the real window: a control is marked while its field differs
// from the reference, follows undo and redo, puts the reference's bits back as one named
// step, and with the marks off nothing about any control changes.
#include "MainWindowFixture.h"
#include "MarkChecks.h"

#include "core/ConfigImage.h"
#include "core/FieldNames.h"
#include "core/ImageModel.h"
#include "ui/editor/FieldMarks.h"
#include "ui/editor/ImageHistory.h"
#include "ui/editor/InstrumentController.h"

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>

namespace
{

using Mode = FieldMarks::Mode;

// Everything a mark may change, of every control and menu item of the window.
QStringList looks(const MainWindow &w)
{
    QStringList all;
    for (const QWidget *c : w.findChildren<QWidget *>())
        all << c->objectName() + QLatin1Char('|') + c->toolTip() + QLatin1Char('|') + c->accessibleDescription();
    for (const QAction *a : w.findChildren<QAction *>())
        all << a->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|') + a->statusTip();
    return all;
}

// What the control says: a widget's tooltip and description, a menu item's text and status tip.
QString said(QObject *control)
{
    if (auto *w = qobject_cast<QWidget *>(control))
        return w->toolTip() + QLatin1Char('|') + w->accessibleDescription();
    auto *a = qobject_cast<QAction *>(control);
    return a->text() + QLatin1Char('|') + a->statusTip();
}

// Opens the control's put-back menu by the keyboard, as the user does.
QMenu *openPutBackMenu(QObject *control)
{
    if (auto *w = qobject_cast<QWidget *>(control)) {
        QTest::keyClick(w, Qt::Key_F10, Qt::ShiftModifier);
    } else {
        auto *item = qobject_cast<QAction *>(control);
        auto *menu = qobject_cast<QMenu *>(item->associatedObjects().first());
        menu->popup(QPoint(0, 0));
        menu->setActiveAction(item);
        QTest::keyClick(menu, Qt::Key_Menu);
    }
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

} // namespace

class TestMarks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void markFollowsTheValue_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("edit");
        const std::pair<Mode, const char *> modes[] = {
            {Mode::Defaults, "defaults"}, {Mode::SavedFile, "saved file"}, {Mode::Instrument, "instrument"}};
        for (const auto &[mode, name] : modes)
            for (const char *edit : {"icon box", "alarm limit", "bar limit", "menu setting"})
                QTest::addRow("%s, %s", name, edit) << int(mode) << QString::fromLatin1(edit);
    }

    void markFollowsTheValue()
    {
        QFETCH(int, mode);
        QFETCH(QString, edit);
        MainWindowFixture f;
        MainWindow &w = *f.window;
        FieldMarks &marks = w.fieldMarks();
        auto *fromInstrument = f.get<QAction>("MarkFromInstrument");
        QVERIFY(!fromInstrument->isEnabled());
        if (Mode(mode) == Mode::Instrument) {
            // A comparison read the whole instrument: it holds what the editor holds.
            OperationRecord read = OperationRecord::from(operationInput(f.state()));
            read.known = ImageAreas::all();
            read.instrumentImage = ConfigImage::of(f.state());
            w.instrumentArea().apply(Operation::Compare, read);
            QVERIFY(fromInstrument->isEnabled());
        }
        f.trigger(QStringList{"MarkOff", "MarkFromDefaults", "MarkFromSavedFile", "MarkFromInstrument"}[mode]);
        QCOMPARE(int(marks.mode()), mode);

        QObject *control = nullptr;
        QString name;
        std::function<void()> change;
        const int code = w.image().dataSource(1, 0);
        if (edit == "icon box") {
            control = f.get<QCheckBox>("ChkIconsUpperSpeed");
            name = "Configuration 1 · Icons · Upper SPEED";
            change = [&] { f.get<QCheckBox>("ChkIconsUpperSpeed")->click(); };
        } else if (edit == "alarm limit") {
            control = f.get<QPushButton>("cmdDD1HiAlarm");
            name = fields::alarmLimitFieldName(code, true);
            change = [&] {
                f.prompts.input("77");
                f.click("cmdDD1HiAlarm");
            };
        } else if (edit == "bar limit") {
            control = f.get<QLabel>("LblLeftBarUpperLimit");
            name = "Configuration 1 · Left Bar Graph Display · Upper Bar Limit";
            change = [&] {
                f.prompts.input("1234");
                f.click("cmdDD4HiBar");
            };
        } else {
            control = f.get<QAction>("TemperatureUnits");
            name = "Temperature units";
            change = [&] { f.trigger("DegC"); };
        }
        const fields::Field &changed = field(name);
        const ConfigImage reference = *marks.reference(Mode(mode));
        QVERIFY(!marks.isMarked(control));
        const QString unmarked = said(control);
        const int steps = w.history().stack().count();

        change();
        QVERIFY(fields::differs(changed, ConfigImage::of(f.state()), reference));
        QVERIFY(marks.isMarked(control));
        const QString line = fields::referenceName(fields::Reference(mode - 1)) + ": " + changed.text(reference);
        QVERIFY2(said(control).contains(line), qPrintable(said(control) + " lacks " + line));
        QCOMPARE(f.get<QPushButton>("CmdConf1_0")->toolTip().isEmpty(), edit != "icon box" && edit != "bar limit");

        w.history().undo();
        QVERIFY(!marks.isMarked(control));
        QCOMPARE(said(control), unmarked);
        QCOMPARE(badges(w), 0);
        w.history().redo();
        QVERIFY(marks.isMarked(control));

        // Put back from the reference: the field's bits alone, one step named after it.
        const ConfigImage edited = ConfigImage::of(f.state());
        QMenu *menu = openPutBackMenu(control);
        QVERIFY(menu);
        QAction *putBack = menu->actions().at(mode - 1);
        QVERIFY(putBack->isEnabled());
        putBack->trigger();
        const ConfigImage after = ConfigImage::of(f.state());
        QVERIFY(!fields::differs(changed, after, reference));
        for (const fields::Field &other : fields::table())
            QVERIFY2(other.derived || &other == &changed || !fields::differs(other, edited, after),
                     qPrintable(other.name));
        QVERIFY(!marks.isMarked(control));
        QCOMPARE(said(control), unmarked);
        QCOMPARE(w.history().stack().count(), steps + 2);
        QCOMPARE(w.history().stack().undoText(), name);
        w.history().undo();
        QVERIFY(marks.isMarked(control));
    }

    void offChangesNothing()
    {
        MainWindowFixture f;
        MainWindow &w = *f.window;
        const QStringList before = looks(w);
        f.get<QCheckBox>("ChkIconsUpperSpeed")->click();
        f.prompts.input("77");
        f.click("cmdDD1HiAlarm");
        f.trigger("DegC");
        QCOMPARE(looks(w), before);
        QCOMPARE(badges(w), 0);

        f.trigger("MarkFromDefaults");
        QVERIFY(badges(w) > 0);
        QVERIFY(looks(w) != before);
        f.trigger("MarkOff");
        QCOMPARE(looks(w), before);
        QCOMPARE(badges(w), 0);
    }
};

QTEST_MAIN(TestMarks)
#include "tst_marks_gui.moc"
