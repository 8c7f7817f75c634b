#pragma once
// Small builders the analyzer dialogs share: labels with buddies, number fields, read-only
// read-outs, buttons that are never the default, the log view, combo filling and the window layout.

#include <QString>

#include <string>
#include <initializer_list>
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
// The window every analyzer dialog shows: sweep and output on the left; integration, servo and
// maximum change in the middle; the reading on the right; the buttons with Close at the far end;
// the communication log below.
struct AnalyzerWindowParts {
    QWidget* sweep;
    QWidget* output;
    QWidget* integration;
    QWidget* servo;
    QWidget* maxChange;
    QWidget* readings;
    std::initializer_list<QPushButton*> buttons;
    QPushButton* close;
    QPlainTextEdit* log;
};
void ArrangeAnalyzerWindow(QWidget* dialog, const AnalyzerWindowParts& parts);
// The log's text with the caret at the start of the text appended last.
void ShowLog(QPlainTextEdit* view, const analyzer::CommLog& log);

} // namespace dialogwidgets
