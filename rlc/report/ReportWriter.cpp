#include "rlc/report/ReportWriter.h"

#include <algorithm>
#include <cmath>

#include "data/CLocaleNumbers.h"
#include "data/TalDocument.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelPage.h"
#include "rlc/report/XmlText.h"

namespace {

constexpr int kIntermediateRole = 4;
// A refined value's row: label, value, unit, "refined", "u:", uncertainty.
constexpr int kRefinedRowColumns = 6;

const char* const kHead[] = {
    "<?xml version=\"1.0\"?>",
    "<?mso-application progid=\"Excel.Sheet\"?>",
    "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"",
    " xmlns:o=\"urn:schemas-microsoft-com:office:office\"",
    " xmlns:x=\"urn:schemas-microsoft-com:office:excel\"",
    " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"",
    " xmlns:html=\"http://www.w3.org/TR/REC-html40\">",
    " <ExcelWorkbook xmlns=\"urn:schemas-microsoft-com:office:excel\">",
    "  <WindowHeight>11640</WindowHeight>",
    "  <WindowWidth>15480</WindowWidth>",
    "  <WindowTopX>120</WindowTopX>",
    "  <WindowTopY>30</WindowTopY>",
    "  <ProtectStructure>False</ProtectStructure>",
    "  <ProtectWindows>False</ProtectWindows>",
    " </ExcelWorkbook>",
    " <Styles>",
    "  <Style ss:ID=\"Default\" ss:Name=\"Normal\">",
    "   <Alignment ss:Vertical=\"Bottom\"/>",
    "   <Borders/>",
    "   <Font/>",
    "   <Interior/>",
    "   <NumberFormat/>",
    "   <Protection/>",
    "  </Style>",
    "  <Style ss:ID=\"s21\">",
    "   <Font x:Family=\"Swiss\" ss:Size=\"12\" ss:Bold=\"1\"/>",
    "  </Style>",
    "  <Style ss:ID=\"s22\">",
    "   <Font x:Family=\"Swiss\" ss:Bold=\"1\"/>",
    "  </Style>",
    "  <Style ss:ID=\"s23\">",
    "   <NumberFormat ss:Format=\"0.0\"/>",
    "  </Style>",
    "  <Style ss:ID=\"s24\">",
    "   <NumberFormat ss:Format=\"Scientific\"/>",
    "  </Style>",
    "  <Style ss:ID=\"s25\">",
    "   <Font x:Family=\"Swiss\" ss:Size=\"14\" ss:Bold=\"1\"/>",
    "  </Style>",
    " </Styles>",
    " <Worksheet ss:Name=\"Sheet1\">",
};

const char* const kTail[] = {
    "  </Table>",
    "  <WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\">",
    "   <Selected/>",
    "   <ProtectObjects>False</ProtectObjects>",
    "   <ProtectScenarios>False</ProtectScenarios>",
    "  </WorksheetOptions>",
    " </Worksheet>",
    "</Workbook>",
    "",
};

// Builds the file line by line; every line ends in CR LF.
class Sheet {
public:
    void Line(const std::string& text) { m_text += text + "\r\n"; }
    void RowStart(const std::string& attributes = "") { Line("   <Row" + attributes + ">"); }
    void RowEnd() { Line("   </Row>"); }
    void Cell(const std::string& cell) { Line("    " + cell); }
    void Label(const std::string& escaped)
    {
        Cell("<Cell ss:StyleID=\"s22\"><Data ss:Type=\"String\">" + escaped + "</Data></Cell>");
    }
    void EmptyLabel() { Cell("<Cell ss:StyleID=\"s22\"/>"); }
    void Scientific(double value)
    {
        Cell(FormatC("<Cell ss:StyleID=\"s24\"><Data ss:Type=\"Number\">%e</Data></Cell>", value));
    }
    // A phase cell; `tab` starts its line with one tab instead of four blanks.
    void OneDecimal(double value, bool tab)
    {
        const std::string cell =
            FormatC("<Cell ss:StyleID=\"s23\"><Data ss:Type=\"Number\">%f</Data></Cell>", value);
        Line(tab ? "\t" + cell : "    " + cell);
    }
    void Heading(const std::string& style, const std::string& escaped, const std::string& attributes)
    {
        RowStart(attributes);
        Cell("<Cell ss:StyleID=\"" + style + "\"><Data ss:Type=\"String\">" + escaped + "</Data></Cell>");
        RowEnd();
    }
    void LabelRow(const std::string& escaped)
    {
        RowStart();
        Label(escaped);
        RowEnd();
    }
    void LabelsRow(std::initializer_list<const char*> labels)
    {
        RowStart();
        for (const char* l : labels)
            Label(l);
        RowEnd();
    }
    void Spacer()
    {
        RowStart();
        Cell("<Cell ss:StyleID=\"s24\"/>");
        RowEnd();
    }
    void ValueRow(const ReportCircuit::Field& field)
    {
        RowStart();
        if (!field.text.empty()) {
            Label(EscapeXmlText(field.label));
            Scientific(field.value);
            Text(field.unit);
            if (field.refined) {
                Text("refined");
                if (field.uncertainty >= 0) {
                    Label("u:");
                    Scientific(field.uncertainty);
                }
            }
        }
        RowEnd();
    }
    void Text(const std::string& text)
    {
        Cell("<Cell><Data ss:Type=\"String\">" + EscapeXmlText(text) + "</Data></Cell>");
    }

    std::string m_text;
};

void WriteDataSet(Sheet& s, const CTalDocument& doc, int index, const ReportOptions& options,
                  const ReportedProperties& props)
{
    s.Heading("s21", FormatC("Dataset %i", doc.GetDataSetNumber(index)), " ss:Height=\"15.75\"");
    s.LabelRow("Name: " + EscapeXmlText(doc.GetDataSetName(index)));
    s.LabelRow("Type: " + EscapeXmlText(DataSetTypeText(doc.GetCalibrationRole(index))));
    s.LabelRow(FormatC("Voltage node: %i", props.outputNode));
    s.LabelRow(FormatC("Current node: %i", props.inputNode));
    s.LabelRow("Scale factor: " + ScaleFactorText(props.scaleFactor));

    const bool voltage = options.includeVoltage;
    s.RowStart();
    s.EmptyLabel();
    s.Label("Impedance");
    s.EmptyLabel();
    if (voltage) {
        s.Label(FormatC("Voltage node (%i)", props.outputNode));
        s.EmptyLabel();
        s.Label(FormatC("Current node (%i)", props.inputNode));
        s.EmptyLabel();
    }
    s.RowEnd();
    if (voltage) {
        s.LabelsRow({"Frequency", "Value", "Phase", "Value", "Phase", "Value", "Phase"});
        s.LabelsRow({"[Hz]", "[Ohm]", "[deg]", "[V]", "[deg]", "[V]", "[deg]"});
    } else {
        s.LabelsRow({"Frequency", "Value", "Phase"});
        s.LabelsRow({"[Hz]", "[Ohm]", "[deg]"});
    }
    for (int i = 0; i < doc.GetPointCount(index); ++i) {
        s.RowStart();
        s.Scientific(doc.GetFrequency(index, i));
        s.Scientific(doc.GetGain(index, i));
        s.OneDecimal(doc.GetPhase(index, i), true);
        if (voltage) {
            s.Scientific(doc.GetNodeVoltage(index, i, props.outputNode));
            s.OneDecimal(doc.GetNodePhase(index, i, props.outputNode), false);
            s.Scientific(doc.GetNodeVoltage(index, i, props.inputNode));
            s.OneDecimal(doc.GetNodePhase(index, i, props.inputNode), false);
        }
        s.RowEnd();
    }
    s.Spacer();
}

}  // namespace

ReportCircuit ReportCircuitOf(const ModelPage& page)
{
    ReportCircuit circuit;
    circuit.kindText = CircuitKindText(page.Kind());
    circuit.r = {"R:", "Ohm", page.m_r.text, page.m_r.value};
    circuit.second = {SecondValueLabel(page.Kind()), SecondValueUnit(page.Kind()), page.m_second.text,
                      page.m_second.value};
    circuit.c = {"C:", "F", page.m_c.text, page.m_c.value};
    if (const auto& refinement = page.Refinement()) {
        const auto mark = [](ReportCircuit::Field& field, bool refined, double uncertainty) {
            field.refined = refined;
            field.uncertainty = uncertainty;
        };
        mark(circuit.r, page.m_r.refined, refinement->uncertainty.r);
        mark(circuit.second, page.m_second.refined, refinement->uncertainty.second);
        mark(circuit.c, page.m_c.refined, refinement->uncertainty.c);
        circuit.residual = refinement->residual;
    }
    return circuit;
}

std::vector<int> ReportedDataSets(const CTalDocument& document, const ReportOptions& options)
{
    std::vector<int> indexes;
    for (int i = 0; i < document.GetDataSetCount(); ++i) {
        const int role = document.GetCalibrationRole(i);
        if (role == kIntermediateRole || (!options.includeCalibration && (role == 1 || role == 2)))
            continue;
        indexes.push_back(i);
    }
    return indexes;
}

std::string DataSetTypeText(int role)
{
    switch (role) {
    case 1: return "Open circuit sweep";
    case 2: return "Closed circuit sweep";
    case 3: return "Component sweep (w/ parasitics)";
    case 5: return "Component without parasitics";
    default: return "Data";
    }
}

int ReportColumnCount(const ReportOptions& options, bool refinedCircuit)
{
    const int columns = options.textOutput && options.includeVoltage ? 7 : 3;
    return options.displayCircuit && refinedCircuit ? std::max(columns, kRefinedRowColumns) : columns;
}

int ReportRowCount(const CTalDocument& document, const ReportOptions& options, bool refinedCircuit)
{
    int rows = 4 + (options.displayCircuit ? (refinedCircuit ? 6 : 5) : 0);
    if (options.textOutput)
        for (int index : ReportedDataSets(document, options))
            rows += document.GetPointCount(index) + 10;
    return rows;
}

std::string ScaleFactorText(double scaleFactor)
{
    const double magnitude = std::fabs(scaleFactor);
    int decimals = 4;
    // A zero or non-finite factor has no decade; it keeps the four decimals of small ones.
    if (std::isfinite(magnitude) && magnitude > 0) {
        const int n = static_cast<int>(std::trunc(std::log10(magnitude)));
        decimals = n >= -1 ? std::max(0, 3 - n) : 4;
    }
    return FormatC("%.*f", decimals, scaleFactor);
}

std::string ReportTimeStamp(const std::tm& t)
{
    const int hour12 = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    return FormatC("%04d-%02d-%02d at %02d:%02d %s", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                   hour12, t.tm_min, t.tm_hour < 12 ? "AM" : "PM");
}

std::string FormatReport(const CTalDocument& document, const ReportOptions& options,
                         const ReportCircuit& circuit, const std::string& timeStamp,
                         const PropertiesReader& properties)
{
    Sheet s;
    for (const char* line : kHead)
        s.Line(line);
    s.Line(FormatC("  <Table ss:ExpandedColumnCount=\"%i\" ss:ExpandedRowCount=\"%i\" "
                   "x:FullColumns=\"1\" x:FullRows=\"1\">",
                   ReportColumnCount(options, circuit.Refined()),
                   ReportRowCount(document, options, circuit.Refined())));

    s.Heading("s25", "Talvern RLC Report", " ss:Height=\"18\"");
    s.Heading("s21", "Prepared by Talvern Instruments on " + EscapeXmlText(timeStamp),
              " ss:Index=\"3\" ss:Height=\"15.75\"");
    s.Spacer();

    if (options.displayCircuit) {
        s.Heading("s21", "Selected Model: " + EscapeXmlText(circuit.kindText), " ss:Height=\"15.75\"");
        s.ValueRow(circuit.r);
        s.ValueRow(circuit.second);
        s.ValueRow(circuit.c);
        if (circuit.Refined()) {
            s.RowStart();
            s.Label("Residual:");
            s.Scientific(circuit.residual);
            s.Text("relative RMS");
            s.RowEnd();
        }
        s.Spacer();
    }

    if (options.textOutput) {
        for (int index : ReportedDataSets(document, options)) {
            const ReportedProperties props =
                properties ? properties(index)
                           : ReportedProperties{document.GetInputNode(index), document.GetOutputNode(index),
                                                document.GetScaleFactor(index)};
            WriteDataSet(s, document, index, options, props);
        }
    }

    for (const char* line : kTail)
        s.Line(line);
    return std::move(s.m_text);
}
