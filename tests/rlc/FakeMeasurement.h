#pragma once
// Stand-ins for the two seams of the measurement workflow: an analyzer dialog whose sweep
// appends a data set measured on a simulated fixture, and a workspace of documents with one
// active display.
#include <complex>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/CLocaleNumbers.h"
#include "data/TalDocument.h"
#include "rlc/workflow/MeasurementAnalyzer.h"

namespace rlctest {

class FakeWorkspace : public MeasurementWorkspace {
public:
    FakeWorkspace() { OpenImpedanceDocument(); }

    bool HasActiveDisplay() const override { return display; }
    CTalDocument* ActiveDocument() override { return display ? active : nullptr; }
    void HideDataSet(int index) override { hidden.push_back(index); }
    void CloseActiveDocument() override
    {
        log.push_back("close");
        for (auto it = documents.begin(); it != documents.end(); ++it)
            if (it->get() == active) {
                documents.erase(it);
                break;
            }
        active = documents.empty() ? nullptr : documents.back().get();
    }
    CTalDocument* OpenImpedanceDocument() override
    {
        log.push_back("open");
        documents.push_back(std::make_unique<CTalDocument>());
        active = documents.back().get();
        active->OnNewDocument();
        display = true;
        return active;
    }

    std::vector<std::unique_ptr<CTalDocument>> documents;
    CTalDocument* active = nullptr;
    bool display = true;
    std::vector<int> hidden;
    std::vector<std::string> log;
};

// The fixture the fake sweep measures: series parasitics, a capacitance across the terminals,
// and the terminals open, shorted or holding the component.
struct Fixture {
    enum State { Open, Shorted, Component } state = Open;
    std::complex<double> seriesR = 0.05;
    double seriesL = 20e-9;
    double parallelC = 5e-12;
    std::function<std::complex<double>(double w)> component;

    std::complex<double> Impedance(double w) const
    {
        const std::complex<double> j(0, 1);
        const std::complex<double> zs = seriesR + j * w * seriesL;
        const std::complex<double> zp = 1.0 / (j * w * parallelC);
        if (state == Shorted)
            return zs;
        if (state == Open)
            return zs + zp;
        const std::complex<double> zd = component(w);
        return zs + zd * zp / (zd + zp);
    }
};

class FakeAnalyzer : public MeasurementAnalyzer {
public:
    explicit FakeAnalyzer(FakeWorkspace& workspace) : m_workspace(workspace) {}

    void SetSweepRange(double start, double stop) override { Log(FormatC("range %g %g", start, stop)); }
    double GetMaxAcVoltsOut() override
    {
        Log("max?");
        return maxAcVolts;
    }
    void SetAcVoltsOut(double amplitude, double ceiling) override
    {
        Log(FormatC("ac %g %g", amplitude, ceiling));
    }
    void SetFrequencyDisplay(double f) override { Log(FormatC("frequency %g", f)); }
    void StartCallbackSweep(SweepListener& l) override
    {
        Log("sweep");
        listener = &l;
    }
    void SelectChannelRatio(int pair) override { Log(FormatC("ratio %d", pair)); }
    void SelectInputRange(int entry) override { Log(FormatC("input range %d", entry)); }
    void SelectInputTypeChannel1(int entry) override { Log(FormatC("input type %d", entry)); }

    // Ends the pending sweep: with code 0 the active document first receives the sweep's set,
    // read on the current node across the reference resistor (scale factor -Rref, as the
    // displays give it while the panel exists).
    void FinishSweep(int code = 0, bool appendSet = true)
    {
        SweepListener* l = listener;
        listener = nullptr;
        if (!l)
            return;
        CTalDocument* doc = m_workspace.ActiveDocument();
        if (doc && appendSet) {
            const int index = doc->StartAcquisitionSet();
            doc->GetDataSet(index)->m_inputNode = 1;
            doc->GetDataSet(index)->m_outputNode = 2;
            for (double f : frequencies) {
                const std::complex<double> z = fixture.Impedance(2 * 3.141592653589793 * f);
                doc->AppendAcquisitionPoint(f, 1, 0, std::abs(z) / referenceResistor,
                                            std::arg(z) * 180 / 3.141592653589793 - 180, 0, 0, 0, 0);
            }
            doc->GetDataSet(index)->SetScaleFactor(-referenceResistor);
            doc->EndAcquisition();
        }
        l->OnSweepComplete(code);
    }

    bool SweepPending() const { return listener != nullptr; }
    void Log(const std::string& s) { calls.push_back(s); }

    Fixture fixture;
    std::vector<double> frequencies;
    double referenceResistor = 100;
    double maxAcVolts = 5;
    std::vector<std::string> calls;
    SweepListener* listener = nullptr;

private:
    FakeWorkspace& m_workspace;
};

}  // namespace rlctest
