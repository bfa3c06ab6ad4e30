#pragma once

// The window's own texts, each defined once.
namespace vekaton::texts {

inline constexpr const char* kRun = "Run";
inline constexpr const char* kPause = "Pause";
inline constexpr const char* kDefaultRequest = "$f4 $57 $01 $00 $b4";
inline constexpr const char* kResponseBytesHint =
    "This is the response back after a request is made\nbut before data. Note: It does not "
    "include \nany echoed request bytes.";
inline constexpr const char* kRequestHint =
    "What string is used to ask for data, in hex format\nExample: $f4 $57 $01 $00 $b4 ";
inline constexpr const char* kFormulaHint =
    "Algebraic formula for gauge data,\ndo NOT include any spaces.  Variable\nA refers to the "
    "byte data, B is the \nnext and so on. Special functions : \n[INTEGER] and [UINTEGER] "
    "combine the \nbytes using 2's compliment and also\nas unsigned integers. Place these first";
inline constexpr const char* kModeListenOnly = "Listen Only : Delay Syncing";
inline constexpr const char* kModeTalkListen = "Talk / Listen Mode";
inline constexpr const char* kModeAldl160 = "ALDL 160 Interface";
inline constexpr const char* kLabelListenOnly = "Listen Mode : Delay Sync";
inline constexpr const char* kLabelTalkListen = "Talk/Listen Mode";
inline constexpr const char* kLabelAldl160 = "ALDL 160 Interface Mode";
inline constexpr const char* kBadChecksum = "BAD CHECKSUM";
inline constexpr const char* kProcessedData = "Processed Data";
inline constexpr const char* kRawData = "Raw Data";
inline constexpr const char* kLoseAllChanges = "Lose All Changes ? ";
inline constexpr const char* kSaveChanges = "Save Changes ? ";
inline constexpr const char* kRecordToFile = "Record to File";
inline constexpr const char* kStopRecord = "STOP Record";
inline constexpr const char* kAutoNameFile = "Auto Name File ?";
inline constexpr const char* kFileCaption = "     File: ";
inline constexpr const char* kDataLogFilter = "ALDL Data Files (*.Dat *.dat);;All Files (*)";
inline constexpr const char* kPlayDataLog = "Play Data Log";
inline constexpr const char* kStopPlayback = "Stop Playback";
inline constexpr const char* kFlashUpdate = "PIC Flash Update";
inline constexpr const char* kAboutLicence =
    "<p><b>Licence.</b> Copyright the Vekaton developers. This program is provided as is, "
    "without warranty of any kind; use it at your own risk, and never let it distract you while "
    "driving. It is built with Qt 6, used under the GNU Lesser General Public License v3.</p>";
inline constexpr const char* kAboutManual =
    "<b>Manual.</b> Help &gt; Contents (F1) opens the user manual, installed as "
    "share/doc/vekaton/manual.md beside the program (docs/manual.md in the source "
    "distribution).";
inline constexpr const char* kLinkStopped = "Stopped";
inline constexpr const char* kLinkRunning = "Running";
inline constexpr const char* kLinkNoData = "No data";
inline constexpr const char* kLinkPlayback = "Playback";
inline constexpr const char* kLinkNoDataHint =
    "Acquisition runs, but no complete frame has arrived for a while. Check that the module "
    "is on (ignition), the adapter is plugged in, and the port, speed and frame layout in "
    "Setup are right.";
inline constexpr const char* kConfigFilter = "Vekaton Config Files (*.Cfg *.cfg);;All Files (*)";

}  // namespace vekaton::texts
