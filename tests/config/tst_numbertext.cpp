// Number text helpers shared by every window and file.
#include "core/NumberText.h"
#include "kit/CommaDecimalLocale.h"

#include <QTest>
#include <cfloat>
#include <cmath>

using namespace numtext;

class TestNumberText : public QObject
{
    Q_OBJECT
private slots:
    void signedWhole_data()
    {
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << " 0";
        QTest::newRow("port 3") << qint64(3) << " 3";
        QTest::newRow("twelve") << qint64(12) << " 12";
        QTest::newRow("negative") << qint64(-7) << "-7";
        QTest::newRow("serial") << qint64(123456078) << " 123456078";
    }
    void signedWhole()
    {
        QFETCH(qint64, n);
        QFETCH(QString, text);
        QCOMPARE(signedText(n), text);
        QCOMPARE(numberField(n), text + " ");
    }

    void floatForms_data()
    {
        QTest::addColumn<float>("v");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 10.0f << "10";
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("half") << 0.5f << ".5";
        QTest::newRow("minus half") << -0.5f << "-.5";
        QTest::newRow("12.5") << 12.5f << "12.5";
        QTest::newRow("tenth") << 0.1f << ".1";
        QTest::newRow("1.2") << 1.2f << "1.2";
        QTest::newRow("290.08") << 290.08f << "290.08";
        QTest::newRow("third") << (1.0f / 3.0f) << ".3333333";
        QTest::newRow("1000") << 1000.0f << "1000";
        QTest::newRow("small") << 0.0123f << ".0123";
        QTest::newRow("large") << 12345678.0f << "1.234568E+07";
        QTest::newRow("7 digits") << 1234567.0f << "1234567";
        QTest::newRow("tiny") << 0.000001f << "1E-06";
    }
    void floatForms()
    {
        QFETCH(float, v);
        QFETCH(QString, text);
        QCOMPARE(floatText(v), text);
        QCOMPARE(numberField(v), (text.startsWith('-') ? text : " " + text) + " ");
    }

    // A file field has at most seven significant digits. A number that seven digits
    // cannot give back moves once, to the value its field reads as, and then stays.
    void fileFieldsSettleAfterOneSave_data()
    {
        QTest::addColumn<float>("v");
        QTest::addColumn<QString>("field");
        QTest::newRow("2^24") << 16777216.0f << " 1.677722E+07 ";
        QTest::newRow("just above .1") << std::nextafter(0.1f, 1.0f) << " .1 ";
        QTest::newRow("pressure in bar x 145.04") << float(1.2345 * 10.0 * 14.504) << " 179.0519 ";
        QTest::newRow("largest") << FLT_MAX << " 3.402823E+38 ";
        QTest::newRow("negative") << -std::nextafter(1000.0f, 0.0f) << "-999.9999 ";
        QTest::newRow("smallest subnormal") << std::nextafter(0.0f, 1.0f) << " 1E-45 ";
        QTest::newRow("whole") << 9999999.0f << " 9999999 ";
        QTest::newRow("fraction in 7 digits") << 290.08f << " 290.08 ";
    }
    void fileFieldsSettleAfterOneSave()
    {
        QFETCH(float, v);
        QFETCH(QString, field);
        QCOMPARE(numberField(v), field);
        const float read = float(floatTextNumber(field));
        QVERIFY(std::fabs(double(read) - double(v)) <= 6.5e-7 * std::fabs(double(v)) + 1.5e-45);
        QCOMPARE(numberField(read), field);
    }

    // A system whose number format has a decimal comma must not change the text.
    void numberTextIgnoresTheSystemLocale()
    {
        CommaDecimalLocale comma;
        if (!comma.active())
            QSKIP("no locale with a decimal comma can be made here");
        QCOMPARE(floatText(12.5f), QString("12.5"));
        QCOMPARE(floatText(12345678.0f), QString("1.234568E+07"));
        QCOMPARE(numberField(-0.5f), QString("-.5 "));
        QCOMPARE(numberField(16777216.0f), QString(" 1.677722E+07 "));
        QCOMPARE(signedText(0.25), QString(" .25"));
        QCOMPARE(leadingNumber(" 12.75"), 12.75);
    }

    void floatTextReadsBack_data()
    {
        QTest::addColumn<float>("v");
        for (float v : {12.5f, 0.5f, 290.08f, 1760.0f, 3.14159f, 0.001f, 99999.9f, 1.0e-7f})
            QTest::newRow(qPrintable(QString::number(double(v)))) << v;
    }
    void floatTextReadsBack()
    {
        QFETCH(float, v);
        QCOMPARE(float(floatTextNumber(floatText(v))), v);
    }

    void masks_data()
    {
        QTest::addColumn<double>("v");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("0 dp") << 1000.0 << 0 << "1000";
        QTest::newRow("0 dp zero") << 0.0 << 0 << "0";
        QTest::newRow("1 dp") << 123.4 << 1 << "123.4";
        QTest::newRow("1 dp whole") << 25.0 << 1 << "25.0";
        QTest::newRow("1 dp small") << 0.3 << 1 << "0.3";
        QTest::newRow("2 dp") << 0.05 << 2 << "0.05";
        QTest::newRow("2 dp 655.3") << 655.3 << 2 << "655.30";
        QTest::newRow("2 dp 655.35") << 655.35 << 2 << "655.35";
        QTest::newRow("1 dp 6553.5") << 6553.5 << 1 << "6553.5";
    }
    void masks()
    {
        QFETCH(double, v);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(formatDecimals(v, decimals), text);
    }

    void twoDigits()
    {
        QCOMPARE(formatTwoDigits(5), QString("05"));
        QCOMPARE(formatTwoDigits(0), QString("00"));
        QCOMPARE(formatTwoDigits(59), QString("59"));
        QCOMPARE(formatTwoDigits(123), QString("123"));
    }

    void leading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("v");
        QTest::addColumn<double>("written"); // read as a text the program wrote
        auto row = [](const char *name, const char *text, double v) { QTest::newRow(name) << text << v << v; };
        row("plain", "12", 12.0);
        row("blanks", "   12.7", 12.7);
        row("letters", "abc", 0.0);
        row("empty", "", 0.0);
        row("trailing text", "25.56xyz", 25.56);
        row("two points", "1.2.3", 1.2);
        row("negative", "-5", -5.0);
        row("point first", ".5", 0.5);
        row("minus only", "-", 0.0);
        row("point only", ".", 0.0);
        row("huge", "99999999999999999999", 1e20);
        row("dangling e", "12e", 12.0);
        // Typed entry is digits with at most one decimal point: an exponent is no part of it.
        QTest::newRow("1e3") << "1e3" << 1.0 << 1000.0;
        QTest::newRow("exponent") << "1E+07" << 1.0 << 1.0e7;
        QTest::newRow("negative exponent") << "2.5E-03" << 2.5 << 0.0025;
    }
    void leading()
    {
        QFETCH(QString, text);
        QFETCH(double, v);
        QFETCH(double, written);
        QCOMPARE(leadingNumber(text), v);
        QCOMPARE(floatTextNumber(text), written);
    }

    void halvesToEven_data()
    {
        QTest::addColumn<double>("v");
        QTest::addColumn<qint64>("r");
        QTest::newRow("0.5") << 0.5 << qint64(0);
        QTest::newRow("1.5") << 1.5 << qint64(2);
        QTest::newRow("2.5") << 2.5 << qint64(2);
        QTest::newRow("6.5") << 6.5 << qint64(6);
        QTest::newRow("7.5") << 7.5 << qint64(8);
        QTest::newRow("255.5") << 255.5 << qint64(256);
        QTest::newRow("-0.5") << -0.5 << qint64(0);
        QTest::newRow("-1.5") << -1.5 << qint64(-2);
        QTest::newRow("12.7") << 12.7 << qint64(13);
        QTest::newRow("255.6") << 25.56 * 10 << qint64(256);
        QTest::newRow("65534") << 655.34 * 100 << qint64(65534);
        QTest::newRow("59994") << 999.9 * 60 << qint64(59994);
    }
    void halvesToEven()
    {
        QFETCH(double, v);
        QFETCH(qint64, r);
        QCOMPARE(roundHalfEven(v), r);
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
