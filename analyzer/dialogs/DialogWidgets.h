#pragma once
// Small builders the 1960, 1800-series and NF 5060 dialogs share: labels with buddies, number
// fields, read-only read-outs, buttons that are never the default, the log view and combo filling.

#include <QString>

#include <string>
#include <vector>

#include "analyzer/sweep/CommLog.h"

class CEditComponent;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace dialogwidgets {

QString Text(const std::string& text);
QLabel* Label(const char* text, QWidget* buddy = nullptr);
CEditComponent* NumberEdit();
QLineEdit* Readout();
QPushButton* Button(const char* text);
QPlainTextEdit* LogView();
// Replaces the entries only when they differ, then selects selected.
void FillCombo(QComboBox* combo, const std::vector<std::string>& entries, const std::string& selected);
// The log's text with the caret at the start of the text appended last.
void ShowLog(QPlainTextEdit* view, const analyzer::CommLog& log);

} // namespace dialogwidgets
