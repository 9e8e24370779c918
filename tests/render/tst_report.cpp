// The configuration report: one page per display configuration with that configuration's own values,
// the pages the PDF holds are the pages painted, and a failed write leaves no file.
#include "core/ConfigImage.h"
#include "core/Defaults.h"
#include "core/ImageLayout.h"
#include "kit/PdfText.h"
#include "kit/TempProgramFolder.h"
#include "render/Report.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace
{
ConfigImage defaults()
{
    EditorState s;
    writeDefaultsToRam(s);
    return ConfigImage::of(s);
}

const report::Identity kIdentity{QStringLiteral("BOAT.CFG"), QDateTime(QDate(2026, 1, 5), QTime(9, 0)),
                                 QStringLiteral("Unknown"), QStringLiteral("Unknown"), QStringLiteral("Unknown")};
} // namespace

class TestReport : public QObject
{
    Q_OBJECT
private slots:
    void pagesAndValues()
    {
        ConfigImage image = defaults();
        // Configuration 5's digital display 2 shows NMEA input #4B, whose high alarm limit is 4321.
        image.blocks[5][48] = 30;
        image.system[210] = 4321 / 256;
        image.system[211] = 4321 % 256;
        TempProgramFolder folder;
        const report::Result result = report::writePdf(image, kIdentity, folder.file(QStringLiteral("BOAT.pdf")));
        QVERIFY2(result.ok(), qPrintable(result.error));

        QCOMPARE(result.pageTitles.value(0), QStringLiteral("Corvane Configuration Report"));
        for (int n = 1; n <= 16; ++n)
            QCOMPARE(result.pageTitles.value(n), QStringLiteral("Display configuration %1").arg(n));
        QVERIFY(result.pageTitles.contains(QStringLiteral("Settings")));
        QVERIFY(result.pageTitles.contains(QStringLiteral("Sender curve 9: User defined fuel sender curve")));
        QCOMPARE(result.pages, int(result.pageTitles.size()));

        // The file holds the pages painted.
        QFile pdf(folder.file(QStringLiteral("BOAT.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QString content = QString::fromLatin1(pdf.readAll());
        QCOMPARE(int(content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")))), result.pages);

        // Configuration 5's page, and only it, shows the source and its limit.
        const qsizetype from = result.texts.indexOf(QStringLiteral("Display configuration 5"));
        const qsizetype to = result.texts.indexOf(QStringLiteral("Display configuration 6"));
        QVERIFY(from > 0 && to > from);
        const QStringList page5 = result.texts.mid(from, to - from);
        QVERIFY(page5.contains(QStringLiteral("NMEA 0183 input #4B")));
        QVERIFY(page5.contains(QStringLiteral("4321")));
        const QStringList page4 =
            result.texts.mid(result.texts.indexOf(QStringLiteral("Display configuration 4")),
                             from - result.texts.indexOf(QStringLiteral("Display configuration 4")));
        QVERIFY(!page4.contains(QStringLiteral("4321")));
    }

    // The curve pages, as a reader of the file sees them: the six curves an upload writes,
    // each charted and tabulated in one unit, the file's, which its axis names.
    void curvePagesInTheFilesUnits()
    {
        ConfigImage image = defaults();
        image.system[layout::kDisplayFlags] &= quint8(~(layout::kFahrenheitBit | layout::kPsiBit)); // °C, bar
        image.curves[6][32][2] = 2800;                                                              // 280 °F
        TempProgramFolder folder;
        QVERIFY(report::writePdf(image, kIdentity, folder.file(QStringLiteral("BOAT.pdf"))).ok());
        const QStringList pages = pdfPages(folder.file(QStringLiteral("BOAT.pdf")));
        QVERIFY(!pages.isEmpty());

        QStringList curvePages;
        for (const QString &page : pages)
            if (page.trimmed().startsWith(QLatin1String("Sender curve")))
                curvePages << page;
        QCOMPARE(curvePages.size(), 6);
        const QStringList expected{"Sender curve 6: User defined Engine Temperature curve",
                                   "Sender curve 9: User defined fuel sender curve",
                                   "Sender curve 16: User defined Oil Pressure curve",
                                   "Sender curve 19: User defined Trim sender curve (0-1000 ohm)",
                                   "Sender curve 22 (no sender list offers it)",
                                   "Sender curve 25: User defined 2'nd Tank Level sender curve"};
        for (int i = 0; i < 6; ++i)
            QVERIFY2(curvePages[i].trimmed().startsWith(expected[i]), qPrintable(curvePages[i].left(80)));

        const QString engine = curvePages[0].simplified();
        QVERIFY2(engine.contains(QStringLiteral("Displayed Value in °C")), qPrintable(engine));
        QVERIFY(!engine.contains(QStringLiteral("°F")));
        QVERIFY(engine.contains(QStringLiteral("180 ohm, 138 °C")));
        QVERIFY(curvePages[2].simplified().contains(QStringLiteral("Displayed Value in bar")));
        // 137.8 °C at the top of the curve: the axis ends at 140, not at 280 °F.
        QVERIFY(engine.contains(QStringLiteral(" 140 ")));
        QVERIFY(!engine.contains(QStringLiteral(" 280 ")));

        // Every footer counts to the last page; no instrument was connected.
        QVERIFY(pages.last().contains(QStringLiteral("Page %1 of %1").arg(pages.size())));
        QVERIFY(!pages.first().contains(QStringLiteral("Connected instrument")));
    }

    void failedWriteLeavesNothing()
    {
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("missing/BOAT.pdf"));
        const report::Result result = report::writePdf(defaults(), kIdentity, path);
        QVERIFY(!result.ok());
        QVERIFY(!QFile::exists(path));
        QVERIFY(!report::writePictures(defaults(), folder.file(QStringLiteral("missing"))).isEmpty());
        QVERIFY(!folder.exists(QStringLiteral("missing/CONFIG01.PNG")));
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
