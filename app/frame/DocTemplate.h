#pragma once
// A document template: one display kind of CTalDocument, its seven-field description string
// (window title, document base name, File New name, file filter, extension, file-type id and
// name, separated by "\n") and the numbering of its new documents (Imp1, Imp2, ...).
#include <memory>
#include <string>
#include <vector>

#include "data/DocumentView.h"

class CDocTemplate {
public:
    enum class DocString { WindowTitle, DocName, FileNewName, FilterName, FilterExt, RegFileTypeId,
                           RegFileTypeName };

    CDocTemplate(DisplayKind kind, std::string description);

    DisplayKind Kind() const { return m_kind; }
    const std::string& Description() const { return m_description; }
    std::string GetDocString(DocString field) const;
    // The title of the next new document: the base name and its number.
    std::string NextUntitledTitle();

private:
    DisplayKind m_kind;
    std::string m_description;
    int m_untitledCount = 0;
};

// The four display kinds in registration order Gain, Imp, Text, Nyq: the order "Default plot
// type" indexes.
std::vector<std::unique_ptr<CDocTemplate>> CreateDocumentTemplates();
// The file-dialog filter of the documents, "Talvern Files (*.tal)|*.tal|".
std::string DocumentFileFilter();
