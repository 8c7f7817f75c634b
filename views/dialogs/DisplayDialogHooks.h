#pragma once
// Connects the displays' graph settings hook to the gain and impedance settings dialogs and the
// data-set properties hook to "Data Set Properties".
#include "views/dialogs/GraphSettingsDlg.h"

class CTalView;

// The dialog's values from a gain or impedance display, with the data's extents for Autoscale.
CGraphSettingsDlg::Values GraphSettingsValues(const CTalView& view);
// Takes the dialog's values over: ranges, plot type, grid colour, flags; a changed legend flag
// toggles the legend; the document is marked modified and the display redrawn.
void ApplyGraphSettings(CTalView& view, const CGraphSettingsDlg::Values& values);
// Installs the hooks once; later calls do nothing.
void InstallDisplayDialogHooks();
