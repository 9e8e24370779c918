#include "render/Report.h"

#include "core/ConfigImage.h"
#include "core/CurveValues.h"
#include "core/DataSources.h"
#include "core/DisplayTable.h"
#include "core/FieldTable.h"
#include "core/IconTable.h"
#include "core/ImageLayout.h"
#include "core/NumberText.h"
#include "core/SenderLists.h"
#include "core/TransferRules.h"
#include "render/FacePainter.h"
#include "render/ReportWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace report
{
namespace
{

const QString kSep = QStringLiteral(" · ");

// The named field at a place of the image; `mask` picks one of the bit fields of a byte.
const fields::Field *fieldAt(fields::Area area, int index, int offset, quint8 mask = 0)
{
    for (const fields::Field &f : fields::table())
        if (f.area == area && f.index == index && f.offset == offset && !f.raw && (!mask || f.mask == mask))
            return &f;
    return nullptr;
}

// A field's name without the leading parts a page heading already says.
QString shortName(const QString &name, int dropParts)
{
    return name.section(kSep, dropParts);
}

bool known(const QString &text)
{
    return !text.isEmpty() && text != QLatin1String("Unknown");
}

// A two-byte value of erased memory (both bytes 255) was never set.
QString valueText(const fields::Field &f, const ConfigImage &image)
{
    const quint8 *bytes = f.area == fields::Area::Block ? image.blocks[f.index] + f.offset : image.system + f.offset;
    if (f.area != fields::Area::Curve && f.length == 2 && bytes[0] == 0xFF && bytes[1] == 0xFF)
        return QStringLiteral("not set");
    return f.text(image);
}

void titlePage(ReportWriter &w, const ConfigImage &image, const Identity &id)
{
    w.page(QStringLiteral("Corvane Configuration Report"));
    const fields::Field *serial = fieldAt(fields::Area::System, 0, 12);
    const fields::Field *counter = fieldAt(fields::Area::System, 0, 10);
    const fields::Field *first = fieldAt(fields::Area::System, 0, 17);
    std::vector<Row> rows{
        {QStringLiteral("Report made"), QLocale::c().toString(id.created, QStringLiteral("yyyy-MM-dd HH:mm"))},
        {QStringLiteral("Configuration"), id.fileName},
        {QStringLiteral("Serial number in the configuration"), serial->text(image)},
        {QStringLiteral("Upload counter"), counter->text(image)},
        {QStringLiteral("Date of the first upload"), first->text(image)},
    };
    // The instrument the editor talked to, when it talked to one.
    if (known(id.serialNumber) || known(id.softwareVersion) || known(id.hardwareVersion)) {
        const auto shown = [](const QString &text) { return known(text) ? text : QStringLiteral("not known"); };
        rows.push_back({QStringLiteral("Connected instrument"), QString(), true});
        rows.push_back({QStringLiteral("Serial number"), shown(id.serialNumber)});
        rows.push_back({QStringLiteral("Software version"), shown(id.softwareVersion)});
        rows.push_back({QStringLiteral("Hardware version"), shown(id.hardwareVersion)});
    }
    w.table(QRectF(ReportWriter::kMargin, 96, 460, 200), rows, 0, 220);
    w.text(QRectF(ReportWriter::kMargin, 250, 700, 120), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
           QStringLiteral("Contents: the sixteen display configurations, each as the instrument's face shows it with "
                          "its data sources, alarm and bar limits and icons; the alarm limits of every data source; "
                          "units and settings; tanks; damping; time-of-day alarms; NMEA sentence selections; the "
                          "sender types; and the six sender curves an upload writes, each with its points."),
           10);
}

// The five displays of a configuration with their sources, alarm limits and bar limits.
std::vector<Row> displayRows(const ConfigImage &image, int n)
{
    std::vector<Row> rows;
    for (const displays::DisplayDef &display : displays::kDisplays) {
        rows.push_back({QLatin1String(display.frameTitle), QString(), true});
        const int d = display.codeByte;
        const fields::Field *source = fieldAt(fields::Area::Block, n, d);
        rows.push_back({QStringLiteral("Display Data from"), source->text(image)});
        const datasources::AlarmSlot slot = datasources::alarmSlot(image.blocks[n][d]);
        for (int part = 0; part < 2; ++part) {
            const fields::Field *alarm = slot.first ? fieldAt(fields::Area::System, 0, slot.first + 2 * part) : nullptr;
            rows.push_back({part ? QStringLiteral("High Alarm Limit") : QStringLiteral("Low Alarm Limit"),
                            alarm ? valueText(*alarm, image) : QStringLiteral("none for this source")});
        }
        if (!display.isBar)
            continue;
        for (int offset : {d + 1, d + 3}) {
            const fields::Field *limit = fieldAt(fields::Area::Block, n, offset);
            rows.push_back({shortName(limit->name, 2), valueText(*limit, image)});
        }
    }
    return rows;
}

void configurationPage(ReportWriter &w, const ConfigImage &image, int n)
{
    w.page(fields::groupName(fields::kConfiguration1 + n - 1));
    const qreal m = ReportWriter::kMargin;
    const QRectF faceBox(m, ReportWriter::kTop, 480, 300);
    face::paintFace(w.painter(), faceBox, face::stateOf(image, n));

    // The icons under the face, in two columns.
    std::vector<Row> icons;
    for (const icons::IconDef &icon : icons::kIcons) {
        const fields::Field *f = fieldAt(fields::Area::Block, n, icon.byte, quint8(1u << icon.bit));
        icons.push_back({shortName(f->name, 2), f->text(image)});
    }
    const qreal iconsTop = faceBox.bottom() + 22;
    w.text(QRectF(m, iconsTop - 14, 200, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Icons"), 11, true);
    const size_t half = (icons.size() + 1) / 2;
    const std::vector<Row> left(icons.begin(), icons.begin() + long(half));
    const std::vector<Row> right(icons.begin() + long(half), icons.end());
    w.table(QRectF(m, iconsTop + 2, 232, ReportWriter::kBottom - iconsTop), left, 0, 160);
    w.table(QRectF(m + 248, iconsTop + 2, 232, ReportWriter::kBottom - iconsTop), right, 0, 160);

    const qreal x = faceBox.right() + 24;
    const qreal width = ReportWriter::kPageW - m - x;
    w.text(QRectF(x, ReportWriter::kTop - 2, width, 14), Qt::AlignLeft | Qt::AlignVCenter,
           QStringLiteral("Data sources, alarm and bar limits"), 11, true);
    w.table(QRectF(x, ReportWriter::kTop + 14, width, ReportWriter::kBottom - ReportWriter::kTop - 14),
            displayRows(image, n), 0, width * 0.5);
}

// The named fields of a group in the system block, as rows.
std::vector<Row> groupRows(const ConfigImage &image, int group)
{
    std::vector<Row> rows;
    for (const fields::Field &f : fields::table())
        if (f.group == group && f.area == fields::Area::System && !f.raw && !f.derived)
            rows.push_back({f.name, valueText(f, image)});
    return rows;
}

// Each time-of-day alarm on one row: "07:30".
std::vector<Row> timeOfDayRows(const ConfigImage &image)
{
    std::vector<Row> rows;
    for (int k = 1; k <= layout::kTodAlarmCount; ++k) {
        const int hours = layout::todAlarmHours(k);
        rows.push_back({QStringLiteral("Time-Of-Day Alarm #%1").arg(k),
                        numtext::formatTwoDigits(image.system[hours]) + QLatin1Char(':') +
                            numtext::formatTwoDigits(image.system[hours + 1])});
    }
    return rows;
}

void settingsPages(ReportWriter &w, const ConfigImage &image)
{
    const QString heading = QStringLiteral("Settings");
    for (int group : {int(fields::kUnitsAndSettings), int(fields::kTanks), int(fields::kDamping)})
        w.flow(heading, fields::groupName(group), groupRows(image, group));
    w.flow(heading, fields::groupName(fields::kTimeOfDayAlarms), timeOfDayRows(image));
    for (int group : {int(fields::kAlarmsAndLimits), int(fields::kNmea)})
        w.flow(heading, fields::groupName(group), groupRows(image, group));
    w.flow(heading, QStringLiteral("Sender types"), groupRows(image, fields::kSenderCurves));
}

// The list entry that offers a curve ("9: User defined fuel sender curve"), or empty.
QString offeringEntry(int curve)
{
    for (senderlists::SenderList list : senderlists::kAllLists)
        for (int position = 1; position < senderlists::entries(list).size(); ++position)
            if (senderlists::typeForPosition(list, position) == curve)
                return senderlists::entries(list).at(position).simplified();
    return QString();
}

// One of the curves an upload writes: its chart and its points, both in the units the
// image's settings choose.
void curvePage(ReportWriter &w, const ConfigImage &image, int curve)
{
    const QString entry = offeringEntry(curve);
    w.page(entry.isEmpty() ? QStringLiteral("Sender curve %1 (no sender list offers it)").arg(curve)
                           : QStringLiteral("Sender curve ") + entry);
    const bool celsius = !(image.system[layout::kDisplayFlags] & layout::kFahrenheitBit);
    const bool bars = !(image.system[layout::kDisplayFlags] & layout::kPsiBit);
    const QString unit = curvevalues::unitName(curve, celsius, bars);
    std::vector<QPointF> points;
    std::vector<Row> rows;
    for (int p = 1; p <= 32; ++p) {
        const double ohms = image.curves[curve][p][1];
        const double value = curvevalues::shownValue(curve, image.curves[curve][p][2], celsius, bars);
        if (std::isfinite(ohms) && std::isfinite(value))
            points.push_back(QPointF(ohms, value));
        rows.push_back({QStringLiteral("Point %1").arg(p), fieldAt(fields::Area::Curve, curve, p)->text(image)});
    }
    const qreal m = ReportWriter::kMargin;
    w.chart(QRectF(m, ReportWriter::kTop + 4, 500, ReportWriter::kBottom - ReportWriter::kTop - 8), points,
            QStringLiteral("Resistance in Ohms"),
            unit.isEmpty() ? QStringLiteral("Displayed Value") : QStringLiteral("Displayed Value in %1").arg(unit));
    const qreal x = m + 520;
    w.table(QRectF(x, ReportWriter::kTop, ReportWriter::kPageW - m - x, ReportWriter::kBottom - ReportWriter::kTop),
            rows, 0, 60);
}

void paintReport(ReportWriter &w, const ConfigImage &image, const Identity &id)
{
    titlePage(w, image, id);
    for (int n = 1; n <= 16; ++n)
        configurationPage(w, image, n);
    settingsPages(w, image);
    for (int curve : transfer::uploadedCurves())
        curvePage(w, image, curve);
}

void setUpPdf(QPdfWriter &pdf, const Identity &identity)
{
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(600);
    pdf.setTitle(QStringLiteral("Corvane Configuration Report: ") + identity.fileName);
    pdf.setCreator(QStringLiteral("Corvane Display Configuration Editor"));
}

QString footerOf(const Identity &identity)
{
    return QStringLiteral("Corvane configuration report · ") + identity.fileName;
}

// The pages the report takes, painted once to memory so that every footer can say "of N".
int countPages(const ConfigImage &image, const Identity &identity)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    setUpPdf(pdf, identity);
    ReportWriter writer(pdf, footerOf(identity));
    if (!writer.isActive())
        return 0;
    paintReport(writer, image, identity);
    writer.finish();
    return writer.result().pages;
}

} // namespace

Result writePdf(const ConfigImage &image, const Identity &identity, const QString &path)
{
    Result result;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString();
        return result;
    }
    const int pages = countPages(image, identity);
    {
        QPdfWriter pdf(&file);
        setUpPdf(pdf, identity);
        ReportWriter writer(pdf, footerOf(identity), pages);
        if (!writer.isActive()) {
            result.error = QStringLiteral("the PDF could not be started");
            file.cancelWriting();
            return result;
        }
        paintReport(writer, image, identity);
        const bool ended = writer.finish();
        result = writer.result();
        if (!ended)
            result.error = QStringLiteral("the PDF could not be finished");
    }
    if (result.ok() && file.error() != QFileDevice::NoError)
        result.error = file.errorString();
    if (result.ok() && !file.commit())
        result.error = file.errorString();
    if (!result.ok())
        file.cancelWriting();
    return result;
}

QImage facePicture(const ConfigImage &image, int config, const QSize &size)
{
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    face::paintFace(p, QRectF(QPointF(0, 0), QSizeF(size)), face::stateOf(image, config));
    return picture;
}

QString pictureName(int config)
{
    return QStringLiteral("CONFIG%1.PNG").arg(config, 2, 10, QLatin1Char('0'));
}

QString writePictures(const ConfigImage &image, const QString &folder, QStringList *written)
{
    for (int n = 1; n <= 16; ++n) {
        const QString path = QDir(folder).filePath(pictureName(n));
        QSaveFile file(path);
        QString reason;
        if (!file.open(QIODevice::WriteOnly))
            reason = file.errorString();
        else if (!facePicture(image, n).save(&file, "PNG"))
            reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                          : QStringLiteral("the picture could not be encoded");
        else if (!file.commit())
            reason = file.errorString();
        if (!reason.isEmpty()) {
            file.cancelWriting();
            return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
        }
        if (written)
            *written << path;
    }
    return QString();
}

} // namespace report
