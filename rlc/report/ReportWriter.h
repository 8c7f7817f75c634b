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
// the field shows any text, with the field's committed value.
struct ReportCircuit {
    struct Field {
        std::string label, unit, text;
        double value = -1;
    };
    std::string kindText;
    Field r{"R:", "Ohm", "", -1};
    Field second{"L:", "H", "", -1};
    Field c{"C:", "F", "", -1};
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
int ReportColumnCount(const ReportOptions& options);
int ReportRowCount(const CTalDocument& document, const ReportOptions& options);
// The scale factor in fixed point: 3 - trunc(lg |s|) decimals (at least 0), 4 below 0.1.
std::string ScaleFactorText(double scaleFactor);
// "%Y-%m-%d at %I:%M %p", AM/PM in English whatever the process locale.
std::string ReportTimeStamp(const std::tm& localTime);

std::string FormatReport(const CTalDocument& document, const ReportOptions& options,
                         const ReportCircuit& circuit, const std::string& timeStamp,
                         const PropertiesReader& properties = {});
