#pragma once
// The RLC report as an XML Spreadsheet 2003 workbook: a title block, optionally the Model
// page's circuit values, and optionally one table per data set of the document. Lines end in
// CR LF; text is UTF-8 with everything inserted escaped for XML.
#include <ctime>
#include <functional>
#include <string>
#include <vector>

class CTalDocument;
class ModelPage;

// The Report page's check boxes, with their defaults.
struct ReportOptions {
    bool textOutput = true;          // "Text output": the per-data-set tables
    bool includeVoltage = false;     // "Include voltage": node voltage and phase columns
    bool includeCalibration = true;  // "Include calibration data in report": roles 1 and 2
    bool displayCircuit = true;      // "Display circuit values": the circuit block
};

// The Model page's kind and fields as the circuit block writes them: a row is written when
// the field shows any text, with the field's committed value. A refined field's row adds
// "refined" and its standard uncertainty, and a row with the refinement's residual follows the
// three; without a refinement the block is the page's plain one.
struct ReportCircuit {
    struct Field {
        std::string label, unit, text;
        double value = -1;
        bool refined = false;
        double uncertainty = -1;  // -1: none
    };
    std::string kindText;
    Field r{"R:", "Ohm", "", -1};
    Field second{"L:", "H", "", -1};
    Field c{"C:", "F", "", -1};
    double residual = -1;  // relative RMS residual of the refinement shown; -1: not refined

    bool Refined() const { return residual >= 0; }
};
ReportCircuit ReportCircuitOf(const ModelPage& page);

// Nodes and scale factor of a reported data set. The Report page reads them through the
// display's GetDataSetProperties, which also selects that data set; by default they come
// from the document.
struct ReportedProperties {
    int inputNode;
    int outputNode;
    double scaleFactor;
};
using PropertiesReader = std::function<ReportedProperties(int index)>;

// Document indexes reported: all but role 4, and but roles 1 and 2 without calibration data.
std::vector<int> ReportedDataSets(const CTalDocument& document, const ReportOptions& options);
// "Type: " text of a calibration role.
std::string DataSetTypeText(int role);
// Columns and rows the table declares; a refined circuit block adds columns for the marks and
// uncertainties and one row for the residual.
int ReportColumnCount(const ReportOptions& options, bool refinedCircuit = false);
int ReportRowCount(const CTalDocument& document, const ReportOptions& options, bool refinedCircuit = false);
// The scale factor in fixed point: 3 - trunc(lg |s|) decimals (at least 0), 4 below 0.1.
std::string ScaleFactorText(double scaleFactor);
// "%Y-%m-%d at %I:%M %p", AM/PM in English whatever the process locale.
std::string ReportTimeStamp(const std::tm& localTime);

std::string FormatReport(const CTalDocument& document, const ReportOptions& options,
                         const ReportCircuit& circuit, const std::string& timeStamp,
                         const PropertiesReader& properties = {});
