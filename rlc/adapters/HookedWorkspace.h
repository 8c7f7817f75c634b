#pragma once
// The measurement workflow's workspace seam over functions the window layer supplies: the
// active display's document, hiding a data set in that display, closing the active document
// and opening a new impedance document. A missing function answers "none" or does nothing.
#include <functional>

#include "rlc/workflow/MeasurementAnalyzer.h"

class HookedWorkspace final : public MeasurementWorkspace {
public:
    struct Hooks {
        std::function<bool()> hasActiveDisplay;
        std::function<CTalDocument*()> activeDocument;
        std::function<void(int index)> hideDataSet;
        std::function<void()> closeActiveDocument;
        std::function<CTalDocument*()> openImpedanceDocument;
    };

    explicit HookedWorkspace(Hooks hooks) : m_hooks(std::move(hooks)) {}

    bool HasActiveDisplay() const override;
    CTalDocument* ActiveDocument() override;
    void HideDataSet(int index) override;
    void CloseActiveDocument() override;
    CTalDocument* OpenImpedanceDocument() override;

private:
    Hooks m_hooks;
};
