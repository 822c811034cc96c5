#pragma once

#include <QByteArray>
#include <QImage>

namespace vedivez {

// Decodes a JPEG image held in memory with libjpeg: greyscale images come back as
// Format_Grayscale8, colour ones as Format_RGB888. Anything libjpeg reports as an error or a
// warning (a truncated or damaged file, a header that is not JPEG, an absurd size) gives a
// null image; the process is never ended.
QImage DecodeJpeg(const QByteArray& data);

} // namespace vedivez
