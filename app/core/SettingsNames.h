#pragma once
// Section and value names of the per-user settings store, as the program has always used them.

namespace settings_names {

inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kRlcSettings = "RLC Settings";
inline constexpr const char* kShowVmax = "ShowVmax";
inline constexpr const char* kWorkspace = "Workspace";
inline constexpr const char* kRecentFileList = "Recent File List";

// "Settings" (defaults) and the per-type section (the values in use).
inline constexpr const char* kGpibInterface = "GPIB Interface";
inline constexpr const char* kGpibAddressApplication = "GPIB address - application";
inline constexpr const char* kGpibAddressAnalyzer = "GPIB address - analyzer";
inline constexpr const char* kSerialNumber = "Analyzer - Serial Number";
inline constexpr const char* kModelNumber = "Analyzer - Model Number";
inline constexpr const char* kMathScaleFactor = "Math Scale Factor";  // per-type section only

// "Settings": main window placement.
inline constexpr const char* kMaximized = "Maximized";
inline constexpr const char* kWindowLeft = "Window Left";
inline constexpr const char* kWindowTop = "Window Top";
inline constexpr const char* kWindowRight = "Window Right";
inline constexpr const char* kWindowBottom = "Window Bottom";

// "RLC Settings".
inline constexpr const char* kDefaultPlotType = "Default plot type";
inline constexpr const char* kAutomaticDefaultType = "Automatically use default type";
inline constexpr const char* kReferenceResistor = "RLC Ref Resistor Value";

// "ShowVmax".
inline constexpr const char* kInput15Vmax = "Input15Vmax";
inline constexpr const char* kOutput5Vmax = "Output5Vmax";

// "Workspace".
inline constexpr const char* kApplicationLook = "ApplicationLook";

}  // namespace settings_names
