#pragma once
// "Create Excel XML Report...": the checks, the file chooser and the writing of the report,
// with the failures shown through the Prompter.
#include <functional>
#include <string>

#include "rlc/report/ReportWriter.h"

class Prompter;

// What the Report page hands over: the active display's state, the options and the circuit.
struct ReportRequest {
    bool hasActiveDisplay = false;
    const CTalDocument* document = nullptr;  // of the active display
    ReportOptions options;
    ReportCircuit circuit;
    // The report's time stamp, asked for once the file is chosen (the chooser may stay open a
    // while); empty: ReportTimeStamp of the current local time.
    std::function<std::string()> timeStamp;
    PropertiesReader properties;  // empty: read from the document
};

// Runs the command; true when a report was written. Messages (caption "Error"): "There is
// nothing to report!", "Document not found", "Error creating the report file", "Error writing
// to file".
bool CreateExcelXmlReport(const ReportRequest& request, Prompter& prompter);

// Writes `text` into a new file beside `path` and renames it over `path`, so that a failed
// write leaves an existing file as it was. Returns "" or the message of the failure.
std::string WriteReportFile(const std::string& path, const std::string& text);

std::string CurrentReportTimeStamp();
