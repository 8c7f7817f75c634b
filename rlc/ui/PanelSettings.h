#pragma once
// What the RLC control panel keeps in the settings store's "RLC Settings" section: the
// Measurement page's values, the Report page's check boxes and the panel's position. Numbers
// are stored as "%f" texts, list positions and check states as integers; a stored value out of
// its range reads as the default.
#include "rlc/report/ReportWriter.h"

class RlcSettingsSection;

struct MeasurementPageSettings {
    bool singlePoint = false;
    double startFrequency = 1.0;    // Hz; a stored 0 reads as 1
    double stopFrequency = 1000.0;  // Hz; a stored 0 reads as 1000
    int integrationTime = 1;        // "Integration time:" position
    double acVoltage = 1.0;
    double dcVoltage = 0.0;
    int inputCoupling = 1;          // "Input coupling:" position
    bool limitPhaseChange = false;
    double maxPhaseChange = 20.0;   // degrees
};
MeasurementPageSettings ReadMeasurementPageSettings(const RlcSettingsSection& store);
void WriteMeasurementPageSettings(RlcSettingsSection& store, const MeasurementPageSettings& settings);

ReportOptions ReadReportPageSettings(const RlcSettingsSection& store);
void WriteReportPageSettings(RlcSettingsSection& store, const ReportOptions& options);

struct PanelPosition {
    int left = 30;
    int top = 40;
};
PanelPosition ReadPanelPosition(const RlcSettingsSection& store);
void WritePanelPosition(RlcSettingsSection& store, const PanelPosition& position);

// "RLC Ref Resistor Value" (text, default "100.0").
double ReadReferenceResistor(const RlcSettingsSection& store);

// Where the panel opens: each coordinate becomes 50 when it, or the room the screen leaves
// beside the panel (screen size minus panel size), is below 50, and is otherwise limited to
// that room.
PanelPosition PlacePanel(const PanelPosition& stored, int screenWidth, int screenHeight, int panelWidth,
                         int panelHeight);
