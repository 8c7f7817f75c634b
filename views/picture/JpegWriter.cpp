#include "views/picture/JpegWriter.h"

#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

namespace {

// The standard error manager ends the process on a fatal error; this one returns to the
// writer instead, which then gives up on the file.
struct ErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Runs the compressor; kept apart from the caller so no object with a destructor lives in the
// frame that longjmp leaves.
bool Compress(std::FILE* file, const uint8_t* rows, int width, int height, int quality)
{
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = ErrorExit;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    info.density_unit = 1;  // dots per inch
    info.X_density = 72;
    info.Y_density = 72;
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t stride = size_t(width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows + size_t(info.next_scanline) * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

bool WriteJpegFile(const std::vector<uint8_t>& rgbRows, int width, int height, int quality,
                   const std::string& path)
{
    if (path.empty() || rgbRows.empty() || width <= 0 || height <= 0 || quality > 100)
        return false;
    if (rgbRows.size() / 3 / size_t(width) < size_t(height))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool compressed = Compress(file, rgbRows.data(), width, height, quality);
    const bool closed = std::fclose(file) == 0;
    if (compressed && closed)
        return true;
    std::remove(path.c_str());
    return false;
}
