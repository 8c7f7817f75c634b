#pragma once
// What a sweep target needs from the display that owns it. The defaults suit a target without a
// window (the command-line tool): automatic scaling off, no RLC panel, nothing to open.

#include <optional>

class SweepTargetHost {
public:
    virtual ~SweepTargetHost() = default;

    // The new-sweep message deselects every data set of the display.
    virtual void DeselectAllDataSets() {}
    // With automatic scaling on, every reading redraws the whole display (hint 0).
    virtual bool AutomaticScaling() const { return false; }
    // The RLC reference resistor while the RLC control panel window exists, else none.
    virtual std::optional<double> RlcReferenceResistor() const { return std::nullopt; }
    // Opens the data-set properties dialog for the sweep's new data set.
    virtual void OnDataSetProperties() {}
};
