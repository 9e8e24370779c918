// The factory window: its controls, the identity boxes, and the buttons that end the connection.
#include "factory/FactoryRig.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

class TestFactoryWindow : public QObject
{
    Q_OBJECT
private slots:
    void buttons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const char *rows[][2] = {
            {"cmdDisplayRam", "Display Brevo   IRAM"},
            {"cmdDisplayXram", "Display Brevo  XRAM"},
            {"cmdDisplayFlashRom", "Display Flash ROM Data"},
            {"cmdDisplayIntNvmData", "Display Internal NVM Data"},
            {"cmdDisplayExtNvmData", "Display 24C512 NVM Data"},
            {"cmdProgByteIntNvm", "Program one byte of Internal NVM"},
            {"cmdProgByte24C512", "Program one byte of 24C512 NVM"},
            {"cmdIspMode", "Put Into ISP Mode (Use 24C512)"},
            {"cmdIspMode2", "Put Into ISP Mode (Use Philips)"},
            {"cmdDisconnect", "Clear RAM Disconnect and Close Window"},
            {"cmdSoftDisconnect", "Soft RESET Disconnect and Close Window"},
            {"cmdReadHex7168", "Read code from HEX file and create .COD file"},
            {"cmdSaveFlashCode2File", "Read from Flash ROM and Save to .COD File"},
            {"cmdSaveFileTo24C512", "Read code from .COD File and Save to 24C512"},
            {"cmdHalvaneCopyCodeToFlash", "Copy Code from 24C512 to Flash at location 7,168"},
            {"cmdHalvaneNewBrevo", "Make NEW Brevo"},
            {"cmdHalvaneNewSN", "Write New Serial No. to Brevo"},
            {"cmdHalvaneNew24C512", "Zero 24C512 LOGS and Date"},
            {"cmdHalvaneUploadCalData", "Upload All Calibration Curve Data to 24C512"},
            {"cmdHalvaneUploadNmea", "Upload NMEA and D.P. Data to 24C512"},
        };
        for (const auto &r : rows)
            QTest::newRow(r[0]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1]);
    }
    void buttons()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        FactoryRig rig;
        auto *b = rig.w.findChild<QPushButton *>(name);
        QVERIFY(b);
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->accessibleName(), caption);
        QVERIFY(b->focusPolicy() & Qt::TabFocus);
        QVERIFY(qobject_cast<QGroupBox *>(b->parentWidget()));
    }

    void identityBoxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        const char *rows[][2] = {
            {"txtTessaroSN", "Brevo:  SN#"},
            {"txtTessaroSwVer", "Brevo:  Sw_Ver."},
            {"txtTessaroHwVer", "Brevo:  Hw_Ver."},
            {"txtU101SwVer", "U101:  Sw_Ver."},
            {"txtU201SwVer", "U201:  Sw_Ver."},
            {"txtU301SwVer", "U301:  Sw_Ver."},
            {"txtU401SwVer", "U401:  Sw_Ver."},
            {"txtNTimesNewConfigs", "N Times New Configs Programmed"},
            {"txtBrevoProductID", "Brevo Product ID:  Hw_Ver."},
        };
        for (const auto &r : rows)
            QTest::newRow(r[0]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1]);
    }
    void identityBoxes()
    {
        QFETCH(QString, name);
        QFETCH(QString, label);
        FactoryRig rig;
        auto *box = rig.w.findChild<QLineEdit *>(name);
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("Unknown"));
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->accessibleName(), label);
        bool labelled = false;
        for (QLabel *l : rig.w.findChildren<QLabel *>())
            labelled = labelled || (l->buddy() == box && l->text() == label);
        QVERIFY(labelled);
    }

    void windowAndOutputBox()
    {
        FactoryRig rig;
        QCOMPARE(rig.w.windowTitle(), QStringLiteral("Halvane Factory Production and Debug Utilites"));
        QCOMPARE(rig.w.objectName(), QStringLiteral("frmHalvane"));
        QVERIFY(!rig.w.isVisible());
        QPlainTextEdit *out = rig.outputBox();
        QCOMPARE(out->objectName(), QStringLiteral("txtHalvaneData"));
        QVERIFY(out->isReadOnly());
        // Fixed pitch: every character as wide as every other (columns of numbers line up).
        const QFontMetrics fm(out->font());
        QCOMPARE(fm.horizontalAdvance(QLatin1Char('i')), fm.horizontalAdvance(QLatin1Char('M')));
        QVERIFY(!out->accessibleName().isEmpty());
    }

    // The boxes show what the connection procedure keeps; product code and count only once read.
    void identityFromTheConnection()
    {
        FactoryRig rig;
        rig.sim.setProductCode(3);
        rig.sim.memory.nvm[10] = 1;
        rig.sim.memory.nvm[11] = 2;
        rig.connect();
        QVERIFY(rig.state.link.connected);
        rig.w.showInstrument();
        QCOMPARE(rig.boxText("txtTessaroSN"), QStringLiteral(" 80315012"));
        QCOMPARE(rig.boxText("txtTessaroSwVer"), rig.state.instrument.softwareVersion);
        QCOMPARE(rig.boxText("txtTessaroHwVer"), QStringLiteral(" 4"));
        QCOMPARE(rig.boxText("txtU101SwVer"), QStringLiteral(" 12"));
        QCOMPARE(rig.boxText("txtU401SwVer"), QStringLiteral(" 3"));
        QCOMPARE(rig.boxText("txtBrevoProductID"), QStringLiteral("Unknown"));
        QCOMPARE(rig.boxText("txtNTimesNewConfigs"), QStringLiteral("Unknown"));
        rig.w.showProductCode(rig.view.productCode);
        rig.w.showNewConfigCount(rig.view.newConfigCount);
        QCOMPARE(rig.boxText("txtBrevoProductID"), QStringLiteral("3"));
        QCOMPARE(rig.boxText("txtNTimesNewConfigs"), QStringLiteral("258"));
        // A later load keeps them.
        rig.w.showInstrument();
        QCOMPARE(rig.boxText("txtNTimesNewConfigs"), QStringLiteral("258"));
    }

    void endingTheConnection_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("answer"); // confirmation, or empty when none is asked
        QTest::addColumn<int>("code");       // -1: nothing sent
        QTest::addColumn<bool>("closed");
        QTest::newRow("ISP from the 24C512") << "cmdIspMode" << true << "yes" << 9 << true;
        QTest::newRow("ISP with the Philips loader") << "cmdIspMode2" << true << "yes" << 10 << true;
        QTest::newRow("ISP declined") << "cmdIspMode" << true << "no" << -1 << false;
        QTest::newRow("clear RAM disconnect") << "cmdDisconnect" << true << "" << 255 << true;
        QTest::newRow("soft reset disconnect") << "cmdSoftDisconnect" << true << "" << 251 << true;
        QTest::newRow("disconnect when not connected") << "cmdDisconnect" << false << "" << -1 << true;
    }
    void endingTheConnection()
    {
        QFETCH(QString, button);
        QFETCH(bool, connected);
        QFETCH(QString, answer);
        QFETCH(int, code);
        QFETCH(bool, closed);
        FactoryRig rig;
        if (connected)
            rig.connectFirst();
        rig.w.show();
        queueAnswers(rig.prompts, answer.isEmpty() ? QStringList() : QStringList{answer});
        rig.click(button);
        QVERIFY(rig.prompts.verifyAllUsed());
        if (!answer.isEmpty()) {
            QCOMPARE(rig.prompts.records.at(0).title, QStringLiteral("Put P89LPC9408 into ISP mode"));
            QCOMPARE(rig.prompts.records.at(0).text,
                     QStringLiteral("Are you sure?\r\nThis will put P89LPC9408 back into ISP mode!"));
            QCOMPARE(rig.prompts.records.at(0).icon, Prompts::Icon::Question);
        }
        QCOMPARE(rig.toInstrument(), code < 0 ? QByteArray() : frame(code, 0, 0));
        QCOMPARE(rig.w.isVisible(), !closed);
        if (code >= 0) {
            QVERIFY(!rig.state.link.connected);
            QCOMPARE(rig.view.connectedLabel, QStringLiteral("Not connected to Tessaro"));
            QVERIFY(rig.view.called(QStringLiteral("hideProgress")));
            QCOMPARE(rig.sim.mode(), code == 9 || code == 10 ? Simulator::Mode::Isp : Simulator::Mode::Normal);
        } else {
            QCOMPARE(bool(rig.state.link.connected), connected);
        }
    }

    // A second command while one runs is refused; the running one is not disturbed.
    void oneCommandAtATime()
    {
        FactoryRig rig;
        rig.connectFirst();
        rig.prompts.input(QStringLiteral("0")).answerWith(ScriptedPrompts::Kind::Input, [&rig](const PromptRecord &) {
            rig.prompts.ok();
            rig.click(QStringLiteral("cmdDisplayXram"));
            return QStringLiteral("2");
        });
        rig.click(QStringLiteral("cmdDisplayRam"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(2).text, QStringLiteral("Please wait: the instrument is busy."));
        QCOMPARE(rig.toInstrument(), frame(7, 2, 0).repeated(2));
        QCOMPARE(rig.w.lastEnd(), factory::CommandEnd::Done);
    }
};

QTEST_MAIN(TestFactoryWindow)
#include "tst_factory_window_gui.moc"
