#include "app/frame/MenuLayout.h"

#include "views/command/CommandIds.h"

namespace {

// Columns of the menu table: no document, then the four display kinds.
enum : unsigned { kNone = 1, kGain = 2, kImp = 4, kText = 8, kNyq = 16 };
constexpr unsigned kAll = kNone | kGain | kImp | kText | kNyq;
constexpr unsigned kDoc = kGain | kImp | kText | kNyq;
constexpr unsigned kGraph = kGain | kImp | kNyq;

struct Row {
    MenuItemKind kind;
    const char* text;
    int id;
    unsigned columns;
    int depth = 0;  // 1: inside the submenu opened by the row before
    bool simulatedOnly = false;
};

constexpr MenuItemKind C = MenuItemKind::Command;
constexpr MenuItemKind S = MenuItemKind::Separator;
constexpr MenuItemKind P = MenuItemKind::Submenu;

struct MenuRows {
    const char* title;
    std::vector<Row> rows;
};

const std::vector<MenuRows>& Table()
{
    static const std::vector<MenuRows> table = {
        {"&File",
         {
             {C, "&New\tCtrl+N", cmd::FileNew, kAll},
             {C, "&Open...\tCtrl+O", cmd::FileOpen, kAll},
             {C, "&Close", cmd::FileClose, kDoc},
             {C, "&Save\tCtrl+S", cmd::FileSave, kDoc},
             {C, "Save &As...", cmd::FileSaveAs, kDoc},
             {S, "", 0, kAll},
             {C, "Copy &Graph", cmd::CopyGraph, kGraph},
             {C, "Save To &JPG", cmd::SaveToJpg, kGraph},
             {S, "", 0, kAll},
             {C, "Export To &Matlab/Mathcad", cmd::ExportMatlab, kDoc},
             {C, "&Import From Matlab/Mathcad", cmd::ImportMatlab, kDoc},
             {S, "", 0, kAll},
             {C, "Mail &To....", cmd::MailTo, kDoc},
             {S, "", 0, kAll},
             {C, "&Print...\tCtrl+P", cmd::FilePrint, kDoc},
             {C, "P&rint Preview", cmd::FilePrintPreview, kDoc},
             {C, "Pag&e Setup...", cmd::FilePageSetup, kDoc},
             {S, "", 0, kAll},
             {MenuItemKind::RecentFiles, "Recent File", cmd::FileMru1, kAll},
             {S, "", 0, kAll},
             {C, "E&xit", cmd::AppExit, kAll},
         }},
        {"&Edit",
         {
             {C, "Cu&t\tCtrl+X", cmd::EditCut, kDoc},
             {C, "&Copy\tCtrl+C", cmd::EditCopy, kDoc},
             {C, "&Paste\tCtrl+V", cmd::EditPaste, kDoc},
             {S, "", 0, kDoc},
             {C, "Voltage Format", cmd::VoltageFormat, kDoc},
             {S, "", 0, kDoc},
             {C, "Select &All\tCtrl+A", cmd::EditSelectAll, kDoc},
             {C, "Show A&ll\tCtrl+L", cmd::ShowAll, kDoc},
             {C, "&Hide\tCtrl+Del", cmd::Hide, kDoc},
             {C, "&Delete\tDel", cmd::EditDelete, kDoc},
         }},
        {"&View",
         {
             {P, "&Toolbars and Docking Windows", 0, kAll},
             {C, "Standard", cmd::ViewToolbar, kAll, 1},
             {C, "&Status Bar", cmd::ViewStatusBar, kAll},
             {S, "", 0, kAll},
             {P, "Show Voltage Warnings", 0, kAll},
             {C, "Input 15 Vpk Max", cmd::WarnInput15V, kAll, 1},
             {C, "Output 5 Vpk Max", cmd::WarnOutput5V, kAll, 1},
             {S, "", 0, kAll},
             {C, "&Add Slide Bar\tB", cmd::AddSlideBar, kGraph},
             {C, "Add Graph Description", cmd::AddGraphDescription, kGraph},
             {C, "&Data Set Properties...\tD", cmd::DataSetProperties, kGraph},
             {C, "&Graph Properties...\tG", cmd::GraphProperties, kGraph},
             {S, "", 0, kAll},
             {C, "S&ettings...", cmd::Settings, kAll},
             {C, "Simulated &Instrument", kShowSimulatorWindow, kAll, 0, true},
         }},
        {"&Actions",
         {
             {C, "&RLC Control Panel...", cmd::RlcControlPanel, kImp},
             {C, "&Analyzer Control Menu...", cmd::AnalyzerMenu, kImp},
             {C, "Add Random &Data", cmd::AddRandomData, kImp},
             {S, "", 0, kImp},
             {C, "Math Menu...", cmd::DoMath, kImp | kNyq},
         }},
        {"&Window",
         {
             {C, "&Cascade", cmd::WindowCascade, kDoc},
             {C, "&Tile", cmd::WindowTile, kDoc},
             {C, "&Arrange Icons", cmd::WindowArrange, kDoc},
             {S, "", 0, kDoc},
             {C, "Add Gain Display", cmd::AddGainDisplay, kImp | kText | kNyq},
             {C, "Add Imp Display", cmd::AddImpDisplay, kGain | kText | kNyq},
             {C, "Add Nyquist Display", cmd::AddNyquistDisplay, kGain | kImp | kText},
             {C, "Add Text Display", cmd::AddTextDisplay, kGain | kImp | kNyq},
             {MenuItemKind::WindowList, "", cmd::WindowManager, kDoc},
         }},
        {"&Help",
         {
             {C, "&Talvern Help", cmd::HelpContents, kAll},
             {C, "Talvern &Manual", cmd::HelpManual, kAll},
             {C, "&Matlab m-files", cmd::MatlabFiles, kAll},
             {S, "", 0, kAll},
             {C, "&About Talvern RLC...", cmd::AppAbout, kAll},
         }},
    };
    return table;
}

unsigned Column(std::optional<DisplayKind> kind)
{
    if (!kind)
        return kNone;
    switch (*kind) {
    case DisplayKind::Gain:
        return kGain;
    case DisplayKind::Imp:
        return kImp;
    case DisplayKind::Text:
        return kText;
    case DisplayKind::Nyq:
        return kNyq;
    case DisplayKind::Volt:
        break;
    }
    return 0;
}

// Drops separators that lead, trail or follow another separator.
void TidySeparators(std::vector<MenuItem>& items)
{
    std::vector<MenuItem> tidy;
    for (MenuItem& item : items) {
        if (item.kind == MenuItemKind::Separator &&
            (tidy.empty() || tidy.back().kind == MenuItemKind::Separator))
            continue;
        tidy.push_back(std::move(item));
    }
    while (!tidy.empty() && tidy.back().kind == MenuItemKind::Separator)
        tidy.pop_back();
    items = std::move(tidy);
}

}  // namespace

std::vector<Menu> MenuBarFor(std::optional<DisplayKind> kind, bool simulated)
{
    const unsigned column = Column(kind);
    std::vector<Menu> menus;
    for (const MenuRows& rows : Table()) {
        Menu menu{rows.title, {}};
        for (const Row& row : rows.rows) {
            if (!(row.columns & column) || (row.simulatedOnly && !simulated))
                continue;
            MenuItem item{row.kind, row.text, row.id, {}};
            if (row.depth == 1 && !menu.items.empty() && menu.items.back().kind == MenuItemKind::Submenu)
                menu.items.back().children.push_back(std::move(item));
            else
                menu.items.push_back(std::move(item));
        }
        TidySeparators(menu.items);
        if (!menu.items.empty())
            menus.push_back(std::move(menu));
    }
    return menus;
}

std::vector<MenuItem> ContextMenuItems()
{
    return {
        {MenuItemKind::Command, "Show A&ll\tCtrl+L", cmd::ShowAll, {}},
        {MenuItemKind::Command, "Select &All\tCtrl+A", cmd::EditSelectAll, {}},
        {MenuItemKind::Command, "&Copy\tCtrl+C", cmd::EditCopy, {}},
        {MenuItemKind::Command, "&Paste\tCtrl+V", cmd::EditPaste, {}},
        {MenuItemKind::Command, "&Hide\tCtrl+Del", cmd::Hide, {}},
        {MenuItemKind::Separator, "", 0, {}},
        {MenuItemKind::Command, "&Delete\tDel", cmd::EditDelete, {}},
    };
}
