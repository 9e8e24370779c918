// The configuration report (PDF) and the pictures of the sixteen display
// configurations (PNG), painted without widgets so that the command line can make
// them without a display.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>

struct ConfigImage;

namespace report
{

// What the title page says besides the image itself.
struct Identity {
    QString fileName;  // the configuration the report is of
    QDateTime created; // the report's date
    // The connected instrument's identification, "Unknown" or empty when not known.
    QString serialNumber;
    QString softwareVersion;
    QString hardwareVersion;
};

struct Result {
    QString error;          // empty when the file was written
    int pages = 0;          // pages painted
    QStringList pageTitles; // the heading of each page, in order
    QStringList texts;      // every text painted on the pages, in order (not those of the face pictures)
    bool ok() const { return error.isEmpty(); }
};

// Writes the report to `path` through a temporary file: a failure leaves any old
// file whole and says why. Needs a QGuiApplication (fonts), not a display.
Result writePdf(const ConfigImage &image, const Identity &identity, const QString &path);

// The face of display configuration `config` (1..16) on a transparent picture.
QImage facePicture(const ConfigImage &image, int config, const QSize &size = QSize(1280, 800));
// "CONFIG01.PNG" .. "CONFIG16.PNG".
QString pictureName(int config);
// Writes the sixteen pictures into `folder`, each through a temporary file. Stops at
// the first failure and returns why (the pictures written before it are whole);
// empty when all were written. `written` receives the paths written.
QString writePictures(const ConfigImage &image, const QString &folder, QStringList *written = nullptr);

} // namespace report
