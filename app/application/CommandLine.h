#pragma once
// The program's command line: the shell command (new document, open files, print), the splash
// switch, the analyzer type ("/t:<type>" or "-t:<type>", read by ChooseAnalyzerType) and the
// bus-library options. Flags start with "-" or "/"; a parameter starting with "/" that names
// an existing file or holds a further "/" is a path, not a flag.
#include <string>
#include <vector>

struct CommandLineInfo {
    enum class ShellCommand { FileNew, FileOpen, FilePrint, FileNothing };

    ShellCommand shellCommand = ShellCommand::FileNew;
    std::vector<std::string> files;   // to open (or print)
    bool showSplash = true;           // off for an embedded or automated start
    std::vector<std::string> flags;   // every flag parameter as given ("/t:RLC1370")
    bool simulate = false;            // --simulate: both bus libraries are the simulator
    std::string gpibLibrary;          // --gpib-library PATH
    std::string visaLibrary;          // --visa-library PATH
    std::vector<std::string> errors;  // options that lack their value
};

// `arguments` excludes the program name.
CommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments);
