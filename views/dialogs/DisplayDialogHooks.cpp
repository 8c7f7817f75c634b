#include "views/dialogs/DisplayDialogHooks.h"

#include <algorithm>
#include <cmath>

#include "data/TalDocument.h"
#include "views/annotations/GraphAnnotations.h"
#include "views/base/TalView.h"
#include "views/command/CommandIds.h"
#include "views/dialogs/DataPropImpDlg.h"

namespace {

bool IsGain(const CTalView& view)
{
    return view.GetDisplayKind() == DisplayKind::Gain;
}

// Frequency, gain (dB) or impedance, and phase extents of the visible data sets.
GraphRanges DataExtents(const CTalView& view)
{
    GraphRanges r;
    const CTalDocument* doc = view.GetDocument();
    bool any = false;
    double fMin = 0, fMax = 0, vMin = 0, vMax = 0, pMin = 0, pMax = 0;
    for (int s = 0; s < doc->GetDataSetCount(); ++s) {
        const CDataSet* set = doc->GetDataSet(s);
        const auto& attribs = view.Fields().attribs;
        if (!set || set->GetPointCount() == 0 || s >= int(attribs.size()) || !attribs[s].visible)
            continue;
        double lo = set->GetMinGain(), hi = set->GetMaxGain();
        if (IsGain(view)) {
            lo = 20 * std::log10(std::max(lo, 1e-99));
            hi = 20 * std::log10(std::max(hi, 1e-99));
        }
        if (!any) {
            fMin = set->GetMinFrequency(), fMax = set->GetMaxFrequency();
            vMin = lo, vMax = hi, pMin = set->GetMinPhase(), pMax = set->GetMaxPhase();
            any = true;
            continue;
        }
        fMin = std::min(fMin, set->GetMinFrequency()), fMax = std::max(fMax, set->GetMaxFrequency());
        vMin = std::min(vMin, lo), vMax = std::max(vMax, hi);
        pMin = std::min(pMin, set->GetMinPhase()), pMax = std::max(pMax, set->GetMaxPhase());
    }
    if (any)
        r = {fMin, fMax, vMin, vMax, pMin, pMax};
    return r;
}

}  // namespace

CGraphSettingsDlg::Values GraphSettingsValues(const CTalView& view)
{
    const ViewFields& f = view.Fields();
    CGraphSettingsDlg::Values v;
    v.plotMode = f.displayMode;
    v.gridColor = f.gridColor;
    v.dataNumbers = f.dataNumbersShown != 0;
    v.title = view.Annotations().TitleShown();
    v.legend = f.legend.obj.shown != 0;
    v.autoscale = f.automaticScaling != 0;
    const bool gain = IsGain(view);
    v.ranges = {f.frequencyMin, f.frequencyMax, gain ? f.gainMin : f.impedanceMin,
                gain ? f.gainMax : f.impedanceMax, f.phaseMin, f.phaseMax};
    v.autoscaleRanges = DataExtents(view);
    return v;
}

void ApplyGraphSettings(CTalView& view, const CGraphSettingsDlg::Values& v)
{
    ViewFields& f = view.Fields();
    const bool legendChanged = v.legend != (f.legend.obj.shown != 0);
    const bool titleChanged = v.title != view.Annotations().TitleShown();
    f.displayMode = v.plotMode;
    f.gridColor = v.gridColor;
    f.dataNumbersShown = v.dataNumbers ? 1 : 0;
    f.automaticScaling = v.autoscale ? 1 : 0;
    f.frequencyMin = v.ranges.frequencyMin;
    f.frequencyMax = v.ranges.frequencyMax;
    if (IsGain(view)) {
        f.gainMin = v.ranges.valueMin;
        f.gainMax = v.ranges.valueMax;
    } else {
        f.impedanceMin = v.ranges.valueMin;
        f.impedanceMax = v.ranges.valueMax;
    }
    f.phaseMin = v.ranges.phaseMin;
    f.phaseMax = v.ranges.phaseMax;
    SanitizeRanges(f);
    if (legendChanged)
        view.OnCommand(cmd::ToggleLegend);
    if (titleChanged)
        view.OnCommand(cmd::ToggleTitle);
    if (v.autoscale)
        view.AutoScale();
    view.GetDocument()->SetModifiedFlag();
    view.Redraw();
}

void InstallDisplayDialogHooks()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    SetGraphSettingsHook([](CTalView& view) {
        const DisplayKind kind = view.GetDisplayKind();
        if (kind != DisplayKind::Gain && kind != DisplayKind::Imp)
            return;
        CGraphSettingsDlg dialog(kind == DisplayKind::Gain ? SettingsKind::Gain : SettingsKind::Impedance,
                                 GraphSettingsValues(view), &view);
        if (dialog.exec() == QDialog::Accepted)
            ApplyGraphSettings(view, dialog.Result());
    });
    SetDataSetPropertiesHook([](CTalView& view, int index, int kind) {
        CDataPropImpDlg dialog(view, kind, &view);
        dialog.SetFirstDataSet(index);
        dialog.exec();  // OK saves the data set itself
    });
}
