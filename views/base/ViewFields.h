#pragma once
// The display attributes every graph display keeps (axis ranges, layout rectangles, pens,
// colours, flags, per-data-set selection and visibility), with their initial values.
#include <cstdint>
#include <string>
#include <vector>

#include "data/DisplayState.h"
#include "views/base/HitGeometry.h"
#include "views/base/LogicalMapping.h"

// What the last complete drawing of one curve found, so that a repaint of a band (a reading
// appended during a sweep) draws only the points near it: the label's anchor and how many
// points the hit geometry covers.
struct CurveMemo {
    bool labelled = false;
    LogicalPoint anchor;
    int hitPoints = 0;
};

// One entry per data set of the document, same index.
struct GraphAttrib {
    bool selected = true;
    bool visible = true;
    HitGeometry hit;     // rebuilt on every complete drawing, extended by band repaints
    CurveMemo curves[2];  // gain (or impedance) and phase
};

// A frequency cursor as the display keeps it; its dialog belongs to the display's slide bars
// (views/slidebar/SlideBars.h).
struct SlideBarState {
    int dataSetIndex = 0;
    double frequency = 1000.0;
    double value = 0;
    StoredRect rect;  // the dialog's placement, client pixels
    bool dragging = false;
    HitGeometry region;  // where the bar is drawn and grabbed; rebuilt by every drawing
};

// The defaults a display gives the data sets it creates live in its sweep target.
struct ViewFields {
    ViewFields();

    int firstUpdate = 1;
    int markerPresent = 0;
    double frequencyMin = 1.0, frequencyMax = 1e6;
    double gainMin = -60.0, gainMax = 60.0;
    double impedanceMin = 1.0, impedanceMax = 10000.0;
    double phaseMin = -180.0, phaseMax = 180.0;
    double reserved[2] = {0.0001, 1.0};
    LogicalRect graphRect{60, 60, 940, 940};
    LogicalRect textRect{150, 100, 850, 830};
    int heavyPenWidth = 2;
    int lightPenWidth = 1;
    int markerHalfSize = 5;
    uint32_t gridColor = 0x00FF00;
    uint32_t nyquistAuxColor = 0xFF00FF;
    int dataNumbersShown = 1;
    int automaticScaling = 0;
    std::string displayMode = "Unknown";
    int loadedFromFile = 0;
    int storedFormatMarker = 0;
    std::vector<SlideBarState> slideBars;
    std::vector<StoredTextBox> descriptions;  // graph text boxes
    StoredLegend legend;                      // not shown until toggled
    int currentDataSet = -1;
    bool titlePresent = false;
    StoredTextBox title;
    int nyquistOptions = 4, nyquistReserved = 0, nyquistPhaseFlip = 0;
    std::vector<GraphAttrib> attribs;
    int cacheValid = 0;
};

// Puts ranges read from outside (files, dialogs, other displays) into the drawable limits:
// frequencies within [1e-6, 1e15], gain and phase within [-10000, 10000], impedance within
// [1e-99, 1e99]; values that are no numbers take the defaults.
void SanitizeRanges(ViewFields& fields);
