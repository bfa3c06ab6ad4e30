#pragma once

// The texts of File > New Set, the first start and File > Import ADX Definition, each once.
namespace vekaton::newsettexts {

inline constexpr const char* kNewSetMenu = "New Set...";
inline constexpr const char* kImportAdxMenu = "Import ADX Definition...";

inline constexpr const char* kWelcomeTitle = "Welcome to Vekaton";
inline constexpr const char* kNewSetTitle = "New Configuration Set";
inline constexpr const char* kWelcomeIntro =
    "This folder holds no configuration set yet. Choose what to start from: a working dashboard "
    "is a minute away, without typing a formula.";
inline constexpr const char* kNewSetIntro = "Choose what the new configuration set starts from.";
inline constexpr const char* kDemo = "The &demo: a simulated engine module, no car needed";
inline constexpr const char* kLibrary = "My car's data &stream, from the library of GM streams";
inline constexpr const char* kSearchHint =
    "Search by stream ID, engine, year or ECM, such as A140, LT1, 1993 or 1227747";
inline constexpr const char* kAdx = "&Import an ADX definition file...";
inline constexpr const char* kEmpty =
    "An &empty set: I will enter the frame layout and the formulas myself";
inline constexpr const char* kNoMatch = "No stream of the library matches \"%1\".";

inline constexpr const char* kPortTitle = "Port and name";
inline constexpr const char* kFromDemo = "The demo set, on the simulated engine module.";
inline constexpr const char* kFromLibrary = "From the library: %1, %2.";
inline constexpr const char* kFromAdx = "Imported from %1.";
inline constexpr const char* kFromEmpty = "An empty set.";
inline constexpr const char* kPort = "Port";
inline constexpr const char* kRefresh = "Refresh";
inline constexpr const char* kDemoPort = "The demo runs on the simulated engine module.";
inline constexpr const char* kNoAdapter =
    "No USB adapter was found. Plug it in and press Refresh, or try the set on the simulated "
    "module.";
inline constexpr const char* kStartString = "Start string";
inline constexpr const char* kStartStringNote =
    "%1 is sent at 160 baud, in pulses a serial port cannot read: it needs an ALDL 160 "
    "interface, which turns them into packets. Enter the start string that begins each of your "
    "interface's packets (such as $FF $00), or leave it empty and enter it in Setup later.";
inline constexpr const char* kSetName = "Set name";
inline constexpr const char* kFolder = "Folder";
inline constexpr const char* kChangeFolder = "Change...";
inline constexpr const char* kBack = "< Back";
inline constexpr const char* kNext = "Next >";
inline constexpr const char* kStart = "Start";
inline constexpr const char* kCancel = "Cancel";

inline constexpr const char* kChooseDefinition = "Choose your car's data stream in the list.";
inline constexpr const char* kBadName = "\"%1\" cannot name a set: %2.";
inline constexpr const char* kSetExists =
    "A set named \"%1\" is already in this folder (%2); it is left as it is. Choose another "
    "name.";
inline constexpr const char* kBadStartString =
    "The start string gives more than %1 bytes, the most a request may hold.";
inline constexpr const char* kChooseAdxTitle = "Import ADX Definition";
inline constexpr const char* kAdxFilter = "ADX definitions (*.adx *.xml);;All files (*)";
inline constexpr const char* kNotAdx = "\"%1\" cannot be read as ADX: %2. Nothing was written.";
inline constexpr const char* kNotWritten = "The new set was not written: %1";

inline constexpr const char* kReportTitle = "ADX Import Report";
inline constexpr const char* kReportSummary =
    "The set \"%1\" was written in %2: %3 values and %4 bits, %5 objects skipped. The report is "
    "kept as %6 beside the set.";
inline constexpr const char* kCopy = "Copy";
inline constexpr const char* kEmptyNote = "Open Setup (Ctrl+E) to enter your module's frame layout";

}  // namespace vekaton::newsettexts
