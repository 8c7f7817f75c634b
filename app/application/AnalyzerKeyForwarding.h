#pragma once
// The displays' Page Up, Page Down, Up and Down keys go to the first visible analyzer dialog, in
// the order 2600 series, 1800 series, 1960, NF 5060, which takes them as its own keys.

class AnalyzerDialogs;

// Installs the displays' key hook over dialogs, which must outlive the installation.
void InstallAnalyzerKeyHook(const AnalyzerDialogs& dialogs);
void RemoveAnalyzerKeyHook();
