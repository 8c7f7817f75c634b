#include "app/application/CommandLine.h"

#include <QFileInfo>
#include <QString>

namespace {

bool IsFlag(const std::string& argument)
{
    if (argument.size() < 2)
        return false;
    if (argument[0] == '-')
        return true;
    if (argument[0] != '/')
        return false;
    return argument.find('/', 1) == std::string::npos &&
           !QFileInfo::exists(QString::fromStdString(argument));
}

bool EqualsIgnoringCase(const std::string& a, const char* b)
{
    return QString::fromStdString(a).compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

CommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLineInfo info;
    bool print = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!IsFlag(argument)) {
            info.files.push_back(argument);
            continue;
        }
        // Options with a value, "--name value" or "--name=value".
        std::string* value = nullptr;
        std::string name = argument;
        const size_t equals = argument.find('=');
        if (argument.starts_with("--"))
            name = argument.substr(0, equals);
        if (name == "--gpib-library")
            value = &info.gpibLibrary;
        else if (name == "--visa-library")
            value = &info.visaLibrary;
        if (value) {
            if (equals != std::string::npos)
                *value = argument.substr(equals + 1);
            else if (i + 1 < arguments.size())
                *value = arguments[++i];
            else
                info.errors.push_back(argument);
            continue;
        }
        if (argument == "--simulate") {
            info.simulate = true;
            continue;
        }
        info.flags.push_back(argument);
        const std::string body = argument.substr(1);
        if (EqualsIgnoringCase(body, "p"))
            print = true;
        else if (EqualsIgnoringCase(body, "dde"))
            info.shellCommand = CommandLineInfo::ShellCommand::FileNothing;
        else if (EqualsIgnoringCase(body, "Embedding") || EqualsIgnoringCase(body, "Automation"))
            info.showSplash = false;
    }
    if (!info.files.empty())
        info.shellCommand = print ? CommandLineInfo::ShellCommand::FilePrint
                                  : CommandLineInfo::ShellCommand::FileOpen;
    return info;
}
