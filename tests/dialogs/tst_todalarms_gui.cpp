// The time-of-day alarm window: boxes keep what was typed, bytes hold the limited value.
#include "core/EditorState.h"
#include "core/ImageModel.h"
#include "core/NumberText.h"
#include "kit/Child.h"
#include "kit/ScriptedPrompts.h"
#include "ui/dialogs/TimeOfDayAlarmsWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace
{

struct Rig {
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    ScriptedPrompts prompts;
    ImageModel image{*state};
    std::unique_ptr<TimeOfDayAlarmsWindow> w = std::make_unique<TimeOfDayAlarmsWindow>(image, prompts);

    QComboBox *alarms() const { return child<QComboBox>(*w, QStringLiteral("cboTodAlarms")); }
    QLineEdit *hours() const { return child<QLineEdit>(*w, QStringLiteral("txtTodHours")); }
    QLineEdit *minutes() const { return child<QLineEdit>(*w, QStringLiteral("txtTodMinutes")); }

    // The user picks alarm position i from the list's popup.
    void pick(int i) const
    {
        QComboBox *list = alarms();
        list->showPopup();
        list->view()->setCurrentIndex(list->model()->index(i, 0));
        QTest::keyClick(list->view(), Qt::Key_Return);
    }

    static void type(QLineEdit *box, const QString &keys)
    {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        if (keys.isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClicks(box, keys);
    }
};

} // namespace

class TestTimeOfDayAlarmsWindow : public QObject
{
    Q_OBJECT
private slots:
    void choosingAnAlarmShowsItsBytes_data()
    {
        QTest::addColumn<int>("alarm");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::newRow("alarm 3") << 2 << "Alarm #3"
                                 << "07"
                                 << "05";
        QTest::newRow("alarm 8") << 7 << "Alarm #8"
                                 << "23"
                                 << "59";
        QTest::newRow("alarm 2 off") << 1 << "Alarm #2"
                                     << "00"
                                     << "00";
    }
    void choosingAnAlarmShowsItsBytes()
    {
        QFETCH(int, alarm);
        QFETCH(QString, entry);
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        Rig rig;
        rig.state->systemBlock[50] = 7;
        rig.state->systemBlock[51] = 5;
        rig.state->systemBlock[60] = 23;
        rig.state->systemBlock[61] = 59;
        rig.alarms()->setCurrentIndex(alarm);
        QCOMPARE(rig.alarms()->currentText(), entry);
        QCOMPARE(rig.hours()->text(), hours);
        QCOMPARE(rig.minutes()->text(), minutes);
        QCOMPARE(int(rig.state->systemBlock[46 + 2 * alarm]), hours.toInt());
        QCOMPARE(int(rig.state->systemBlock[47 + 2 * alarm]), minutes.toInt());
    }

    void typing_data()
    {
        QTest::addColumn<int>("alarm");
        QTest::addColumn<bool>("minutesBox");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("stored");
        QTest::newRow("7 hours in alarm 3") << 2 << false << "7" << 50 << 7;
        QTest::newRow("99 minutes limited") << 2 << true << "99" << 51 << 59;
        QTest::newRow("24 hours limited") << 0 << false << "24" << 46 << 23;
        QTest::newRow("7.5 to even 8") << 4 << false << "7.5" << 54 << 8;
        QTest::newRow("6.5 to even 6") << 4 << false << "6.5" << 54 << 6;
        QTest::newRow("emptied hours") << 5 << false << "" << 56 << 0;
        QTest::newRow("emptied minutes") << 5 << true << "" << 57 << 0;
        QTest::newRow("negative") << 7 << false << "-3" << 60 << 0;
        QTest::newRow("letters") << 7 << true << "ab" << 61 << 0;
    }
    void typing()
    {
        QFETCH(int, alarm);
        QFETCH(bool, minutesBox);
        QFETCH(QString, keys);
        QFETCH(int, byte);
        QFETCH(int, stored);
        Rig rig;
        for (int b = 46; b <= 61; ++b)
            rig.state->systemBlock[b] = 5;
        rig.alarms()->setCurrentIndex(alarm);
        QLineEdit *box = minutesBox ? rig.minutes() : rig.hours();
        Rig::type(box, keys);
        QCOMPARE(box->text(), keys); // never rewritten
        for (int b = 46; b <= 61; ++b)
            QCOMPARE(int(rig.state->systemBlock[b]), b == byte ? stored : 5);
        QVERIFY(rig.prompts.verifyAllUsed());
    }

    // Also the alarm already shown: picking it again reloads its boxes.
    void choosingAgainShowsTheLimitedValue()
    {
        Rig rig;
        rig.w->open();
        rig.pick(2);
        Rig::type(rig.minutes(), QStringLiteral("99"));
        QCOMPARE(rig.minutes()->text(), QStringLiteral("99"));
        rig.pick(2);
        QCOMPARE(rig.minutes()->text(), QStringLiteral("59"));
        rig.pick(3);
        rig.pick(2);
        QCOMPARE(rig.minutes()->text(), QStringLiteral("59"));
    }

    void openDoesNotReload()
    {
        Rig rig;
        rig.alarms()->setCurrentIndex(2);
        rig.state->systemBlock[50] = 7;
        rig.alarms()->setCurrentIndex(3);
        rig.alarms()->setCurrentIndex(2);
        QCOMPARE(rig.hours()->text(), QStringLiteral("07"));
        rig.state->systemBlock[50] = 9; // a file load or download replaced the image
        rig.w->open();
        QVERIFY(rig.w->isVisible());
        QCOMPARE(rig.hours()->text(), QStringLiteral("07"));
        QCOMPARE(int(rig.state->systemBlock[50]), 9);
        QCOMPARE(rig.w->windowTitle(), QStringLiteral("Time-Of-Day Alarms"));
        QCOMPARE(child<QGroupBox>(*rig.w, QStringLiteral("fraTodAlarms"))->title(),
                 QStringLiteral("Set Time-Of-Day Alarms (0=OFF)"));
    }

    // A replaced image is shown as it is, and nothing is stored back (not even limited).
    void imageReplacedShowsWhatIsStored_data()
    {
        QTest::addColumn<int>("alarm");
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::newRow("alarm 3") << 2 << 7 << 5;
        QTest::newRow("alarm 6 beyond the limits") << 5 << 99 << 75;
    }
    void imageReplacedShowsWhatIsStored()
    {
        QFETCH(int, alarm);
        QFETCH(int, hours);
        QFETCH(int, minutes);
        Rig rig;
        rig.alarms()->setCurrentIndex(alarm);
        rig.state->systemBlock[46 + 2 * alarm] = quint8(hours);
        rig.state->systemBlock[47 + 2 * alarm] = quint8(minutes);
        const QByteArray before(reinterpret_cast<const char *>(rig.state->systemBlock), 257);
        QSignalSpy changes(&rig.image, &ImageModel::systemChanged);
        rig.image.announceReplaced();
        QCOMPARE(rig.hours()->text(), numtext::formatTwoDigits(hours));
        QCOMPARE(rig.minutes()->text(), numtext::formatTwoDigits(minutes));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(rig.state->systemBlock), 257), before);
        QCOMPARE(changes.count(), 0);
    }

    void startUpShowsTheFirstAlarm()
    {
        Rig rig;
        rig.alarms()->setCurrentIndex(6);
        rig.state->systemBlock[46] = 6;
        rig.state->systemBlock[47] = 30;
        rig.w->showStartUpValues();
        QCOMPARE(rig.alarms()->currentIndex(), 0);
        QCOMPARE(rig.hours()->text(), QStringLiteral("06"));
        QCOMPARE(rig.minutes()->text(), QStringLiteral("30"));
        // Already on the first alarm: still reloaded.
        rig.state->systemBlock[46] = 12;
        rig.w->showStartUpValues();
        QCOMPARE(rig.hours()->text(), QStringLiteral("12"));
    }

    void doneHides()
    {
        Rig rig;
        rig.w->open();
        QTest::mouseClick(child<QPushButton>(*rig.w, QStringLiteral("cmdExitDamping")), Qt::LeftButton);
        QVERIFY(!rig.w->isVisible());
    }
};

QTEST_MAIN(TestTimeOfDayAlarmsWindow)
#include "tst_todalarms_gui.moc"
