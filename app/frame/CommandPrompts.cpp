#include "app/frame/CommandPrompts.h"

#include <string_view>

#include "app/frame/MenuLayout.h"
#include "views/command/CommandIds.h"

namespace {

struct Prompt {
    int id;
    const char* text;
};

constexpr Prompt kPrompts[] = {
    {cmd::FileNew, "Create a new document\nNew"},
    {cmd::FileOpen, "Open an existing document\nOpen"},
    {cmd::FileClose, "Close the active document\nClose"},
    {cmd::FileSave, "Save the active document\nSave"},
    {cmd::FileSaveAs, "Save the active document with a new name\nSave As"},
    {cmd::FilePrint, "Print the active document\nPrint"},
    {cmd::FilePrintPreview, "Display full pages\nPrint Preview"},
    {cmd::FilePageSetup, "Change the printing options\nPage Setup"},
    {cmd::AppExit, "Quit the application; prompts to save documents\nExit"},
    {cmd::EditCut, "Cut the selected data series onto the Clipboard\nCut"},
    {cmd::EditCopy, "Copy the selected data series onto the Clipboard\nCopy"},
    {cmd::EditPaste, "Insert Clipboard data series into the active document\nPaste"},
    {cmd::VoltageFormat, "Use 5 column format for Cut and Copy\nVoltage Format for Cut/Copy"},
    {cmd::EditSelectAll, "Select all data series in the active document\nSelect All"},
    {cmd::ShowAll, "Unhide all data series in the active document\nShow All"},
    {cmd::Hide, "Hide all selected data series\nHide"},
    {cmd::EditDelete, "Delete all selected data series\nDelete"},
    {cmd::ViewToolbar, "Show or hide the toolbar\nToggle ToolBar"},
    {cmd::ViewStatusBar, "Show or hide the status bar\nToggle Status Bar"},
    {cmd::WarnInput15V,
     "Show warning message box that the Voltage limit is 15 Vpk when setting impedance to 50 ohms"},
    {cmd::WarnOutput5V,
     "Show warning message box that the Voltage limit is 5 Vpk when setting impedance to 2 ohms"},
    {cmd::AddSlideBar,
     "Add an adjustable frequency bar to the selected plot that displays graph data\nAdd Slide Bar"},
    {cmd::AddGraphDescription, "to add a text box\nAdd Text to Graph"},
    {cmd::DataSetProperties, "Modify the data set colors and other pararmeters\nData Set Properties"},
    {cmd::GraphProperties, "Modify the min/max values and change the grid color\nGraph Properties"},
    {cmd::Settings, "Show the Settings Dialog"},
    {kShowSimulatorWindow, "Show the window that chooses what sits in the simulated fixture"},
    {cmd::RlcControlPanel, "Opens the RLC Controls"},
    {cmd::AnalyzerMenu, "Control the Analyzer to make a data plot\nAnalyzer Menu"},
    {cmd::AddRandomData, "Adds Random Data to screen\nAdd Random Data"},
    {cmd::WindowCascade, "Arrange windows so they overlap\nCascade Windows"},
    {cmd::WindowTile, "Arrange windows as non-overlapping tiles\nTile Windows"},
    {cmd::WindowArrange, "Arrange icons at the bottom of the window\nArrange Icons"},
    {cmd::AddGainDisplay, "Adds a Gain Window for This Data\nAnother Gain Window"},
    {cmd::AddImpDisplay, "Adds a Impedance Window for This Data\nAnother Imp Window"},
    {cmd::AddNyquistDisplay, "Adds a Nyquist Window for This Data\nAnother Nyquist Window"},
    {cmd::AddTextDisplay, "Adds a Text Window for This Data\nAnother Text Window"},
    {cmd::HelpContents, "List Help Contents\nHelp Contents"},
    {cmd::MatlabFiles, "Open the folder containing Matlab Macro Files\nMatlab Macro Files"},
    {cmd::ShowDataDescription, "Show the description of the selected data plot\nShow Data Description"},
    {cmd::DoMath, "Show the dialog to perform math functions\nDo Math On Data"},
    {cmd::ErrorAmps, "Create Error Amplifiers and Analyze Circuits\nError Amps and Circuits"},
};

}  // namespace

std::string CommandPrompt(int id)
{
    for (const Prompt& prompt : kPrompts)
        if (prompt.id == id)
            return prompt.text;
    return {};
}

std::string CommandStatusText(int id)
{
    const std::string prompt = CommandPrompt(id);
    return prompt.substr(0, prompt.find('\n'));
}

std::string CommandToolTip(int id)
{
    const std::string prompt = CommandPrompt(id);
    const size_t newline = prompt.find('\n');
    return newline == std::string::npos ? std::string() : prompt.substr(newline + 1);
}
