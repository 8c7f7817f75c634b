#include "analyzer/target/SweepTarget.h"

#include <cstdio>

#include "analyzer/target/SweepBand.h"
#include "data/DocumentView.h"
#include "data/TalDocument.h"

namespace {

const char* const kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

} // namespace

// Written out by hand rather than with strftime, whose names follow the process locale.
std::string AcquisitionTimeStamp(std::time_t when)
{
    std::tm local{};
    if (!localtime_r(&when, &local))
        return std::string();
    const int hour12 = (local.tm_hour % 12 == 0) ? 12 : local.tm_hour % 12;
    char text[96];
    std::snprintf(text, sizeof text, "%02d:%02d%s %s, %s %02d, %d", hour12, local.tm_min,
                  local.tm_hour < 12 ? "AM" : "PM", kWeekdays[local.tm_wday % 7], kMonths[local.tm_mon % 12],
                  local.tm_mday, local.tm_year + 1900);
    return text;
}

SweepTarget::SweepTarget(CTalDocument& document, SweepTargetHost* host, QObject* parent)
    : QObject(parent), m_document(document), m_host(host ? host : &m_defaultHost),
      m_clock([] { return std::time(nullptr); })
{
}

void SweepTarget::OnNewSweep(SweepSource&)
{
    m_host->DeselectAllDataSets();
    m_document.EndAcquisition();
    m_document.SetModifiedFlag();
}

void SweepTarget::OnNewReading(SweepSource& source)
{
    const analyzer::Reading& r = source.CurrentReading();
    const bool appendedToExisting = m_document.IsAcquiring();
    int index = -1;
    if (!appendedToExisting) {
        index = m_document.StartAcquisitionSet();
        if (CDataSet* set = m_document.GetDataSet(index))
            set->m_description = source.AcquisitionLine() + AcquisitionTimeStamp(m_clock());
    }
    double previousFrequency = 0.0;
    if (appendedToExisting && m_document.m_acquisitionSet) {
        const CDataSet& set = *m_document.m_acquisitionSet;
        if (const int count = set.GetPointCount(); count > 0)
            previousFrequency = set.GetFrequency(count - 1);
    }
    m_document.AppendAcquisitionPoint(r.frequency, r.amplitude[0], r.phase[0], r.amplitude[1], r.phase[1],
                                      r.amplitude[2], r.phase[2], r.amplitude[3], r.phase[3]);
    if (!appendedToExisting) {
        // The nodes are set after the first point, which they must exist in.
        m_document.SetOutputNode(index, m_defaults.outputNode);
        m_document.SetInputNode(index, m_defaults.inputNode);
        if (const auto reference = m_host->RlcReferenceResistor()) {
            m_document.SetScaleFactor(index, -*reference);
        } else {
            m_document.SetScaleFactor(index, m_defaults.scaleFactor);
            m_host->OnDataSetProperties();
        }
    }
    if (appendedToExisting && !m_host->AutomaticScaling()) {
        sweepBand().previousFrequency = previousFrequency;
        sweepBand().currentFrequency = r.frequency;
        m_document.UpdateAllViews(HINT_POINT_APPENDED);
    } else {
        m_document.UpdateAllViews(HINT_ALL);
    }
}

void SweepTarget::OnAcquisitionEnded(SweepSource& source)
{
    m_document.EndAcquisition();
    const analyzer::ChannelPair choice = source.ChannelChoice();
    m_defaults.outputNode = choice.numerator;
    m_defaults.inputNode = choice.denominator;
    source.StoreParametersAndHide();
}
