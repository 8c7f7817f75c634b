#pragma once
// A display saved as a JPEG picture: drawn off-screen at its client size as on a printing
// surface (child dialogs painted in), so the picture equals the printout.
#include <QImage>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CTalView;

// 24-bit RGB rows, top row first, from any image (the alpha byte is ignored).
std::vector<uint8_t> RgbRowsFromImage(const QImage& image);

// Where the quality comes from: by default the "Jpeg Quality" dialog; nothing when cancelled.
using JpegQualityHook = std::function<std::optional<int>(CTalView& view)>;
void SetJpegQualityHook(JpegQualityHook hook);  // an empty hook restores the dialog

// Asks for the quality, draws the display and writes the picture; false when cancelled or
// nothing could be written.
bool SaveDisplayAsJpeg(CTalView& view, const std::string& path);
// Save To JPG: the file chooser, then SaveDisplayAsJpeg.
void OnSaveToJpg(CTalView& view);
