#include "dialogs/JpegImage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vedivez {

namespace {

// Pictures beyond this many pixels are refused before anything is allocated for them.
constexpr unsigned long long kMaxPixels = 64ull * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

// libjpeg carries on after a warning (missing data is filled with grey); a damaged picture is
// not worth showing, so warnings end the decoding too. Trace messages (level > 0) are ignored.
void EmitMessage(j_common_ptr info, int level) {
    if (level < 0)
        ErrorExit(info);
}

void OutputMessage(j_common_ptr) {}

// Runs libjpeg between setjmp and the possible longjmp back. Nothing with a destructor lives
// in this frame, and the result goes to an object of the caller's frame, so jumping back
// skips no destructor and leaves no local in an indeterminate state that is used afterwards.
bool DecodeInto(const unsigned char* bytes, unsigned long size, QImage* out) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.emit_message = EmitMessage;
    errors.base.output_message = OutputMessage;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, size);
    jpeg_read_header(&info, TRUE);
    const bool grey = info.num_components == 1;
    info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_calc_output_dimensions(&info);
    if (info.output_width == 0 || info.output_height == 0 ||
        (unsigned long long)info.output_width * info.output_height > kMaxPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    *out = QImage(int(info.output_width), int(info.output_height),
                  grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (out->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.isEmpty())
        return {};
    QImage image;
    if (!DecodeInto(reinterpret_cast<const unsigned char*>(data.constData()),
                    static_cast<unsigned long>(data.size()), &image))
        return {};
    return image;
}

} // namespace vedivez
