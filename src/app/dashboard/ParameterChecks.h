#pragma once

#include <QString>

#include "dashboard/ParameterEdit.h"
#include "decode/FormulaFrontEnd.h"

namespace vekaton {

// What the parameter editor says about positions and edits, in the user's words.

// A row of the position list: "  4   Engine speed rpm"; a byte inside a multi-byte value
// says whose byte it is.
QString PositionListText(const ParameterTable& table, int position);
// Why an edit cannot be made ("" when it can).
QString EditProblemText(const EditCheck& check, int position);
// Tries the edit's formula on the position's current bytes: the builder's message when it
// cannot be built (returned), else what it gives (in result).
QString TryFormula(FormulaFrontEnd& formulas, const ParameterTable& table,
                   const ParameterEdit& edit, QString* result);

}  // namespace vekaton
