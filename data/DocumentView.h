#pragma once
// What a document tells its displays. The displays implement it; tests use a recording view.
#include <string>

#include "data/DisplayState.h"

enum class DisplayKind { Gain, Imp, Volt, Text, Nyq };

// Update hints sent to every view.
constexpr int HINT_ALL = 0;
constexpr int HINT_POINT_APPENDED = 1036;
constexpr int HINT_VOLTAGE_FORMAT = 1037;

class CDocumentView {
public:
    virtual ~CDocumentView() = default;

    // True for a graph or text display (a CTalView); the first such view owns the stored state.
    virtual bool IsDisplayView() const { return true; }
    virtual DisplayKind GetDisplayKind() const = 0;

    virtual void AddDataSetAttributes(int index) = 0;
    virtual void RemoveDataSetAttributes(int index) = 0;
    virtual void RefreshDescriptionDialog(int index) = 0;
    virtual void OnUpdate(int hint) = 0;

    // Display state written after the data (first display view only) and read back.
    virtual void StoreDisplayState(DisplayState& state) const = 0;
    virtual void LoadDisplayState(const DisplayState& state) = 0;

    // Opens the data-set properties dialog (after importing voltage data without parameters).
    virtual void OnDataSetProperties() {}
    // Commits an annotation text being edited; true if one was.
    virtual bool CommitAnnotationEdit() { return false; }
    // The gain or phase colour of data set `index` changed (the legend follows the current set).
    virtual void OnDataSetColorChanged(int index) { (void)index; }
};
