#pragma once
// What the displays ask of parts built on top of them (the application's frames, the RLC panel,
// the analyzer dialogs, the settings and properties dialogs). Each part installs its function;
// without one the display does nothing (or answers "none").
#include <functional>
#include <optional>

class CTalDocument;
class CTalView;

// Opens another display window on the document, of the kind of `like`; returns it or null.
using NewDisplayWindowHook = std::function<CTalView*(CTalDocument* document, CTalView* like)>;
void SetNewDisplayWindowHook(NewDisplayWindowHook hook);
CTalView* OpenNewDisplayWindow(CTalDocument* document, CTalView* like);

// The RLC control panel's reference resistor while its window exists.
using RlcPanelHook = std::function<std::optional<double>()>;
void SetRlcPanelHook(RlcPanelHook hook);
std::optional<double> RlcPanelReferenceResistor();

// Page Up, Page Down, Up and Down for the first visible analyzer dialog; true when taken.
using AnalyzerKeyHook = std::function<bool(int key)>;
void SetAnalyzerKeyHook(AnalyzerKeyHook hook);
bool ForwardKeyToAnalyzer(int key);

// The data-set properties dialog for data set `index` in its impedance (1) or gain (2) kind.
using DataSetPropertiesHook = std::function<void(CTalView& view, int index, int kind)>;
void SetDataSetPropertiesHook(DataSetPropertiesHook hook);
void RunDataSetPropertiesDialog(CTalView& view, int index, int kind);

// The graph settings dialog of the display.
using GraphSettingsHook = std::function<void(CTalView& view)>;
void SetGraphSettingsHook(GraphSettingsHook hook);
void RunGraphSettingsDialog(CTalView& view);
