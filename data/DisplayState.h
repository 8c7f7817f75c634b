#pragma once
// The first display's state as a document file stores it after the data: slide bars,
// selection, description windows, ranges, defaults, title, text boxes, legend and the
// Nyquist settings. A plain record: the reader fills it and the writer writes it; the
// displays turn it into windows.
#include <cstdint>
#include <string>
#include <vector>

struct StoredRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const StoredRect&) const = default;
};

// The common part of every annotation box.
struct StoredViewObj {
    StoredRect rect;
    int32_t resizable = 1, movable = 1, selectable = 1, shown = 1, fourthFlag = 1, gripSize = 20;
    bool operator==(const StoredViewObj&) const = default;
};

// A text box or the title.
struct StoredTextBox {
    StoredViewObj obj;
    std::string text;
    int32_t textInt = 0;     // stored with the text (colour)
    uint16_t textShort = 0;  // stored with the text (justification)
    bool operator==(const StoredTextBox&) const = default;
};

struct StoredLegend {
    StoredViewObj obj;
    std::vector<uint32_t> colors;
    std::vector<std::string> texts;
    int32_t extra = 0;
    bool operator==(const StoredLegend&) const = default;
};

struct StoredSlideBar {
    int32_t dataSetIndex = 0;
    double frequency = 0;
    double value = 0;        // absent in the old layout (marker below 0x100000)
    StoredRect rect;
    bool operator==(const StoredSlideBar&) const = default;
};

struct StoredDescriptionWindow {
    int32_t present = 0;
    int32_t dataSetIndex = 0;  // only when present
    StoredRect rect;           // only when present
    bool operator==(const StoredDescriptionWindow&) const = default;
};

struct DisplayState {
    static constexpr int32_t kFormatMarker = 0x100002;

    int32_t formatMarker = kFormatMarker;
    std::vector<StoredSlideBar> slideBars;
    std::vector<int32_t> selected;  // one selected flag per data set
    std::vector<StoredDescriptionWindow> descriptionWindows;
    // frequency min, max; gain min, max; impedance min, max; phase min, max; reserved pair
    double ranges[10] = {10, 1e6, -60, 20, 1e-3, 1e6, -180, 180, 0, 0};
    int32_t gridColor = 0xC0C0C0;
    int32_t dataNumbersShown = 1;
    int32_t automaticScaling = 1;
    std::string displayMode;
    int32_t defaultOutputNode = 2;
    int32_t defaultInputNode = 1;
    double defaultScaleFactor = 1.0;
    // Present only in documents of version 1002 and later.
    bool titlePresent = false;
    StoredTextBox title;
    std::vector<StoredTextBox> descriptions;
    StoredLegend legend;
    int32_t nyquistReserved = 0, nyquistOptions = 0, nyquistPhaseFlip = 0;

    bool operator==(const DisplayState&) const = default;
};
