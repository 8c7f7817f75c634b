#pragma once
// Numeric command identifiers shared by menus, toolbar, displays, frames and the application.
// The numbers are fixed: prompts, status-bar panes and double-click routing refer to them.
namespace cmd {
enum : int {
    FileNew = 57600, FileOpen = 57601, FileClose = 57602, FileSave = 57603, FileSaveAs = 57604,
    FilePageSetup = 57605, FilePrint = 57607, FilePrintPreview = 57609, AppExit = 57665,
    EditCopy = 57634, EditCut = 57635, EditPaste = 57637, EditSelectAll = 57642,
    WindowArrange = 57649, WindowCascade = 57650, WindowTile = 57651,
    ViewToolbar = 59392, ViewStatusBar = 59393,
    AnalyzerMenu = 32774, AddRandomData = 32777, EditDelete = 32783,
    AddGainDisplay = 32786, AddImpDisplay = 32787, AddTextDisplay = 32789, AddNyquistDisplay = 32823,
    AddSlideBar = 32793, DoMath = 32794, ErrorAmps = 32795, ShowDataDescription = 32796,
    VoltageFormat = 32810, DataSetProperties = 32811, GraphProperties = 32812,
    ToggleDataNumbers = 32813, Settings = 32816, ShowAll = 32818, Hide = 32819,
    AddGraphDescription = 32825, PopupRemove = 32826, CopyGraph = 32827, SaveToJpg = 32828,
    SelectFont = 32829, JustifyLeft = 32830, JustifyCenter = 32831, JustifyRight = 32832, ToggleTitle = 32833,
    ToggleLegend = 32834, ExportMatlab = 32837, ImportMatlab = 32838, MailTo = 32839,
    HelpContents = 32840, MatlabFiles = 32855, RlcControlPanel = 32858,
    WarnInput15V = 32861, WarnOutput5V = 32862,
    PaneInputLimit = 299, PaneOutputLimit = 300,
    // Window and application commands of the main frame.
    VoltageDisplay = 32788, HelpManual = 32846, AppAbout = 57664, Help = 57670,
    WindowManager = 282, EditUndo = 57643, NextPane = 57680, PrevPane = 57681,
    FileMru1 = 57616, FileMru4 = 57619,
};
}
