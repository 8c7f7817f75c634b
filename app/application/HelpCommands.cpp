#include "app/application/HelpCommands.h"

#include "app/core/MessageReporter.h"
#include "app/platform/DesktopOpener.h"

std::string ShellErrorName(int code)
{
    switch (code) {
    case 0:
        return "ERROR_OUT_OF_MEMORY";
    case 2:
        return "ERROR_FILE_NOT_FOUND";
    case 3:
        return "ERROR_PATH_NOT_FOUND";
    case 5:
        return "SE_ERR_ACCESSDENIED";
    case 8:
        return "SE_ERR_OOM";
    case 11:
        return "ERROR_BAD_FORMAT";
    case 26:
        return "SE_ERR_SHARE";
    case 27:
        return "SE_ERR_ASSOCINCOMPLETE";
    case 28:
        return "SE_ERR_DDETIMEOUT";
    case 29:
        return "SE_ERR_DDEFAIL";
    case 30:
        return "SE_ERR_DDEBUSY";
    case 31:
        return "SE_ERR_NOASSOC";
    case 32:
        return "SE_ERR_DLLNOTFOUND";
    default:
        return "OK";
    }
}

std::string ShellFailureMessage(const std::string& verb, const std::string& path, int code)
{
    return "Failed to " + verb + " '" + path + "' because " + ShellErrorName(code) +
           ".\r\nPlease contact Talvern Customer Service at 1-800-555-0134 or 1-555-555-0178.";
}

HelpCommands::HelpCommands(DesktopOpener& opener, MessageReporter& reporter)
    : m_opener(opener), m_reporter(reporter)
{
}

void HelpCommands::Open(const std::string& path)
{
    const int result = m_opener.Open(path);
    if (result <= 32)
        m_reporter.ShowMessage(ShellFailureMessage("open", path, result));
}

void HelpCommands::OnHelp()
{
    Open(m_helpFile);
}

void HelpCommands::OnManual()
{
    Open(ProgramFolder() + "RLC Manual.pdf");
}

void HelpCommands::OnMatlabFiles()
{
    Open(ProgramFolder() + "Matlab m-files");
}
