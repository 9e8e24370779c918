// Intel HEX input for code images: the bytes a HEX file holds for flash addresses 7168..8191.
#pragma once

#include "core/factory/CodeImage.h"
#include "core/factory/FactoryResult.h"

namespace factory
{

// Converts the text of an Intel HEX file into a code image of the flash window
// 7168..8191. Data bytes outside the window are skipped and do not advance the write
// address; the image runs from 7168 to the address left by the last data record
// (or further, if an earlier record stored bytes beyond it), rounded up to whole
// sectors, unfilled bytes 0.
// Refused, with "NAME, line N: ..." where a line is at fault: a line that is not a
// record, non-hex characters, a record whose length disagrees with its length field,
// a bad record checksum, an unknown record type, a file without an end record, a last
// data record that does not start inside 7168..8191, a file with no data.
FileResult<CodeImage> hexToCodeImage(const QByteArray &content, const QString &fileName);

// The same for a file on disk.
FileResult<CodeImage> readHexFile(const QString &path);

} // namespace factory
