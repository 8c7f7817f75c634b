#pragma once
// JPEG compression of a picture through libjpeg: 24-bit RGB rows, top row first, each row
// width * 3 bytes (red, green, blue).
#include <cstdint>
#include <string>
#include <vector>

// Writes the rows at the quality (at most 100) with baseline tables and a density of 72 x 72
// dots per inch. Nothing is written for an empty path, no rows, a size that is not positive,
// rows shorter than width * height * 3 bytes, or a quality above 100; false then and when the
// file cannot be opened or compression fails (a partly written file is removed).
bool WriteJpegFile(const std::vector<uint8_t>& rgbRows, int width, int height, int quality,
                   const std::string& path);
