#pragma once
// Shared pieces of the display tests: the offscreen application, data sets built from gain
// and phase values, and renderers drawn into images of a fixed size.
#include <QImage>
#include <initializer_list>
#include <memory>

#include "data/DataSet.h"
#include "data/TalDocument.h"
#include "views/base/GraphRenderer.h"

namespace viewtest {

struct GainPoint {
    double frequency;
    double gainDB;
    double phase;
};

// A data set whose gain (node 2 over node 1) and phase are the given values.
std::unique_ptr<CDataSet> MakeGainSet(std::initializer_list<GainPoint> points);
// The same set with an impedance magnitude in ohms instead of a gain in dB.
std::unique_ptr<CDataSet> MakeImpedanceSet(std::initializer_list<GainPoint> points);

// Lays the renderer out for a w x h device (graph and text rectangles) and draws it.
QImage Render(CGraphRenderer& renderer, int width, int height);
// Lays out only, for tests of geometry.
void Layout(CGraphRenderer& renderer, int width, int height);

// 0x00BBGGRR as the pixel value an image holds.
QRgb Pixel(uint32_t colorRef);
// How many pixels of `color` row y holds in [x0, x1].
int CountInRow(const QImage& image, int y, int x0, int x1, QRgb color);
int CountInColumn(const QImage& image, int x, int y0, int y1, QRgb color);
// Pixels of `color` in the rectangle [x0, x1] x [y0, y1].
int CountInRect(const QImage& image, int x0, int y0, int x1, int y1, QRgb color);
// Pixels that are not white in the rectangle.
int CountInked(const QImage& image, int x0, int y0, int x1, int y1);

}  // namespace viewtest
