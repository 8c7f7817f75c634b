#pragma once
// The measurement workflow's workspace without windows: the documents of a run, the last one
// active, each with the sweep target a display would give it (new sweep sets get minus the
// reference resistor as scale factor, as while the RLC panel exists). Nothing is hidden: there
// is no display.
#include <functional>
#include <memory>
#include <vector>

#include "analyzer/target/SweepTarget.h"
#include "rlc/workflow/MeasurementAnalyzer.h"

class HeadlessWorkspace final : public MeasurementWorkspace {
public:
    // activeTargetChanged hears of the sweep target that becomes active (nullptr for none).
    HeadlessWorkspace(double referenceResistor, std::function<void(SweepTarget*)> activeTargetChanged);
    ~HeadlessWorkspace() override;
    HeadlessWorkspace(const HeadlessWorkspace&) = delete;
    HeadlessWorkspace& operator=(const HeadlessWorkspace&) = delete;

    bool HasActiveDisplay() const override { return !m_open.empty(); }
    CTalDocument* ActiveDocument() override;
    void HideDataSet(int /*index*/) override {}
    void CloseActiveDocument() override;
    CTalDocument* OpenImpedanceDocument() override;

private:
    class TargetHost final : public SweepTargetHost {
    public:
        explicit TargetHost(double referenceResistor) : m_referenceResistor(referenceResistor) {}
        std::optional<double> RlcReferenceResistor() const override { return m_referenceResistor; }

    private:
        double m_referenceResistor;
    };
    struct Entry {
        std::unique_ptr<CTalDocument> document;
        std::unique_ptr<SweepTarget> target;
    };
    void TellActive();

    TargetHost m_targetHost;
    std::function<void(SweepTarget*)> m_activeTargetChanged;
    std::vector<Entry> m_open;
};
