#pragma once

#include <QString>

namespace vekaton {

// The fewest decimals (0 to 6) that show every label of a scale from minimum to maximum in
// the given number of divisions exactly: 0 to 8000 in 8 needs none, 0 to 1 in 4 needs two.
int ScaleDecimals(double minimum, double maximum, int divisions);

// A number with fixed decimals; never "-0".
QString FormatNumber(double value, int decimals);

// A round step (1, 2 or 5 times a power of ten) that cuts span into about targetCount parts.
double NiceStep(double span, int targetCount);

// A number's position between minimum and maximum as 0 to 1 (0 when the range is empty).
double RangeFraction(double value, double minimum, double maximum);

}  // namespace vekaton
