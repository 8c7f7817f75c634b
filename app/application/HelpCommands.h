#pragma once
// The Help menu: the help file "TalvernRLC.chm", the manual "RLC Manual.pdf" and the folder
// "Matlab m-files" of the program folder, opened through the desktop. A failure shows "Failed to
// open '<path>' because <error name>." with the customer-service line.
#include <string>

class DesktopOpener;
class MessageReporter;

// The name of a shell error code as the failure message gives it ("OK" for codes not listed).
std::string ShellErrorName(int code);
std::string ShellFailureMessage(const std::string& verb, const std::string& path, int code);

class HelpCommands {
public:
    HelpCommands(DesktopOpener& opener, MessageReporter& reporter);

    // The help file and the program folder (ending in "/") that holds the manual and the
    // m-files; the help file may be the HTML guide in the folder's help/ instead of the .chm.
    void SetHelpFiles(const std::string& helpFile, const std::string& programFolder)
    {
        m_helpFile = helpFile;
        m_programFolder = programFolder;
    }
    const std::string& HelpFilePath() const { return m_helpFile; }
    const std::string& ProgramFolder() const { return m_programFolder; }

    void OnHelp();
    void OnManual();
    void OnMatlabFiles();

private:
    void Open(const std::string& path);

    DesktopOpener& m_opener;
    MessageReporter& m_reporter;
    std::string m_helpFile;
    std::string m_programFolder;
};
