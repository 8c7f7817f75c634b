#pragma once
// The display's side of a sweep: turns an analyzer dialog's new-sweep, new-reading and
// acquisition-ended events into changes of one document, as every display does, so that the
// displays and the command-line tool share one implementation.
//
// The dialog calls OnNewSweep and OnNewReading directly (sent) and OnAcquisitionEnded through the
// event loop (posted). A display owns one target and implements SweepTargetHost for it.

#include <QObject>

#include <ctime>
#include <functional>
#include <string>

#include "analyzer/target/SweepSource.h"
#include "analyzer/target/SweepTargetHost.h"

class CTalDocument;

class SweepTarget : public QObject {
    Q_OBJECT
public:
    // The display's defaults for new data sets.
    struct Defaults {
        int outputNode = 2;
        int inputNode = 1;
        double scaleFactor = 1.0;
    };

    // host may be null: the defaults of SweepTargetHost apply. Neither is owned.
    SweepTarget(CTalDocument& document, SweepTargetHost* host = nullptr, QObject* parent = nullptr);

    CTalDocument& Document() const { return m_document; }
    Defaults& DataSetDefaults() { return m_defaults; }
    const Defaults& DataSetDefaults() const { return m_defaults; }

    // A new sweep starts: every data set deselected, the document forgets its sweep data set.
    void OnNewSweep(SweepSource& source);
    // A reading: appended to the sweep's data set, which the first reading creates.
    void OnNewReading(SweepSource& source);
    // The dialog is closed: the document forgets its sweep data set, the defaults take the dialog's
    // channel choice, and the dialog stores its settings and hides itself.
    void OnAcquisitionEnded(SweepSource& source);

    // The clock of the description's time stamp (the system clock unless replaced).
    void SetClock(std::function<std::time_t()> clock) { m_clock = std::move(clock); }

private:
    CTalDocument& m_document;
    SweepTargetHost m_defaultHost;
    SweepTargetHost* m_host;
    Defaults m_defaults;
    std::function<std::time_t()> m_clock;
};

// The description's time stamp: local time as "%I:%M%p %A, %B %d, %Y" with English names.
std::string AcquisitionTimeStamp(std::time_t when);
