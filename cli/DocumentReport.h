#pragma once
// Everything a loaded document holds, as readable text or as JSON: the file's version and
// requested display type, every data set with all its fields and points, the display state.
#include <ostream>
#include <string>

class CTalDocument;

// `withPoints` false leaves out the per-point listing (a summary).
void PrintDocumentText(std::ostream& out, const CTalDocument& document, const std::string& path,
                       bool withPoints);
void PrintDocumentJson(std::ostream& out, const CTalDocument& document, const std::string& path);
