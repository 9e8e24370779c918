// The NMEA sentence selector: its lists, loading a source's three bytes, Accept, Cancel and View Data.
#include "core/ImageModel.h"
#include "kit/Child.h"
#include "ui/dialogs/NmeaSelector.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace
{
QComboBox *talkers(const NmeaSelector &w)
{
    return child<QComboBox>(w, QStringLiteral("cmbNmeaTalker"));
}
QComboBox *identifiers(const NmeaSelector &w)
{
    return child<QComboBox>(w, QStringLiteral("cmbNmeaID"));
}
QComboBox *commas(const NmeaSelector &w)
{
    return child<QComboBox>(w, QStringLiteral("cmdNmeaCommas"));
}
QPushButton *button(const NmeaSelector &w, const char *name)
{
    return child<QPushButton>(w, QLatin1String(name));
}
} // namespace

class TestNmeaSelector : public QObject
{
    Q_OBJECT
private slots:
    void listsHoldTheInstrumentsCodesInOrder()
    {
        EditorState state;
        ImageModel image(state);
        NmeaSelector w(state, image);
        QCOMPARE(w.windowTitle(), QStringLiteral("NMEA Sentence Selector"));
        QCOMPARE(talkers(w)->count(), 49);
        QCOMPARE(identifiers(w)->count(), 120);
        QCOMPARE(commas(w)->count(), 25);
        // Codes are positions + 1, so the order is the data format.
        QCOMPARE(talkers(w)->itemText(7), QStringLiteral("CV"));
        QCOMPARE(talkers(w)->itemText(8), QStringLiteral("CT"));
        QCOMPARE(talkers(w)->itemText(15), QStringLiteral("GP"));
        QCOMPARE(talkers(w)->itemText(48), QStringLiteral("ZV"));
        QCOMPARE(identifiers(w)->itemText(55), QStringLiteral("OSD"));
        QCOMPARE(identifiers(w)->itemText(56), QStringLiteral("ROO"));
        QCOMPARE(identifiers(w)->itemText(57), QStringLiteral("RMA"));
        QCOMPARE(identifiers(w)->itemText(59), QStringLiteral("RMC"));
        QCOMPARE(identifiers(w)->itemText(119), QStringLiteral("ZZU"));
        for (int i = 0; i < 25; ++i)
            QCOMPARE(commas(w)->itemText(i), QString::number(i + 1));
        for (QComboBox *list : {talkers(w), identifiers(w), commas(w)}) {
            QCOMPARE(list->currentIndex(), 0);
            QVERIFY(!list->isEditable());
        }
        w.fillLists();
        QCOMPARE(talkers(w)->count(), 49);
        QCOMPARE(identifiers(w)->count(), 120);
        QCOMPARE(commas(w)->count(), 25);
        QCOMPARE(child<QLabel>(w, QStringLiteral("lblNmeaTalker"))->text(), QStringLiteral("Talker ID"));
        QCOMPARE(child<QLabel>(w, QStringLiteral("lblNmeaID"))->text(), QStringLiteral("Indentifier"));
        QCOMPARE(child<QLabel>(w, QStringLiteral("lblNmeaCommas"))->text(), QStringLiteral("Commas"));
        QCOMPARE(button(w, "cmdNmeaViewData")->text(), QStringLiteral("View Data"));
    }

    void openLoadsTheSourcesBytes_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("channel");
        QTest::newRow("#1A") << 1 << QByteArray("\x10\x3C\x05", 3) << QStringList{"GP", "RMC", "5"} << 68 << 1;
        QTest::newRow("#2B") << 4 << QByteArray("\x14\x65\x02", 3) << QStringList{"II", "XDR", "2"} << 77 << 2;
        QTest::newRow("#3A") << 5 << QByteArray("\x31\x78\x19", 3) << QStringList{"ZV", "ZZU", "25"} << 80 << 3;
        QTest::newRow("#4B erased bytes select nothing")
            << 8 << QByteArray("\xFF\x00\x01", 3) << QStringList{"", "", "1"} << 89 << 4;
    }
    void openLoadsTheSourcesBytes()
    {
        QFETCH(int, source);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, shown);
        QFETCH(int, index);
        QFETCH(int, channel);
        EditorState state;
        ImageModel image(state);
        NmeaSelector w(state, image);
        for (int k = 0; k < 3; ++k)
            state.systemBlock[index + k] = quint8(bytes[k]);
        w.openForSource(source);
        QVERIFY(!w.isHidden());
        QCOMPARE(int(state.nmea.selectionIndex), index);
        QCOMPARE(int(state.nmea.channel), channel);
        QCOMPARE((QStringList{talkers(w)->currentText(), identifiers(w)->currentText(), commas(w)->currentText()}),
                 shown);
    }

    void accept_data()
    {
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("GP RMC 5") << QStringList{"GP", "RMC", "5"} << QByteArray("\x10\x3C\x05", 3);
        QTest::newRow("first entries") << QStringList{"AG", "AAM", "1"} << QByteArray("\x01\x01\x01", 3);
        QTest::newRow("last entries") << QStringList{"ZV", "ZZU", "25"} << QByteArray("\x31\x78\x19", 3);
        QTest::newRow("CT after CV, RMA after ROO") << QStringList{"CT", "RMA", "9"} << QByteArray("\x09\x3A\x09", 3);
    }
    void accept()
    {
        QFETCH(QStringList, chosen);
        QFETCH(QByteArray, stored);
        EditorState state;
        ImageModel image(state);
        NmeaSelector w(state, image);
        int stops = 0;
        w.onStopMonitor = [&] { ++stops; };
        w.openForSource(6);
        state.nmea.monitorRunning = true;
        talkers(w)->setCurrentText(chosen[0]);
        identifiers(w)->setCurrentText(chosen[1]);
        commas(w)->setCurrentText(chosen[2]);
        QTest::mouseClick(button(w, "cmdNmeaAccept"), Qt::LeftButton);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(state.systemBlock + 83), 3), stored);
        QVERIFY(w.isHidden());
        QCOMPARE(stops, 1);
        QVERIFY(!state.nmea.monitorRunning);
    }

    void acceptKeepsAByteThatNamesNoEntry()
    {
        EditorState state;
        ImageModel image(state);
        NmeaSelector w(state, image);
        state.systemBlock[86] = 0;
        state.systemBlock[87] = 200;
        state.systemBlock[88] = 3;
        w.openForSource(7);
        commas(w)->setCurrentText("4");
        button(w, "cmdNmeaAccept")->click();
        QCOMPARE(int(state.systemBlock[86]), 0);
        QCOMPARE(int(state.systemBlock[87]), 200);
        QCOMPARE(int(state.systemBlock[88]), 4);
    }

    void cancelStoresNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape key") << true;
    }
    void cancelStoresNothing()
    {
        QFETCH(bool, escape);
        EditorState state;
        ImageModel image(state);
        NmeaSelector w(state, image);
        int stops = 0;
        w.onStopMonitor = [&] { ++stops; };
        w.openForSource(2);
        const QByteArray before(reinterpret_cast<const char *>(state.systemBlock), 257);
        talkers(w)->setCurrentIndex(30);
        if (escape)
            QTest::keyClick(&w, Qt::Key_Escape);
        else
            button(w, "cmdNmeaCancel")->click();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(state.systemBlock), 257), before);
        QVERIFY(w.isHidden());
        QCOMPARE(stops, 1);
    }

    void viewDataAsksForTheMonitor()
    {
        EditorState state;
        ImageModel image(state);
        NmeaSelector w(state, image);
        int hooks = 0, signals_ = 0;
        w.onViewData = [&] { ++hooks; };
        connect(&w, &NmeaSelector::viewDataRequested, this, [&] { ++signals_; });
        w.openForSource(3);
        button(w, "cmdNmeaViewData")->click();
        QCOMPARE(hooks, 1);
        QCOMPARE(signals_, 1);
        QVERIFY(!w.isHidden());
    }
};

QTEST_MAIN(TestNmeaSelector)
#include "tst_nmeaselector_gui.moc"
