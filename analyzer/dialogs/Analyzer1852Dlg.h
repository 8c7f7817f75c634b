#pragma once
// CAnalyzer1852Dlg: the "1800 Analyzer Control Menu" of types 7, 8 and 9, the 1960 dialog over the
// 1800-series engine: no waveform list, the coupling "AC" or "DC" and the "Input Type Ch. 1:" list.

#include "analyzer/dialogs/Analyzer1960Dlg.h"
#include "analyzer/engine/Analyzer1852Engine.h"

class CAnalyzer1852Dlg final : public CAnalyzer1960Dlg {
    Q_OBJECT
public:
    explicit CAnalyzer1852Dlg(AnalyzerHost& host, QWidget* parent = nullptr)
        : CAnalyzer1960Dlg(std::make_unique<Analyzer1852Engine>(host), parent)
    {
    }

    Analyzer1852Engine& Engine() { return static_cast<Analyzer1852Engine&>(CAnalyzer1960Dlg::Engine()); }
};
