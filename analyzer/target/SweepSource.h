#pragma once
// What a sweep target reads from the analyzer dialog that sends it a sweep's events: the reading
// just accepted, the channel-ratio choice and the line naming the system that gathered the data;
// and what it asks of the dialog when the acquisition ends.

#include <QObject>

#include <string>

#include "analyzer/sweep/ChannelLists.h"
#include "analyzer/sweep/SweepState.h"

class SweepSource {
public:
    virtual ~SweepSource() = default;

    virtual const analyzer::Reading& CurrentReading() const = 0;
    // The "Chann&el Ratio:" choice: numerator and denominator channel.
    virtual analyzer::ChannelPair ChannelChoice() const = 0;
    // "Data gathered by the ... System\r\n".
    virtual std::string AcquisitionLine() const = 0;
    // Acquisition ended: store the dialog's settings in its preference block and hide the dialog.
    virtual void StoreParametersAndHide() = 0;
    // The object whose lifetime bounds a posted event from this source.
    virtual QObject* SourceObject() = 0;
};
