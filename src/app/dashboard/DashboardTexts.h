#pragma once

// The dashboard's own texts, each defined once.
namespace vekaton::dashtexts {

// The page menu AddStuff.
inline constexpr const char* kAdd = "Add";
inline constexpr const char* kAddLabel = "Label";
inline constexpr const char* kAddAnalogMeter = "Analog Meter";
inline constexpr const char* kAddThermometer = "Thermometer";
inline constexpr const char* kAddLedDisplay = "LED Display";
inline constexpr const char* kAddNumericalDisplay = "Numerical Display";
inline constexpr const char* kAddDigitalLed = "Digital LED";
inline constexpr const char* kAddResetButton = "Reset Min/Max Button";
inline constexpr const char* kPaste = "Paste";

// Item menus.
inline constexpr const char* kIdPrefix = "ID: ";
inline constexpr const char* kParameters = "Parameters...";
inline constexpr const char* kAppearance = "Appearance...";
inline constexpr const char* kMin = "Min";
inline constexpr const char* kMax = "Max";
inline constexpr const char* kResetMinMax = "Reset Min/Max";
inline constexpr const char* kCopy = "Copy";
inline constexpr const char* kRemoveGauge = "Remove Gauge";
inline constexpr const char* kDelete = "Delete";
inline constexpr const char* kRemoveButton = "Remove Button";
inline constexpr const char* kEditCaption = "Edit Caption...";
inline constexpr const char* kChooseItems = "Choose Items to Reset...";
inline constexpr const char* kPanelAppearance = "Panel Appearance...";
inline constexpr const char* kLedAppearance = "LED Appearance...";
inline constexpr const char* kDesignHint = "Move: Shift+drag    Resize: Ctrl+drag";

// The Edit menu and design mode.
inline constexpr const char* kEditMenu = "&Edit";
inline constexpr const char* kUndo = "Undo";
inline constexpr const char* kRedo = "Redo";
inline constexpr const char* kParametersMenu = "Parameters\u2026";
inline constexpr const char* kValueTable = "Value Table";
inline constexpr const char* kGridStep = "Grid Step...";
inline constexpr const char* kAlignToGrid = "Align Items to Grid";
inline constexpr const char* kRenamePage = "Rename Page...";
inline constexpr const char* kGridStepPrompt = "Grid step in pixels (1 to 100):";
inline constexpr const char* kRenamePagePrompt = "Page name:";
inline constexpr const char* kCaptionPrompt = "Caption:";

// Messages.
inline constexpr const char* kDashboardFull =
    "The dashboard already holds 500 items, the most it can keep. Remove an item first.";
inline constexpr const char* kTooManyResetButtons =
    "The dashboard already has 99 reset buttons, the most it can keep.";
inline constexpr const char* kPositionFull =
    "Position %1 already shows 14 items, the most one position can feed. Remove one of them "
    "first, or show another position.";
inline constexpr const char* kNothingToPaste = "Copy an item first (its menu has Copy).";

// The parameter editor.
inline constexpr const char* kEditorTitle = "Parameters";
inline constexpr const char* kEditorItem = "%1 (ID %2) shows the position chosen here.";
inline constexpr const char* kEditorPosition = "Position";
inline constexpr const char* kEditorDigital = "Digital: eight on/off flags";
inline constexpr const char* kEditorDescription = "Description";
inline constexpr const char* kEditorBytes = "Bytes";
inline constexpr const char* kEditorFormula = "Formula";
inline constexpr const char* kEditorLedBit = "This LED shows bit";
inline constexpr const char* kEditorBit = "Bit %1";
inline constexpr const char* kEditorNotDefined = "(not defined)";
inline constexpr const char* kEditorPartOf = "(byte %1 of position %2)";
inline constexpr const char* kEditorValue = "Gives %1 for the current bytes %2";
inline constexpr const char* kEditorRaw = "No formula: shows the raw byte, now %1";
inline constexpr const char* kEditorNoItemOnAnalog =
    "This LED needs a digital position: tick Digital and choose its bit.";
inline constexpr const char* kProblemComma =
    "A description cannot hold a comma: the parameter file separates its fields with commas.";
inline constexpr const char* kProblemNoDescription =
    "Give the position a description: a position without one is not kept in the parameter file.";
inline constexpr const char* kProblemBytes =
    "The value would run past position 500: position %1 can span at most %2 bytes.";
inline constexpr const char* kProblemPosition = "Positions run from 1 to 500.";
inline constexpr const char* kProblemBit = "Choose the bit (0 to 7) the LED shows.";
inline constexpr const char* kProblemFull =
    "Position %1 already shows 14 items, the most one position can feed, so an item would be "
    "left unbound. Remove an item shown there first.";
inline constexpr const char* kProblemFormula = "The formula cannot be used: %1";
inline constexpr const char* kEditorApplyTitle = "Apply changes?";
inline constexpr const char* kEditorApplyQuestion =
    "Position %1 has changes that are not applied yet. Apply them before closing?";

// The parameter editor's details.
inline constexpr const char* kDetailsGroup = "Details";
inline constexpr const char* kDetailsUnit = "Unit";
inline constexpr const char* kDetailsUnitHint = "\u00b0C, rpm, %, V, ...";
inline constexpr const char* kDetailsRange = "Display range";
inline constexpr const char* kDetailsTo = "to";
inline constexpr const char* kDetailsNone = "none";
inline constexpr const char* kDetailsProposal = "The formula gives %1 to %2 over its bytes.";
inline constexpr const char* kDetailsUseProposal = "Use";
inline constexpr const char* kDetailsWarnings = "Warning below / above";
inline constexpr const char* kDetailsDecimals = "Decimals";
inline constexpr const char* kDetailsDecimalsAuto = "from the formula";
inline constexpr const char* kDetailsAlarm = "Alarm: beyond a warning limit sounds the alarm";
inline constexpr const char* kDetailsValueNames = "Value names";
inline constexpr const char* kDetailsValueNamesHint = "0 = Park\n1 = Reverse";
inline constexpr const char* kBitWhenClear = "on when clear";
inline constexpr const char* kBitWhenClearTip =
    "The flag means something when the bit is 0 (\"CLEAR means A/C requested\"): its LED "
    "lights while the bit is clear.";
inline constexpr const char* kBitAlarm = "alarm";
inline constexpr const char* kBitAlarmTip = "An alarm sounds while the flag is on.";
inline constexpr const char* kProblemNumber =
    "%1: \"%2\" is not a number (a point separates decimals).";
inline constexpr const char* kProblemRangeHalf = "Give both ends of the display range, or neither.";
inline constexpr const char* kProblemRangeEmpty =
    "The end of the display range must be above its start.";
inline constexpr const char* kProblemWarnings = "The low warning limit must be below the high one.";
inline constexpr const char* kProblemValueNames =
    "Value names, line %1: write a whole number, \"=\" and a name, such as 0 = Park, each number "
    "once.";

// The value table.
inline constexpr const char* kValuesTitle = "Values";
inline constexpr const char* kColumnPosition = "Pos";
inline constexpr const char* kColumnDescription = "Description";
inline constexpr const char* kColumnRaw = "Raw";
inline constexpr const char* kColumnValue = "Value";
inline constexpr const char* kColumnMin = "Min";
inline constexpr const char* kColumnMax = "Max";
inline constexpr const char* kColumnUnit = "Unit";
inline constexpr const char* kOn = "On";
inline constexpr const char* kOff = "Off";
inline constexpr const char* kEditParameter = "Edit Parameter...";
inline constexpr const char* kShowOnPage = "Show on Page";
inline constexpr const char* kResetTableMinMax = "Reset Min/Max";
// No-break spaces inside each counter, so a narrow table wraps only between counters.
inline constexpr const char* kValuesSummary =
    "Frames\u00A0%1   Checksum\u00A0errors\u00A0%2   Sync\u00A0errors\u00A0%3   "
    "Unanswered\u00A0polls\u00A0%4";

// The reset-button dialog.
inline constexpr const char* kResetDialogTitle = "Reset Min/Max Button";
inline constexpr const char* kResetDialogItems = "Items this button resets:";
inline constexpr const char* kResetMinPreset = "Minimum goes back to";
inline constexpr const char* kResetMaxPreset = "Maximum goes back to";
inline constexpr const char* kResetCurrentValue = "the current value";

// Undo texts.
inline constexpr const char* kUndoAdd = "Add %1";
inline constexpr const char* kUndoRemove = "Remove %1";
inline constexpr const char* kUndoMove = "Move %1";
inline constexpr const char* kUndoResize = "Resize %1";
inline constexpr const char* kUndoAppearance = "Change %1";
inline constexpr const char* kUndoCaption = "Caption of %1";
inline constexpr const char* kUndoHold = "Hold mode of %1";
inline constexpr const char* kUndoResetList = "Items reset by %1";
inline constexpr const char* kUndoParameter = "Position %1";
inline constexpr const char* kUndoAlign = "Align to grid";
inline constexpr const char* kUndoRenamePage = "Rename page";
inline constexpr const char* kUndoPaste = "Paste %1";

}  // namespace vekaton::dashtexts
