// The display damping window: the value box always shows the stored, limited value.
#include "core/EditorState.h"
#include "core/ImageModel.h"
#include "kit/Child.h"
#include "kit/ScriptedPrompts.h"
#include "ui/dialogs/DampingWindow.h"

#include <QComboBox>
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
    std::unique_ptr<DampingWindow> w = std::make_unique<DampingWindow>(image, prompts);

    QComboBox *functions() const { return child<QComboBox>(*w, QStringLiteral("cboDamping")); }
    QLineEdit *valueBox() const { return child<QLineEdit>(*w, QStringLiteral("txtDampingValue")); }

    // Replaces the box's contents by typing, as a user selecting all and typing does.
    void type(const QString &keys) const
    {
        QTest::keyClick(valueBox(), Qt::Key_A, Qt::ControlModifier);
        if (keys.isEmpty())
            QTest::keyClick(valueBox(), Qt::Key_Backspace);
        else
            QTest::keyClicks(valueBox(), keys);
    }
};

constexpr int kBytes[] = {105, 102, 109, 110};

} // namespace

class TestDampingWindow : public QObject
{
    Q_OBJECT
private slots:
    void typing_data()
    {
        QTest::addColumn<int>("function");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("stored");
        QTest::newRow("limited to 250") << 0 << "300"
                                        << "250" << 250;
        QTest::newRow("plain value") << 0 << "125"
                                     << "125" << 125;
        QTest::newRow("only a minus") << 0 << "-"
                                      << "0" << 0;
        QTest::newRow("only a letter") << 0 << "x"
                                       << "0" << 0;
        QTest::newRow("letter after digits") << 0 << "12a"
                                             << "12" << 12;
        QTest::newRow("no fractions") << 0 << "1."
                                      << "1" << 1;
        QTest::newRow("emptied") << 0 << ""
                                 << "0" << 0;
        QTest::newRow("channel 2B is byte 102") << 1 << "77"
                                                << "77" << 77;
        QTest::newRow("channel 3A is byte 109") << 2 << "9"
                                                << "9" << 9;
        QTest::newRow("channel 3B is byte 110") << 3 << "251"
                                                << "250" << 250;
    }
    void typing()
    {
        QFETCH(int, function);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(int, stored);
        Rig rig;
        for (int b : kBytes)
            rig.state->systemBlock[b] = 33;
        rig.functions()->setCurrentIndex(function);
        rig.w->open();
        QCOMPARE(rig.valueBox()->text(), QStringLiteral("33"));
        rig.type(keys);
        QCOMPARE(rig.valueBox()->text(), shown);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(int(rig.state->systemBlock[kBytes[i]]), i == function ? stored : 33);
        QVERIFY(rig.prompts.verifyAllUsed());
    }

    // A program step that sets the text is a change like a typed one.
    void settingTheTextStoresToo_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("stored");
        QTest::newRow("half to even down") << "2.5"
                                           << "2" << 2;
        QTest::newRow("half to even up") << "3.5"
                                         << "4" << 4;
        QTest::newRow("leading blank") << " 7"
                                       << "7" << 7;
        QTest::newRow("249.5 rounds to 250") << "249.5"
                                             << "250" << 250;
        QTest::newRow("negative") << "-40"
                                  << "0" << 0;
        QTest::newRow("huge") << "99999999999999999999"
                              << "250" << 250;
    }
    void settingTheTextStoresToo()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(int, stored);
        Rig rig;
        rig.valueBox()->setText(text);
        QCOMPARE(rig.valueBox()->text(), shown);
        QCOMPARE(int(rig.state->systemBlock[105]), stored);
    }

    void choosingAFunctionShowsItsByte()
    {
        Rig rig;
        const int values[] = {5, 77, 9, 10};
        for (int i = 0; i < 4; ++i)
            rig.state->systemBlock[kBytes[i]] = quint8(values[i]);
        for (int i : {1, 3, 2, 0}) {
            rig.functions()->setCurrentIndex(i);
            QCOMPARE(rig.valueBox()->text(), QString::number(values[i]));
        }
    }

    void openShowsTheStoredValueAfterTheImageWasReplaced()
    {
        Rig rig;
        rig.functions()->setCurrentIndex(1);
        rig.type(QStringLiteral("20"));
        rig.state->systemBlock[102] = 42; // New, Open, a download ...
        rig.w->open();
        QVERIFY(rig.w->isVisible());
        QCOMPARE(rig.valueBox()->text(), QStringLiteral("42"));
        QCOMPARE(rig.w->windowTitle(), QStringLiteral("View/Set Display Damping"));
    }

    void activationRefreshes()
    {
        Rig rig;
        rig.w->open();
        rig.state->systemBlock[105] = 61;
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(rig.w.get(), &activate);
        QCOMPARE(rig.valueBox()->text(), QStringLiteral("61"));
    }

    // A replaced image is shown as it is: a refresh that stored the limited value
    // would change the image that undo, Open or a download just put back.
    void imageReplacedShowsWhatIsStored_data()
    {
        QTest::addColumn<int>("stored");
        QTest::newRow("in range") << 61;
        QTest::newRow("beyond 250") << 255;
    }
    void imageReplacedShowsWhatIsStored()
    {
        QFETCH(int, stored);
        Rig rig;
        rig.functions()->setCurrentIndex(2);
        rig.state->systemBlock[109] = quint8(stored);
        const QByteArray before(reinterpret_cast<const char *>(rig.state->systemBlock), 257);
        QSignalSpy changes(&rig.image, &ImageModel::systemChanged);
        rig.image.announceReplaced();
        QCOMPARE(rig.valueBox()->text(), QString::number(stored));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(rig.state->systemBlock), 257), before);
        QCOMPARE(changes.count(), 0);
    }

    void startUpShowsByte105()
    {
        Rig rig;
        rig.functions()->setCurrentIndex(2);
        rig.state->systemBlock[105] = 7;
        rig.state->systemBlock[109] = 8;
        rig.w->showStartUpValues();
        QCOMPARE(rig.functions()->currentIndex(), 0);
        QCOMPARE(rig.functions()->currentText(), QStringLiteral("NMEA Channel 2A"));
        QCOMPARE(rig.valueBox()->text(), QStringLiteral("7"));
        QCOMPARE(int(rig.state->systemBlock[109]), 8);
    }

    void doneHidesAndWritesNothing()
    {
        Rig rig;
        rig.w->open();
        quint8 before[257];
        std::copy(std::begin(rig.state->systemBlock), std::end(rig.state->systemBlock), before);
        QTest::mouseClick(child<QPushButton>(*rig.w, QStringLiteral("cmdExitDamping")), Qt::LeftButton);
        QVERIFY(!rig.w->isVisible());
        QVERIFY(std::equal(std::begin(before), std::end(before), std::begin(rig.state->systemBlock)));
    }
};

QTEST_MAIN(TestDampingWindow)
#include "tst_damping_gui.moc"
