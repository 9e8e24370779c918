// The ".COD" code image file: a sector count line, then one "address value" line per byte, CR LF line ends.
#pragma once

#include "core/factory/CodeImage.h"
#include "core/factory/FactoryResult.h"

#include <QString>

namespace factory
{

class CodeImageFile
{
public:
    // Line 1 without its line end: S as a number field padded to 14 characters, then
    // ",Number of 64 byte Sectors" (HEX) or ", Number of 64 byte Sectors" (flash ROM).
    static QString firstLine(int sectors, CodeImageOrigin origin);
    // A byte line without its line end: " 7168" + ten blanks + "2 " for 7168 holding 2.
    static QString byteLine(int address, int value);

    // The whole file: line 1 and 64 x S byte lines from image.firstAddress on (wrapping
    // after 65535), each with CR LF.
    static QByteArray format(const CodeImage &image);
    // Writes the file atomically (QSaveFile). Returns an empty text, or what went wrong.
    static QString write(const QString &path, const CodeImage &image);

    // Reads a .COD file's text. Line 1 gives S (1..16); exactly 64 x S byte lines follow,
    // each two whole numbers (address 0..65535, not used; value 0..255); blank lines may
    // only trail. Refusals name the file and line: a malformed line, a file shorter
    // than line 1 promises, byte lines beyond what it promises.
    static FileResult<CodeImage> parse(const QByteArray &content, const QString &fileName);
    static FileResult<CodeImage> read(const QString &path);
};

} // namespace factory
