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

    // The help file path; the program folder is the path up to and including its last "/".
    void SetHelpFilePath(const std::string& path) { m_helpFile = path; }
    const std::string& HelpFilePath() const { return m_helpFile; }
    std::string ProgramFolder() const;

    void OnHelp();
    void OnManual();
    void OnMatlabFiles();

private:
    void Open(const std::string& path);

    DesktopOpener& m_opener;
    MessageReporter& m_reporter;
    std::string m_helpFile;
};
